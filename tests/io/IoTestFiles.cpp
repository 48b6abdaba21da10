// Writers of the io tests' recordings.
#include "IoTestFiles.h"

#include <algorithm>
#include <biosig.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <edflib.h>
#include <fstream>
#include <physicalunits.h>
#include <stdexcept>

namespace io_test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-io-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string formatName(Format format) {
    switch (format) {
    case Format::EdfPlus:
        return "EdfPlus";
    case Format::BdfPlus:
        return "BdfPlus";
    case Format::Gdf:
        return "Gdf";
    case Format::BrainVision:
        return "BrainVision";
    }
    return "Unknown";
}

void PrintTo(Format format, std::ostream* os) {
    *os << formatName(format);
}

namespace {

void check(bool ok, const std::string& what) {
    if (!ok) {
        throw std::runtime_error("writing the test recording failed: " + what);
    }
}

std::string writeEdf(const Recording& rec, bool bdf, const std::string& path) {
    const int n = static_cast<int>(rec.channels.size());
    const int h = edfopen_file_writeonly(
        path.c_str(), bdf ? EDFLIB_FILETYPE_BDFPLUS : EDFLIB_FILETYPE_EDFPLUS, n);
    check(h >= 0, "edfopen_file_writeonly");
    const int digital = bdf ? 8388607 : 32767;
    for (int s = 0; s < n; ++s) {
        check(edf_set_samplefrequency(h, s, rec.rateHz) == 0 &&
                  edf_set_physical_maximum(h, s, rec.range) == 0 &&
                  edf_set_physical_minimum(h, s, -rec.range) == 0 &&
                  edf_set_digital_maximum(h, s, digital) == 0 &&
                  edf_set_digital_minimum(h, s, -digital - 1) == 0 &&
                  edf_set_label(h, s, rec.channels[s].label.c_str()) == 0 &&
                  edf_set_physical_dimension(h, s, rec.channels[s].unit.c_str()) == 0,
              "signal header");
    }
    std::vector<double> buf(static_cast<std::size_t>(rec.rateHz));
    for (int sec = 0; sec < rec.seconds; ++sec) {
        for (int s = 0; s < n; ++s) {
            for (int i = 0; i < rec.rateHz; ++i) {
                buf[i] = rec.channels[s].at(sec + static_cast<double>(i) / rec.rateHz);
            }
            check(edfwrite_physical_samples(h, buf.data()) == 0, "samples");
        }
    }
    for (const Marker& m : rec.events) {
        // EDFlib counts onsets in units of 100 microseconds.
        check(edfwrite_annotation_utf8(h, std::llround(m.onsetSec * 10000.0), -1, m.text.c_str()) ==
                  0,
              "annotation");
    }
    check(edfclose_file(h) == 0, "close");
    return path;
}

std::string writeGdf(const Recording& rec, const std::string& path) {
    const int ns = static_cast<int>(rec.channels.size());
    const int spr = rec.rateHz;
    HDRTYPE* hdr = constructHDR(ns, static_cast<unsigned>(rec.events.size()));
    hdr->TYPE = GDF;
    hdr->VERSION = 3.0;
    hdr->SampleRate = rec.rateHz;
    hdr->SPR = spr;
    hdr->NRec = rec.seconds;
    for (int k = 0; k < ns; ++k) {
        CHANNEL_TYPE* c = hdr->CHANNEL + k;
        std::strncpy(c->Label, rec.channels[k].label.c_str(), MAX_LENGTH_LABEL);
        c->OnOff = 1;
        c->SPR = spr;
        c->GDFTYP = 17; // float64
        c->PhysDimCode = PhysDimCode(rec.channels[k].unit.c_str());
        c->PhysMin = c->DigMin = -rec.range;
        c->PhysMax = c->DigMax = rec.range;
        c->Cal = 1.0;
        c->Off = 0.0;
    }
    hdr->EVENT.SampleRate = rec.rateHz;
    for (std::size_t e = 0; e < rec.events.size(); ++e) {
        hdr->EVENT.TYP[e] = static_cast<uint16_t>(rec.events[e].code);
        hdr->EVENT.POS[e] =
            static_cast<uint32_t>(std::llround(rec.events[e].onsetSec * rec.rateHz));
        hdr->EVENT.DUR[e] = 0;
        hdr->EVENT.CHN[e] = 0;
    }
    hdr = sopen(path.c_str(), "w", hdr);
    check(!biosig_check_error(hdr), "GDF header");
    const std::size_t rows = static_cast<std::size_t>(spr) * rec.seconds;
    std::vector<double> data(rows * ns);
    for (int k = 0; k < ns; ++k) {
        for (std::size_t i = 0; i < rows; ++i) {
            data[k * rows + i] = rec.channels[k].at(static_cast<double>(i) / rec.rateHz);
        }
    }
    check(swrite(data.data(), static_cast<size_t>(rec.seconds), hdr) ==
              static_cast<size_t>(rec.seconds),
          "GDF samples");
    sclose(hdr);
    destructHDR(hdr);
    return path;
}

std::string writeBrainVision(const Recording& rec, const std::filesystem::path& dir,
                             const std::string& stem) {
    const std::size_t ns = rec.channels.size();
    std::ofstream header(dir / (stem + ".vhdr"));
    header << "Brain Vision Data Exchange Header File Version 1.0\n\n[Common Infos]\n"
           << "Codepage=UTF-8\nDataFile=" << stem << ".eeg\nMarkerFile=" << stem << ".vmrk\n"
           << "DataFormat=BINARY\nDataOrientation=MULTIPLEXED\nNumberOfChannels=" << ns
           << "\nSamplingInterval=" << 1e6 / rec.rateHz << "\n\n[Binary Infos]\n"
           << "BinaryFormat=IEEE_FLOAT_32\n\n[Channel Infos]\n";
    for (std::size_t k = 0; k < ns; ++k) {
        const std::string& u = rec.channels[k].unit;
        header << "Ch" << k + 1 << "=" << rec.channels[k].label << ",,1,"
               << (u == "uV" ? "\xC2\xB5V" : u) << "\n";
    }
    std::ofstream markers(dir / (stem + ".vmrk"));
    markers << "Brain Vision Data Exchange Marker File, Version 1.0\n\n[Common Infos]\n"
            << "Codepage=UTF-8\nDataFile=" << stem << ".eeg\n\n[Marker Infos]\n"
            << "Mk1=New Segment,,1,1,0,20240101120000000000\n";
    for (std::size_t e = 0; e < rec.events.size(); ++e) {
        // Marker positions count samples from 1.
        markers << "Mk" << e + 2 << "=Stimulus," << rec.events[e].text << ","
                << std::llround(rec.events[e].onsetSec * rec.rateHz) + 1 << ",1,0\n";
    }
    std::ofstream data(dir / (stem + ".eeg"), std::ios::binary);
    const long long n = static_cast<long long>(rec.rateHz) * rec.seconds;
    for (long long i = 0; i < n; ++i) {
        for (std::size_t k = 0; k < ns; ++k) {
            const auto v =
                static_cast<float>(rec.channels[k].at(static_cast<double>(i) / rec.rateHz));
            data.write(reinterpret_cast<const char*>(&v), sizeof v);
        }
    }
    check(header.good() && markers.good() && data.good(), "BrainVision files");
    return (dir / (stem + ".vhdr")).string();
}

} // namespace

std::string write(const Recording& rec, Format format, const std::filesystem::path& dir,
                  const std::string& stem) {
    switch (format) {
    case Format::EdfPlus:
        return writeEdf(rec, false, (dir / (stem + ".edf")).string());
    case Format::BdfPlus:
        return writeEdf(rec, true, (dir / (stem + ".bdf")).string());
    case Format::Gdf:
        return writeGdf(rec, (dir / (stem + ".gdf")).string());
    case Format::BrainVision:
        return writeBrainVision(rec, dir, stem);
    }
    return {};
}

double fz(double t) {
    return 20.0 * std::sin(2.0 * M_PI * 10.0 * t);
}

double cz(double t) {
    return 5.0 * std::sin(2.0 * M_PI * 10.0 * t) + 30.0 * std::sin(2.0 * M_PI * 23.0 * t);
}

double pz(double t) {
    return 10.0 * t;
}

std::string stimText(Format format) {
    return format == Format::BrainVision ? "S  1" : "stim";
}

Recording standardRecording(Format format) {
    Recording r;
    r.rateHz = kRate;
    r.channels = {{"Fz", "uV", fz}, {"Cz", "uV", cz}, {"Pz", "uV", pz}};
    for (double t : kStimSec) {
        r.events.push_back({t, 1, stimText(format)});
    }
    r.events.push_back({5.0, 2, format == Format::BrainVision ? "R  2" : "resp"});
    std::sort(r.events.begin(), r.events.end(),
              [](const Marker& a, const Marker& b) { return a.onsetSec < b.onsetSec; });
    return r;
}

void truncateCopy(const std::string& from, const std::string& to, std::uintmax_t bytes) {
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::resize_file(to, bytes);
}

std::streamoff labelField(int, int i) {
    return 256 + 16 * i;
}

std::streamoff physicalMaxField(int ns, int i) {
    return 256 + (16 + 80 + 8 + 8) * ns + 8 * i;
}

std::streamoff samplesField(int ns, int i) {
    return 256 + 216 * ns + 8 * i;
}

void setField(const std::string& path, std::streamoff offset, const std::string& text,
              std::size_t width) {
    std::string field = text;
    field.resize(width, ' ');
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(offset).write(field.data(), static_cast<std::streamsize>(width));
    check(f.good(), "patching " + path);
}

void fillAnnotations(const std::string& path,
                     const std::function<unsigned char(long long, long long)>& byte) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    std::string header(256, '\0');
    f.read(header.data(), 256);
    const int ns = std::stoi(header.substr(252, 4));
    const long long records = std::stoll(header.substr(236, 8));
    const int bytesPerSample = header[0] == '0' ? 2 : 3;
    std::vector<long long> samples;
    for (int i = 0; i < ns; ++i) {
        std::string field(8, ' ');
        f.seekg(samplesField(ns, i)).read(field.data(), 8);
        samples.push_back(std::stoll(field) * bytesPerSample);
    }
    long long recordBytes = 0;
    for (long long b : samples) {
        recordBytes += b;
    }
    const long long annotations = samples.back();
    for (long long r = 0; r < records; ++r) {
        std::string bytes(static_cast<std::size_t>(annotations), '\0');
        for (long long at = 0; at < annotations; ++at) {
            bytes[static_cast<std::size_t>(at)] = static_cast<char>(byte(at, annotations));
        }
        f.seekp(256 * (ns + 1) + r * recordBytes + recordBytes - annotations)
            .write(bytes.data(), static_cast<std::streamsize>(annotations));
    }
    check(f.good(), "annotations of " + path);
}

} // namespace io_test

void PrintTo(CIoProgress::Stage stage, std::ostream* os) {
    *os << (stage == CIoProgress::Stage::Reading ? "Reading" : "Channels");
}
