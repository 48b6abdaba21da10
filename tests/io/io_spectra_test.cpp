// Precomputed spectra from NumPy folders and MNE time-frequency files, written by NumPy and
// h5py (tests/io/fixtures/make_fixtures.py): power[c, f, t] = 100 (c + 1) + 10 f + t.
#include "IoTestFiles.h"
#include "io/CSpectraImport.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <hdf5.h>

using namespace io_test;

namespace {

struct SpectraCase {
    const char* name;
    const char* file;
    const char* condition;
    bool complex;
    double scale; // of the fixture's power
};

void PrintTo(const SpectraCase& c, std::ostream* os) {
    *os << c.name;
}

std::string fixture(const std::string& name) {
    return std::string(IO_FIXTURES) + "/" + name;
}

double power(int c, int f, int t) {
    return 100.0 * (c + 1) + 10.0 * f + t;
}

class SpectraSources : public ::testing::TestWithParam<SpectraCase> {};

TEST_P(SpectraSources, LandInTheirClassWithAxesAndComponents) {
    const SpectraCase& c = GetParam();
    CSpectraImport::Options o;
    o.path = fixture(c.file);
    o.condition = c.condition;
    o.spectralClass = 1;
    CSpectraImport import(o);
    CArrayMEDataSetzq data;
    const CIoResult r = import.build(data);
    ASSERT_TRUE(r) << r.message;
    EXPECT_EQ(import.report().complex, c.complex);
    EXPECT_EQ(import.report().channels, (std::vector<std::string>{"Fz", "Cz", "Pz"}));

    CMDTrialzq& trial = *data.getSessionData(0)->getTrialzq(0);
    const CSpctmTrialzq* st = trial.getSpctmTrial(false, 1);
    ASSERT_NE(st, nullptr);
    EXPECT_EQ(st->getTrialSpctmTimePt(), 5);
    EXPECT_EQ(st->getFreqsHz(), (std::vector<double>{4.0, 8.0, 12.0, 20.0}));
    EXPECT_NEAR(st->getLatencyMs(0), -200.0, 1e-9);
    EXPECT_NEAR(st->getTimeStepMs(), 200.0, 1e-9);
    EXPECT_EQ(trial.getChannel(0)->getSpctmChnl(false, 0), nullptr); // only class 1 filled

    for (int ch = 0; ch < 3; ++ch) {
        long long nT = 0, nF = 0;
        const CSpctmChnlzq* s = trial.getChannel(ch)->getSpctmChnl(false, 1);
        const double* re = s->getSpctmDataPtr(0, &nT, &nF);
        const double* im = s->getSpctmDataPtr(1, nullptr, nullptr);
        const double* pw = s->getSpctmDataPtr(2, nullptr, nullptr);
        for (int t = 0; t < nT; ++t) {
            for (int f = 0; f < nF; ++f) {
                const double p = c.scale * power(ch, f, t);
                const std::size_t at = static_cast<std::size_t>(t * nF + f);
                if (c.complex) {
                    EXPECT_NEAR(re[at], p, 1e-3 * p);
                    EXPECT_NEAR(im[at], -0.5 * p, 1e-3 * p);
                    EXPECT_NEAR(pw[at], 1.25 * p * p, 1e-3 * p * p);
                } else {
                    EXPECT_TRUE(std::isnan(re[at]) && std::isnan(im[at]));
                    EXPECT_NEAR(pw[at], p, 1e-4 * p);
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, SpectraSources,
    ::testing::Values(SpectraCase{"NpyFloat64C", "npy_f8_c", "", false, 1.0},
                      SpectraCase{"NpyFloat32Fortran", "npy_f4_fortran", "", false, 1.0},
                      SpectraCase{"NpyComplex128", "npy_c16", "", true, 1.0},
                      SpectraCase{"NpyComplex64Fortran", "npy_c8_fortran", "", true, 1.0},
                      SpectraCase{"MneFirstCondition", "power-tfr.h5", "", false, 1.0},
                      SpectraCase{"MneNamedCondition", "power-tfr.h5", "cars", false, 2.0},
                      SpectraCase{"MneComplex", "complex-tfr.h5", "0", true, 1.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpectraImport, NamesConditionsPlacesChannelsAndReportsProgress) {
    TempDir dir;
    std::ofstream(dir.file("two.txt")) << "fz eeg 0 0.07 0.07\nCZ eeg 0 0 0.1\n";
    CSpectraImport::Options o;
    o.path = fixture("power-tfr.h5");
    o.montage.layouts = {dir.file("two.txt")};
    o.montage.dropUnplaced = true;
    long long channelsDone = 0;
    o.progress = [&](CIoProgress::Stage stage, long long done, long long) {
        channelsDone = stage == CIoProgress::Stage::Channels ? done : channelsDone;
        return true;
    };
    CSpectraImport import(o);
    CArrayMEDataSetzq data;
    ASSERT_TRUE(import.build(data)) << import.build(data).message;
    EXPECT_EQ(import.report().conditions, (std::vector<std::string>{"faces", "cars"}));
    EXPECT_EQ(import.report().droppedChannels, std::vector<std::string>{"Pz"});
    EXPECT_EQ(channelsDone, 2);
    CMDTrialzq& trial = *data.getSessionData(0)->getTrialzq(0);
    ASSERT_EQ(trial.getTotalChannel(), 2);
    // Group records exist: the mean of Fz and Cz's Active power at t = 0, f = 0.
    CSumChnlSpctmDatazq* group = trial.getSpctmTrial(false, 0)->getSumChnlSpctmData(2);
    ASSERT_EQ(group->nTime, 5);
    EXPECT_DOUBLE_EQ(group->pMean[0], (power(0, 0, 0) + power(1, 0, 0)) / 2.0);
}

// A copy of a fixture changed through HDF5: links removed, one channel's FIFF unit set.
std::string editedTfr(const TempDir& dir, const std::string& name,
                      const std::vector<std::string>& removed, int unitOfCz = 0) {
    const std::string path = dir.file(name);
    std::filesystem::copy_file(fixture("power-tfr.h5"), path);
    const hid_t file = H5Fopen(path.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
    const std::string chs = "/mnepython/idx_0/idx_1/key_info/key_chs/";
    for (const std::string& link : removed) {
        EXPECT_GE(H5Ldelete(file, (chs + link).c_str(), H5P_DEFAULT), 0) << link;
    }
    if (unitOfCz) {
        const long long unit = unitOfCz;
        const hid_t set = H5Dopen2(file, (chs + "idx_1/key_unit").c_str(), H5P_DEFAULT);
        EXPECT_GE(H5Dwrite(set, H5T_NATIVE_LLONG, H5S_ALL, H5S_ALL, H5P_DEFAULT, &unit), 0);
        H5Dclose(set);
    }
    H5Fclose(file);
    return path;
}

// The FIFF unit decides the type where the layout gives none: volt (107) EEG, tesla (112) a
// magnetometer.
TEST(SpectraImport, MneChannelsTakeTheirTypeFromTheirUnit) {
    TempDir dir;
    CSpectraImport::Options o;
    o.path = editedTfr(dir, "units-tfr.h5", {}, 112);
    CSpectraImport import(o);
    CArrayMEDataSetzq data;
    ASSERT_TRUE(import.build(data)) << import.build(data).message;
    CMDTrialzq& trial = *data.getSessionData(0)->getTrialzq(0);
    EXPECT_EQ(trial.getChannel(0)->getChannelType(), CMDChannelzq::EegElectrode);
    EXPECT_EQ(trial.getChannel(1)->getChannelType(), CMDChannelzq::MegSensor);
    EXPECT_EQ(trial.getChannel(2)->getChannelType(), CMDChannelzq::EegElectrode);
    EXPECT_EQ(trial.getChannel(0)->unit, u"V");
    EXPECT_EQ(trial.getChannel(1)->unit, u"T");
}

TEST(SpectraImport, MneChannelWithoutANameIsNamedByItsPlace) {
    TempDir dir;
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"idx_2/key_ch_name"}, "channel 2 of key_info/key_chs has no name"},
        {{"idx_1"}, "channel 1 of key_info/key_chs has no name"},
        {{"idx_2"}, "key_data holds 3 channels where key_info/key_chs describes 2"}};
    int n = 0;
    for (const auto& [removed, says] : cases) {
        CSpectraImport::Options o;
        o.path = editedTfr(dir, std::to_string(n++) + "-tfr.h5", removed);
        CArrayMEDataSetzq data;
        const CIoResult r = CSpectraImport(o).build(data);
        EXPECT_NE(r.message.find(says), std::string::npos) << r.message;
    }
}

} // namespace
