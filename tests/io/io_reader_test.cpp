// BioSig and HDF5 run in a reader process: when it dies, or cannot be started, the file is
// refused with the reason and this program goes on.
#include "IoTestFiles.h"
#include "io/CRecordingFile.h"
#include "io/CSpectraImport.h"
#include "recording/CArrayMEDataSetzq.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace io_test;

namespace {

// The reader the library starts while the object lives.
class ReaderOverride {
public:
    explicit ReaderOverride(const std::string& program) {
        ::setenv("VELMORA_READER", program.c_str(), 1);
    }
    ~ReaderOverride() { ::unsetenv("VELMORA_READER"); }
    ReaderOverride(const ReaderOverride&) = delete;
    ReaderOverride& operator=(const ReaderOverride&) = delete;
};

} // namespace

TEST(ReaderProcess, ACrashOrAMissingReaderIsToldAndTheProgramGoesOn) {
    TempDir dir;
    const std::string path =
        write(standardRecording(Format::EdfPlus), Format::EdfPlus, dir.path(), "rec");
    const int channels[2] = {2, 0};
    std::vector<double> out{1.0};
    {
        const ReaderOverride crashing(CRASHING_READER);
        CRecordingFile file;
        ASSERT_TRUE(file.open(path)) << file.open(path).message;
        EXPECT_EQ(file.channels().size(), 3u);
        EXPECT_EQ(file.readSamples(channels, kRate, 10, out).message,
                  "'" + path +
                      "': the file is damaged: BioSig crashes on reading samples 256 to 265");
        EXPECT_EQ(out, std::vector<double>{1.0});
        EXPECT_FALSE(file.isOpen());
        EXPECT_EQ(file.readSamples(channels, 0, 1, out).message, "no recording is open");
    }
    {
        const std::string absent = dir.file("no-reader");
        const ReaderOverride missing(absent);
        CRecordingFile file;
        EXPECT_EQ(file.open(path).message, "'" + path + "': cannot start the file reader '" +
                                               absent + "': no such file or directory");
        EXPECT_FALSE(file.isOpen());
    }
    CRecordingFile file;
    ASSERT_TRUE(file.open(path));
    ASSERT_TRUE(file.readSamples(channels, kRate, 10, out));
    EXPECT_NEAR(out[9], pz(265.0 / kRate), 0.05); // EDF steps of 0.03 uV
}

TEST(ReaderProcess, HdfFilesTheReaderDiesOnAreRefusedAsDamaged) {
    const std::string path = std::string(IO_FIXTURES) + "/power-tfr.h5";
    CSpectraImport::Options o;
    o.path = path;
    CArrayMEDataSetzq data;
    {
        const ReaderOverride crashing(CRASHING_READER);
        EXPECT_EQ(CSpectraImport(o).build(data).message,
                  "'" + path + "': the file is damaged: HDF5 crashes on reading it");
        EXPECT_EQ(data.getSessionCount(), 0);
    }
    const CIoResult read = CSpectraImport(o).build(data);
    ASSERT_TRUE(read) << read.message;
    EXPECT_EQ(data.getSessionCount(), 1);
}
