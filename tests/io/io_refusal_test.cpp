// Bad input: each gives one message naming the file and the problem, and the target data set
// keeps what it held.
#include "IoTestFiles.h"
#include "io/CEpochImport.h"
#include "io/CSpectraImport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace io_test;

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Files shared by the rows: a good EDF+ recording and copies made bad in one way each.
class BadFiles {
public:
    BadFiles() {
        const Recording rec = standardRecording(Format::EdfPlus);
        good = write(rec, Format::EdfPlus, dir.path(), "good");
        Recording flat = rec;
        flat.channels[1].at = [](double) { return 4000.0; }; // saturated throughout
        saturated = write(flat, Format::EdfPlus, dir.path(), "flat");
        truncateCopy(good, dir.file("header.edf"), 200);
        std::filesystem::copy(good, dir.file("damaged.edf"));
        std::fstream(dir.file("damaged.edf"), std::ios::in | std::ios::out | std::ios::binary)
            .seekp(184)
            .write("XXXXXXXX", 8); // the header size
        truncateCopy(good, dir.file("data.edf"), std::filesystem::file_size(good) - 3000);
        std::ofstream notes(dir.file("notes.edf"));
        for (int i = 0; i < 100; ++i) {
            notes << "Recording notes, written by hand.\n";
        }
        std::ofstream(dir.file("text-tfr.h5")) << "not hdf5\n";
        mkfifo(dir.file("fifo.edf").c_str(), 0600);
        std::filesystem::create_symlink(dir.file("loop-b.edf"), dir.file("loop-a.edf"));
        std::filesystem::create_symlink(dir.file("loop-a.edf"), dir.file("loop-b.edf"));
        // Four signals: Fz, Cz, Pz and the annotations.
        const auto damage = [&](const char* name, std::streamoff at, const char* text, int width) {
            std::filesystem::copy(good, dir.file(name));
            setField(dir.file(name), at, text, width);
        };
        damage("no-signal.edf", 252, "0", 4);
        setField(dir.file("no-signal.edf"), 184, "256", 8);
        damage("records.edf", 236, "1e9", 8);
        damage("no-samples.edf", samplesField(4, 1), "0", 8);
        damage("unscaled.edf", physicalMaxField(4, 1), "-1000", 8);
        std::filesystem::copy(good, dir.file("open-annotations.edf"));
        fillAnnotations(dir.file("open-annotations.edf"), [](long long, long long) { return 'x'; });
        Recording late = rec;
        late.events = {{19.8, 1, "stim"}};
        lateEvent = write(late, Format::EdfPlus, dir.path(), "late");
        std::ofstream(dir.file("broken.txt")) << "Fz eeg 0 0.07\n";
        // BrainVision headers that BioSig misreads: a section or a key given twice.
        const std::string vhdr = readAll(
            write(standardRecording(Format::BrainVision), Format::BrainVision, dir.path(), "bv"));
        std::ofstream(dir.file("sections.vhdr")) << vhdr << "\n[Common Infos]\nDataFile=bv.eeg\n";
        std::string keys = vhdr;
        keys.insert(keys.find("[Common Infos]\n") + 15, "MarkerFile=bv.vmrk\n");
        std::ofstream(dir.file("keys.vhdr")) << keys;
        std::string moved = vhdr;
        moved.replace(moved.find("DataFile=bv.eeg"), 15, "DataFile=bv.  eeg");
        std::ofstream(dir.file("moved.vhdr")) << moved;
        const std::string npy = std::string(IO_FIXTURES) + "/npy_f8_c";
        for (const char* folder : {"shape", "cut"}) {
            std::filesystem::copy(npy, dir.file(folder));
        }
        std::ofstream(dir.file("shape/ch_names.txt")) << "Fz\nCz\nPz\nOz\n";
        truncateCopy(npy + "/power.npy", dir.file("cut/power.npy"), 300);
    }
    TempDir dir;
    std::string good, saturated, lateEvent;
};

BadFiles& files() {
    static BadFiles f;
    return f;
}

std::string fixture(const std::string& name) {
    return std::string(IO_FIXTURES) + "/" + name;
}

CEpochImport::Options epochs(const std::string& path) {
    CEpochImport::Options o;
    o.path = path;
    o.eventTexts = {"stim"};
    return o;
}

struct Row {
    const char* name;
    std::function<CIoResult(CArrayMEDataSetzq&)> run;
    std::function<std::string()> file; // what the message must name
    const char* says;                  // and the problem it must state
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

CIoResult runEpochs(CEpochImport::Options o, CArrayMEDataSetzq& data) {
    return CEpochImport(std::move(o)).build(data);
}

CIoResult runSpectra(const std::string& path, CArrayMEDataSetzq& data,
                     const std::string& condition = "") {
    CSpectraImport::Options o;
    o.path = path;
    o.condition = condition;
    return CSpectraImport(o).build(data);
}

class Refusals : public ::testing::TestWithParam<Row> {};

TEST_P(Refusals, NameTheFileAndLeaveTheTargetAsItWas) {
    CArrayMEDataSetzq data;
    data.addSession();
    data.addSession();
    const CMEGDatazq* first = data.getSessionData(0);
    const CIoResult r = GetParam().run(data);
    EXPECT_FALSE(r);
    EXPECT_NE(r.message.find(GetParam().file()), std::string::npos) << r.message;
    EXPECT_NE(r.message.find(GetParam().says), std::string::npos) << r.message;
    EXPECT_EQ(r.message.find('\n'), std::string::npos) << r.message;
    EXPECT_EQ(data.getSessionCount(), 2);
    EXPECT_EQ(data.getSessionData(0), first);
}

const auto good = [] { return files().good; };

INSTANTIATE_TEST_SUITE_P(
    Inputs, Refusals,
    ::testing::Values(
        Row{"MissingFile",
            [](auto& d) { return runEpochs(epochs(files().dir.file("none.edf")), d); },
            [] { return files().dir.file("none.edf"); }, "no such file"},
        Row{"Folder", [](auto& d) { return runEpochs(epochs(files().dir.path().string()), d); },
            [] { return files().dir.path().string(); }, "is a folder"},
        Row{"BrainVisionSectionTwice",
            [](auto& d) { return runEpochs(epochs(files().dir.file("sections.vhdr")), d); },
            [] { return files().dir.file("sections.vhdr"); },
            "BrainVision header is damaged: the section '[Common Infos]' comes twice"},
        Row{"BrainVisionKeyTwice",
            [](auto& d) { return runEpochs(epochs(files().dir.file("keys.vhdr")), d); },
            [] { return files().dir.file("keys.vhdr"); },
            "'MarkerFile' comes twice in [Common Infos]"},
        Row{"BioSigCrashesOnTheHeader",
            [](auto& d) { return runEpochs(epochs(fixture("biosig-crash.gdf")), d); },
            [] { return fixture("biosig-crash.gdf"); },
            "the file is damaged: BioSig crashes on reading its header"},
        Row{"BrainVisionDataFileMissing",
            [](auto& d) { return runEpochs(epochs(files().dir.file("moved.vhdr")), d); },
            [] { return files().dir.file("moved.vhdr"); }, "its data file 'bv.  eeg' is missing"},
        Row{"MneAxisBeyondAnyMemory",
            [](auto& d) { return runSpectra(fixture("huge-axis-tfr.h5"), d); },
            [] { return fixture("huge-axis-tfr.h5"); },
            "key_freqs holds more than 4294967296 values (the file may be damaged)"},
        // HDF5 would copy a unit stored in the header with no bytes through a null pointer.
        Row{"MneNumberWithoutBytes",
            [](auto& d) { return runSpectra(fixture("compact-without-bytes-tfr.h5"), d); },
            [] { return fixture("compact-without-bytes-tfr.h5"); },
            "channel 1 of key_info/key_chs has no name"},
        // ... and convert a number whose bits the type places beyond its bytes.
        Row{"MneNumberBitsBeyondItsBytes",
            [](auto& d) { return runSpectra(fixture("bits-beyond-bytes-tfr.h5"), d); },
            [] { return fixture("bits-beyond-bytes-tfr.h5"); },
            "the frequencies must be finite, above 0 Hz and increasing"},
        Row{"TruncatedHeader",
            [](auto& d) { return runEpochs(epochs(files().dir.file("header.edf")), d); },
            [] { return files().dir.file("header.edf"); }, "too short"},
        Row{"DamagedHeader",
            [](auto& d) { return runEpochs(epochs(files().dir.file("damaged.edf")), d); },
            [] { return files().dir.file("damaged.edf"); },
            "the EDF header is damaged: its size 'XXXXXXXX' and signal count '4' disagree"},
        Row{"TruncatedData",
            [](auto& d) { return runEpochs(epochs(files().dir.file("data.edf")), d); },
            [] { return files().dir.file("data.edf"); }, "truncated: it holds 18 of its 20"},
        Row{"NotARecording",
            [](auto& d) { return runEpochs(epochs(files().dir.file("notes.edf")), d); },
            [] { return files().dir.file("notes.edf"); }, "not a recording format BioSig reads"},
        Row{"Fifo", [](auto& d) { return runEpochs(epochs(files().dir.file("fifo.edf")), d); },
            [] { return files().dir.file("fifo.edf"); }, "is a pipe (FIFO), not a recording file"},
        Row{"LinkLoop",
            [](auto& d) { return runEpochs(epochs(files().dir.file("loop-a.edf")), d); },
            [] { return files().dir.file("loop-a.edf"); }, "a loop of symbolic links"},
        Row{"NoSignal",
            [](auto& d) { return runEpochs(epochs(files().dir.file("no-signal.edf")), d); },
            [] { return files().dir.file("no-signal.edf"); },
            "the EDF header is damaged: it declares no signal (its signal count is 0)"},
        Row{"RecordCountNotANumber",
            [](auto& d) { return runEpochs(epochs(files().dir.file("records.edf")), d); },
            [] { return files().dir.file("records.edf"); },
            "the EDF header is damaged: its data record count '1e9' is not a whole number"},
        Row{"SignalWithoutSamples",
            [](auto& d) { return runEpochs(epochs(files().dir.file("no-samples.edf")), d); },
            [] { return files().dir.file("no-samples.edf"); },
            "signal 'Cz' has '0' samples a data record"},
        Row{"EmptyPhysicalRange",
            [](auto& d) { return runEpochs(epochs(files().dir.file("unscaled.edf")), d); },
            [] { return files().dir.file("unscaled.edf"); },
            "channel 'Cz' has an empty physical range: its minimum and maximum are both -1000"},
        Row{"UnclosedAnnotations",
            [](auto& d) { return runEpochs(epochs(files().dir.file("open-annotations.edf")), d); },
            [] { return files().dir.file("open-annotations.edf"); },
            "the EDF+ annotations are damaged: those of the last data record do not end in a "
            "zero byte"},
        Row{"OnlyEpochPastTheEnd", [](auto& d) { return runEpochs(epochs(files().lateEvent), d); },
            [] { return files().lateEvent; },
            "the one epoch from -500 to 1000 ms runs past the ends of the recording"},
        Row{"EventNeverOccurs",
            [](auto& d) {
                auto o = epochs(files().good);
                o.eventTexts = {"stimulus"};
                o.eventCodes = {9};
                return runEpochs(o, d);
            },
            good, "no event has code 9 or text 'stimulus' (the file's events: 'stim'"},
        Row{"WindowOutsideSpan",
            [](auto& d) {
                auto o = epochs(files().good);
                o.activeEndMs = o.epochEndMs + 1.0;
                return runEpochs(o, d);
            },
            good, "Active window 0 to 1001 ms lies outside the epoch span -500 to 1000 ms"},
        Row{"LayoutMatchesNoChannel",
            [](auto& d) {
                auto o = epochs(files().good);
                o.montage.layouts = {"ctf274"};
                return runEpochs(o, d);
            },
            good, "no channel matches the layout 'ctf274' (the channels are 'Fz', 'Cz', 'Pz')"},
        Row{"UnreadableLayout",
            [](auto& d) {
                auto o = epochs(files().good);
                o.montage.layouts = {files().dir.file("broken.txt")};
                return runEpochs(o, d);
            },
            [] { return files().dir.file("broken.txt"); }, "broken.txt': line 1: 'eeg' is not"},
        Row{"SaturatedChannel", [](auto& d) { return runEpochs(epochs(files().saturated), d); },
            [] { return files().saturated; }, "channel 'Cz' holds no finite sample in any epoch"},
        Row{"NpyShapeDisagrees", [](auto& d) { return runSpectra(files().dir.file("shape"), d); },
            [] { return files().dir.file("shape/power.npy"); },
            "shape (3, 4, 5) disagrees with ch_names.txt, freqs.npy and times.npy, which give "
            "(4, 4, 5)"},
        Row{"NpyTruncated", [](auto& d) { return runSpectra(files().dir.file("cut"), d); },
            [] { return files().dir.file("cut/power.npy"); }, "(truncated)"},
        Row{"NpyWrongDtype", [](auto& d) { return runSpectra(fixture("npy_int32"), d); },
            [] { return fixture("npy_int32/power.npy"); }, "element type '<i4' is not read"},
        Row{"NpyNaNChannel", [](auto& d) { return runSpectra(fixture("npy_nan_channel"), d); },
            [] { return fixture("npy_nan_channel"); }, "channel 'Cz' holds no finite value"},
        Row{"NpyUnevenTimes", [](auto& d) { return runSpectra(fixture("npy_uneven_times"), d); },
            [] { return fixture("npy_uneven_times"); }, "evenly spaced (time 3 is 0.5 s)"},
        Row{"MneUnknownCondition",
            [](auto& d) { return runSpectra(fixture("power-tfr.h5"), d, "dogs"); },
            [] { return fixture("power-tfr.h5"); },
            "no condition 'dogs' (the file holds 'faces', 'cars')"},
        Row{"MneSingleEpochs", [](auto& d) { return runSpectra(fixture("epochs-tfr.h5"), d); },
            [] { return fixture("epochs-tfr.h5"); }, "single epochs"},
        Row{"MneNotHdf5", [](auto& d) { return runSpectra(files().dir.file("text-tfr.h5"), d); },
            [] { return files().dir.file("text-tfr.h5"); }, "not an HDF5 file"}),
    [](const auto& info) { return std::string(info.param.name); });

// Where a text is written to the terminal it must not act on it: no control characters, no
// bytes that are not UTF-8.
bool terminalSafe(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = c < 0x80                 ? 1
                              : c >= 0xC2 && c <= 0xDF ? 2
                              : c >= 0xE0 && c <= 0xEF ? 3
                              : c >= 0xF0 && c <= 0xF4 ? 4
                                                       : 0;
        if (n == 0 || c < 0x20 || c == 0x7F || i + n > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += n;
    }
    return true;
}

// BioSig prints a warning for each data record whose annotations it cannot read; the caller
// gets them as part of the one message, the terminal sees none.
TEST(RecordingMessages, BioSigWarningsBecomePartOfTheMessage) {
    TempDir dir;
    const std::string path =
        write(standardRecording(Format::BdfPlus), Format::BdfPlus, dir.path(), "blank");
    fillAnnotations(path, [](long long, long long) { return 0; });
    CArrayMEDataSetzq data;
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const CIoResult r = runEpochs(epochs(path), data);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(out, "");
    EXPECT_NE(r.message.find("no event has text 'stim' (the file's events: none; BioSig warned "
                             "'Warning EDF+ events: tstr not defined' (20 times))"),
              std::string::npos)
        << r.message;
}

TEST(RecordingMessages, TextFromTheFileIsEscapedAndCut) {
    TempDir dir;
    const std::string path =
        write(standardRecording(Format::EdfPlus), Format::EdfPlus, dir.path(), "noise");
    std::uint32_t state = 12345;
    fillAnnotations(path, [&](long long at, long long size) {
        state = state * 1664525u + 1013904223u;
        // Each record's first annotation keeps its time stamp, "+<seconds>\x14\x14\0", and
        // the record's annotations end in a zero byte.
        return at < 6 ? std::string("+0\x14\x14\0\0")[at] : at == size - 1 ? 0 : state >> 24;
    });
    CArrayMEDataSetzq data;
    const CIoResult r = runEpochs(epochs(path), data);
    ASSERT_FALSE(r);
    EXPECT_NE(r.message.find("no event has text 'stim' (the file's events: '"), std::string::npos)
        << r.message;
    EXPECT_TRUE(terminalSafe(r.message)) << r.message;
    EXPECT_LT(r.message.size(), 500u) << r.message;

    // Well-formed UTF-8, up to the last code point, stays as it is.
    Recording rec = standardRecording(Format::EdfPlus);
    rec.events = {{1.0, 1, "r\xC3\xA9sum\xC3\xA9 \xED\x9F\xBF \xF4\x8F\xBF\xBF!"}};
    const CIoResult named = runEpochs(epochs(write(rec, Format::EdfPlus, dir.path(), "u")), data);
    EXPECT_NE(named.message.find("'r\xC3\xA9sum\xC3\xA9 \xED\x9F\xBF \xF4\x8F\xBF\xBF!' (code 1"),
              std::string::npos)
        << named.message;
}

TEST(RecordingMessages, AFileItMayNotReadIsSaidSo) {
    TempDir dir;
    const std::string path =
        write(standardRecording(Format::EdfPlus), Format::EdfPlus, dir.path(), "secret");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    // Root reads every file: the files are then checked as nobody (file access only).
    const bool root = geteuid() == 0;
    if (root && (setfsuid(65534), setfsuid(static_cast<uid_t>(-1))) != 65534) {
        setfsuid(0);
        GTEST_SKIP() << "root cannot act as nobody here";
    }
    CArrayMEDataSetzq data;
    const CIoResult r = runEpochs(epochs(path), data);
    if (root) {
        setfsuid(0);
    }
    EXPECT_EQ(r.message, "'" + path + "': permission denied");
}

// A channel whose samples cannot be scaled is left out and named when unplaced channels are.
TEST(RecordingMessages, AChannelWithoutAPhysicalRangeIsLeftOutOrRefused) {
    auto o = epochs(files().dir.file("unscaled.edf"));
    o.montage.dropUnplaced = true;
    CEpochImport import(o);
    CArrayMEDataSetzq data;
    ASSERT_TRUE(import.build(data)) << import.build(data).message;
    EXPECT_EQ(import.report().channels, (std::vector<std::string>{"Fz", "Pz"}));
    EXPECT_EQ(import.report().unreadableChannels, std::vector<std::string>{"Cz"});
    o.channels = {"Cz"}; // asked for by name: refused
    const CIoResult r = CEpochImport(o).build(data);
    EXPECT_NE(r.message.find("channel 'Cz' has an empty physical range"), std::string::npos)
        << r.message;
}

} // namespace
