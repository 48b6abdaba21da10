// Spectra saved for MNE-Python: what CSpectraExport writes, read back through CSpectraImport,
// gives the same channels, axes and power, class by class; a write that fails leaves nothing
// under the path asked for.
#include "IoTestFiles.h"
#include "io/CEpochImport.h"
#include "io/CSpectraExport.h"
#include "io/CSpectraImport.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace io_test;

namespace {

// The standard recording's epochs with their spectra in all three classes.
void computedSpectra(const TempDir& dir, CArrayMEDataSetzq& data) {
    CEpochImport::Options o;
    o.path = write(standardRecording(Format::EdfPlus), Format::EdfPlus, dir.path(), "rec");
    o.eventTexts = {"stim"};
    o.epochStartMs = o.controlStartMs = -150.0;
    o.epochEndMs = o.activeEndMs = 150.0;
    o.spectrum.freqsHz = {8.0, 12.0, 20.0};
    o.computeSpectra = true;
    CEpochImport import(o);
    const CIoResult r = import.build(data);
    ASSERT_TRUE(r) << r.message;
}

// The class's power, axes and labels agree with those of the data set they were saved from.
void expectSameSpectra(CArrayMEDataSetzq& saved, CArrayMEDataSetzq& read, int spectralClass) {
    CMDTrialzq& a = *saved.getSessionData(0)->getTrialzq(0);
    CMDTrialzq& b = *read.getSessionData(0)->getTrialzq(0);
    const CSpctmTrialzq& axesA = *a.getSpctmTrial(false, spectralClass);
    const CSpctmTrialzq* axesB = b.getSpctmTrial(false, spectralClass);
    ASSERT_NE(axesB, nullptr) << spectralClass;
    EXPECT_EQ(axesB->getFreqsHz(), axesA.getFreqsHz());
    ASSERT_EQ(axesB->getTrialSpctmTimePt(), axesA.getTrialSpctmTimePt());
    EXPECT_NEAR(axesB->getLatencyMs(0), axesA.getLatencyMs(0), 1e-9);
    EXPECT_NEAR(axesB->getTimeStepMs(), axesA.getTimeStepMs(), 1e-9);
    ASSERT_EQ(b.getTotalChannel(), a.getTotalChannel());
    for (int c = 0; c < a.getTotalChannel(); ++c) {
        EXPECT_EQ(b.getChannel(c)->label, a.getChannel(c)->label);
        EXPECT_EQ(b.getChannel(c)->unit, a.getChannel(c)->unit) << "channel " << c;
        long long nT = 0, nF = 0;
        const double* pa =
            a.getChannel(c)->getSpctmChnl(false, spectralClass)->getSpctmDataPtr(2, &nT, &nF);
        const double* pb = b.getChannel(c)
                               ->getSpctmChnl(false, spectralClass)
                               ->getSpctmDataPtr(2, nullptr, nullptr);
        for (long long i = 0; i < nT * nF; ++i) {
            ASSERT_EQ(pb[i], pa[i])
                << "class " << spectralClass << ", channel " << c << ", point " << i;
        }
    }
}

CArrayMEDataSetzq readBack(const std::string& path, const std::string& condition,
                           int spectralClass) {
    CSpectraImport::Options o;
    o.path = path;
    o.condition = condition;
    o.spectralClass = spectralClass;
    CSpectraImport import(o);
    CArrayMEDataSetzq data;
    const CIoResult r = import.build(data);
    EXPECT_TRUE(r) << r.message;
    return data;
}

TEST(SpectraExport, WhatIsSavedReadsBackAsTheSameSpectra) {
    TempDir dir;
    CArrayMEDataSetzq data;
    computedSpectra(dir, data);
    const char* const classes[] = {"active", "control", "result"};

    CSpectraExport npy;
    ASSERT_TRUE(npy.write(data, dir.file("npy")));
    EXPECT_EQ(npy.report().format, "npy");
    EXPECT_EQ(npy.report().classes, (std::vector<std::string>{"active", "control", "result"}));
    CSpectraExport h5;
    ASSERT_TRUE(h5.write(data, dir.file("sub01-tfr.h5")));
    EXPECT_EQ(h5.report().format, "mne-tfr-h5");
    for (int c = 0; c < 3; ++c) {
        CArrayMEDataSetzq fromNpy = readBack(dir.file("npy/") + classes[c], "", c);
        expectSameSpectra(data, fromNpy, c);
        CArrayMEDataSetzq fromH5 = readBack(dir.file("sub01-tfr.h5"), classes[c], c);
        expectSameSpectra(data, fromH5, c);
    }
    // Nothing but the files asked for is left in the folder (no temporary name).
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"npy", "rec.edf", "sub01-tfr.h5"}));
}

TEST(SpectraExport, AFailedWriteLeavesNothingUnderThePath) {
    TempDir dir;
    CArrayMEDataSetzq data;
    computedSpectra(dir, data);
    // A folder that cannot be written into: its place is taken by a file.
    std::ofstream(dir.file("plain")) << "x";
    for (const char* path :
         {"plain/out", "plain/out-tfr.h5", "missing/out", "missing/out-tfr.h5"}) {
        CSpectraExport exporter;
        const CIoResult r = exporter.write(data, dir.file(path));
        EXPECT_FALSE(r) << path;
        EXPECT_NE(r.message.find("cannot be"), std::string::npos) << r.message;
        EXPECT_EQ(r.message.find(".part-"), std::string::npos) << r.message;
        EXPECT_FALSE(std::filesystem::exists(dir.file(path))) << path;
    }
    // An existing path is neither replaced nor touched.
    std::filesystem::create_directory(dir.file("taken"));
    std::ofstream(dir.file("taken-tfr.h5")) << "mine";
    for (const char* path : {"taken", "taken-tfr.h5"}) {
        const CIoResult r = CSpectraExport().write(data, dir.file(path));
        EXPECT_EQ(r.message,
                  "'" + dir.file(path) + "': exists already; choose another name or remove it");
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("taken")));
    EXPECT_EQ(std::filesystem::file_size(dir.file("taken-tfr.h5")), 4u);
    // A data set without spectra has nothing to save.
    CArrayMEDataSetzq empty;
    const CIoResult r = CSpectraExport().write(empty, dir.file("none"));
    EXPECT_EQ(r.message, "'" + dir.file("none") + "': the data set holds no spectra to save");
    EXPECT_FALSE(std::filesystem::exists(dir.file("none")));
}

} // namespace
