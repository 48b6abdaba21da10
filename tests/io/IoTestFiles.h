// Recording files for the io tests, written by writers independent of the reader: EDFlib for
// EDF+ and BDF+, BioSig's own GDF writer, and a BrainVision writer here.
#pragma once

#include "io/CIoProgress.h"

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace io_test {

// A fresh folder removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

struct Signal {
    std::string label;
    std::string unit;                 // "uV", "fT", ...
    std::function<double(double)> at; // value at time t (s)
};

struct Marker {
    double onsetSec;
    int code;         // GDF event type
    std::string text; // EDF+/BDF+ annotation, BrainVision marker description
};

struct Recording {
    int rateHz = 256;
    int seconds = 20;
    std::vector<Signal> channels;
    std::vector<Marker> events;
    double range = 1000.0; // physical range +-range; beyond it a sample saturates
};

enum class Format { EdfPlus, BdfPlus, Gdf, BrainVision };
std::string formatName(Format format);
// How GoogleTest shows a format in its messages.
void PrintTo(Format format, std::ostream* os);

// Write the recording as `stem` in `dir`; returns the path to open (the .vhdr of BrainVision).
std::string write(const Recording& rec, Format format, const std::filesystem::path& dir,
                  const std::string& stem);

// The recording most tests read: 20 s at 256 Hz; Fz 20 uV at 10 Hz, Cz 5 uV at 10 Hz plus
// 30 uV at 23 Hz, Pz a ramp of 10 uV/s (its value tells the time of a sample). Stimulus
// events ("stim", code 1; BrainVision "S  1") at 0.2, 3.0, 7.4, 11.85 and 19.8 s, one
// response ("resp", code 2; "R  2") at 5.0 s.
Recording standardRecording(Format format);
constexpr int kRate = 256;
constexpr double kStimSec[] = {0.2, 3.0, 7.4, 11.85, 19.8};
double fz(double t);
double cz(double t);
double pz(double t);
// The stimulus text of the format ("stim" or "S  1").
std::string stimText(Format format);

// Copy of the first `bytes` bytes of a file.
void truncateCopy(const std::string& from, const std::string& to, std::uintmax_t bytes);

// Offsets of the fields of signal i of an EDF/BDF header with ns signals.
std::streamoff labelField(int ns, int i);
std::streamoff physicalMaxField(int ns, int i);
std::streamoff samplesField(int ns, int i);
// Overwrite a header field at `offset` with `text`, padded with blanks to `width` bytes.
void setField(const std::string& path, std::streamoff offset, const std::string& text,
              std::size_t width);
// Fill the annotation signal (the last one) of every data record of an EDF+ or BDF+ file with
// byte(at, size): at counts the bytes of a record's annotations, size of them.
void fillAnnotations(const std::string& path,
                     const std::function<unsigned char(long long, long long)>& byte);

} // namespace io_test

// How GoogleTest shows a progress stage in its messages.
void PrintTo(CIoProgress::Stage stage, std::ostream* os);
