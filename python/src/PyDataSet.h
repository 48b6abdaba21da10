// A data set filled from Python, one session with one trial, and the windows that show it.
// Every refused call raises ValueError with the builder's one-line reason and leaves the data
// set as it was.
#pragma once

#include "recording/CArrayMEDataSetzq.h"
#include "recording/CMEDataSetBuilder.h"

#include <array>
#include <memory>
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <string>
#include <vector>

class PyDataSet {
public:
    using Vec3 = std::array<double, 3>;

    PyDataSet();

    // A MEG channel: kind 0 magnetometer, 1 planar gradiometer, 2 axial gradiometer (a second
    // coil 5 cm out along the normal). Positions in metres, head coordinates.
    void addMeg(const std::string& label, int kind, const Vec3& pos, const Vec3& normal,
                const std::string& unit);
    void addEeg(const std::string& label, const Vec3& pos, const std::string& unit);
    void setHeadFrame(const Vec3& front, const Vec3& right);
    // The contrast the Result class holds, which names its unit; before its spectra.
    void setResultMode(CSpctmSettings::ResultMode mode);

    // Power of one class (0 Active, 1 Control, 2 Result): float64, rows x frequencies x times
    // in C order; channel c takes row rows[c] times scales[c].
    void setSpectra(int spectralClass, double firstMs, double stepMs,
                    const std::vector<double>& freqs, const pybind11::array& power,
                    const std::vector<long long>& rows, const std::vector<double>& scales);
    // Raw epochs (float64, epochs x channels x times), the Active and Control windows (ms) and
    // the settings of the computation; computed at once.
    void setEpochs(const pybind11::array& data, double sfreq, double firstMs,
                   const std::array<double, 2>& active, const std::array<double, 2>& control,
                   const CSpctmSettings& settings);
    // The group records of handed-in spectra.
    void finish();

    std::vector<std::string> channels() const;
    // Each channel's unit of a class's power, as the windows name it ("fT²", "µV²", "dB").
    std::vector<std::string> powerUnits(int spectralClass) const;

    // Runs the windows with these options (see DemoWindowOptions; "snapshot_dir" empty:
    // interactive): the exit status and what the run logged.
    pybind11::tuple run(const pybind11::dict& options);

private:
    void check(const CMEDataSetBuilder::Result& r) const;
    CMDTrialzq* trial() const;

    std::unique_ptr<CArrayMEDataSetzq> m_data;
    CMEDataSetBuilder m_builder;
};
