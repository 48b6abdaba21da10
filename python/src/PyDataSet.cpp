// The data set of the Python module, filled through the data set builder.
#include "PyDataSet.h"

#include "DemoWindows.h"
#include "probes/CBscMagSnszq.h"
#include "win/CString.h"

#include <sstream>

namespace py = pybind11;

namespace {

// Axial gradiometers' outer coil lies this far out along the normal, as in the layouts.
constexpr double kAxialBaseline = 0.05;

std::u16string utf16(const std::string& s) {
    return std::u16string(CString::FromUtf8(s).GetString());
}

// A float64 array of three dimensions, C order, or TypeError/ValueError.
void requireGrid(const py::array& a, const char* what) {
    if (!py::dtype::of<double>().is(a.dtype()))
        throw py::type_error(std::string(what) + " must be float64");
    if (a.ndim() != 3)
        throw py::value_error(std::string(what) + " must have three dimensions, not " +
                              std::to_string(a.ndim()));
    if (!(a.flags() & py::array::c_style))
        throw py::value_error(std::string(what) + " must be in C order");
}

template <typename T>
T option(const py::dict& d, const char* key, T fallback) {
    return d.contains(key) ? d[key].cast<T>() : fallback;
}

} // namespace

PyDataSet::PyDataSet() : m_data(std::make_unique<CArrayMEDataSetzq>()), m_builder(*m_data) {
    check(m_builder.addSession());
    check(m_builder.addTrial(0));
}

void PyDataSet::check(const CMEDataSetBuilder::Result& r) const {
    if (!r)
        throw py::value_error(r.message);
}

CMDTrialzq* PyDataSet::trial() const {
    CMEGDatazq* session = m_data->getSessionData(0);
    return session ? session->getTrialzq(0) : nullptr;
}

void PyDataSet::addMeg(const std::string& label, int kind, const Vec3& pos, const Vec3& normal,
                       const std::string& unit) {
    if (kind < CMEGSensor::Magnetometer || kind > CMEGSensor::AxialGradiometer)
        throw py::value_error("the MEG sensor kind must be 0, 1 or 2, not " + std::to_string(kind));
    CMEGSensorzq sensor(label, static_cast<CMEGSensor::Kind>(kind));
    sensor.addCoil(CBscMagSnszq(pos.data(), normal.data()));
    if (kind == CMEGSensor::AxialGradiometer) {
        Vec3 outer;
        for (int k = 0; k < 3; ++k)
            outer[k] = pos[k] + kAxialBaseline * normal[k];
        sensor.addCoil(CBscMagSnszq(outer.data(), normal.data()));
    }
    int index = -1;
    check(m_builder.addMegChannel(0, utf16(label), sensor, &index));
    check(m_builder.setChannelUnit(0, index, utf16(unit)));
}

void PyDataSet::addEeg(const std::string& label, const Vec3& pos, const std::string& unit) {
    int index = -1;
    check(m_builder.addEegChannel(0, utf16(label), CEEGelectrodezq(label, pos.data()), &index));
    check(m_builder.setChannelUnit(0, index, utf16(unit)));
}

void PyDataSet::setHeadFrame(const Vec3& front, const Vec3& right) {
    check(m_builder.setHeadFrame(0, front.data(), right.data()));
}

void PyDataSet::setResultMode(CSpctmSettings::ResultMode mode) {
    CSpctmSettings settings;
    settings.resultMode = mode;
    check(m_builder.setSpectrumSettings(0, settings));
}

void PyDataSet::setSpectra(int spectralClass, double firstMs, double stepMs,
                           const std::vector<double>& freqs, const py::array& power,
                           const std::vector<long long>& rows, const std::vector<double>& scales) {
    requireGrid(power, "the power");
    const auto nF = power.shape(1), nT = power.shape(2);
    const auto nC = static_cast<long long>(rows.size());
    if (!trial() || nC != trial()->getTotalChannel() || scales.size() != rows.size() ||
        nF != static_cast<py::ssize_t>(freqs.size()))
        throw py::value_error("the power must have a row for each of the " +
                              std::to_string(trial() ? trial()->getTotalChannel() : 0) +
                              " channels and a column for each of the " +
                              std::to_string(freqs.size()) + " frequencies");
    for (long long row : rows)
        if (row < 0 || row >= power.shape(0))
            throw py::value_error("row " + std::to_string(row) + " is not in the power");
    check(m_builder.setSpectrumAxes(0, 0, spectralClass, nT, firstMs, stepMs, freqs));
    const auto* p = static_cast<const double*>(power.data());
    const std::vector<double> nan(static_cast<std::size_t>(nF * nT),
                                  std::numeric_limits<double>::quiet_NaN());
    std::vector<double> grid(nan.size());
    for (long long c = 0; c < nC; ++c) {
        // The builder's grids run time first, frequency fastest.
        const double* row = p + rows[c] * nF * nT;
        for (py::ssize_t f = 0; f < nF; ++f)
            for (py::ssize_t t = 0; t < nT; ++t)
                grid[static_cast<std::size_t>(t * nF + f)] = row[f * nT + t] * scales[c];
        check(
            m_builder.setChannelSpectrum(0, 0, static_cast<int>(c), spectralClass, nan, nan, grid));
    }
}

void PyDataSet::setEpochs(const py::array& data, double sfreq, double firstMs,
                          const std::array<double, 2>& active, const std::array<double, 2>& control,
                          const CSpctmSettings& settings) {
    requireGrid(data, "the data");
    const auto nE = data.shape(0), nC = data.shape(1), nT = data.shape(2);
    if (!trial() || nC != trial()->getTotalChannel())
        throw py::value_error("the data must be epochs x " +
                              std::to_string(trial() ? trial()->getTotalChannel() : 0) +
                              " channels x times");
    const auto* p = static_cast<const double*>(data.data());
    std::vector<double> samples(static_cast<std::size_t>(nE * nT));
    for (py::ssize_t c = 0; c < nC; ++c) {
        for (py::ssize_t e = 0; e < nE; ++e)
            std::copy_n(p + (e * nC + c) * nT, nT, samples.begin() + e * nT);
        check(m_builder.setChannelEpochs(0, 0, static_cast<int>(c), samples, nE, sfreq, firstMs));
    }
    check(m_builder.setSpectrumSettings(0, settings));
    check(m_builder.setWindows(0, 0, active[0], active[1], control[0], control[1]));
    CMEDataSetBuilder::Result r;
    {
        py::gil_scoped_release release;
        r = m_builder.computeSpectra(0);
    }
    check(r);
}

void PyDataSet::finish() {
    check(m_builder.computeSpectra(0));
}

std::vector<std::string> PyDataSet::channels() const {
    std::vector<std::string> labels;
    CMDTrialzq* t = trial();
    for (int i = 0; t && i < t->getTotalChannel(); ++i)
        labels.push_back(CString(t->getChannel(i)->label).ToUtf8());
    return labels;
}

std::vector<std::string> PyDataSet::powerUnits(int spectralClass) const {
    constexpr int kPower = 2;
    std::vector<std::string> units;
    CMEGDatazq* session = m_data->getSessionData(0);
    CMDTrialzq* t = trial();
    for (int i = 0; t && i < t->getTotalChannel(); ++i) {
        const std::u16string unit =
            session->getSpctmSettings().getSpctmUnit(t->getChannel(i)->unit, spectralClass, kPower);
        units.push_back(CString(unit).ToUtf8());
    }
    return units;
}

py::tuple PyDataSet::run(const py::dict& d) {
    DemoWindowOptions o;
    o.snapshotDir = option<std::string>(d, "snapshot_dir", "");
    o.eeg = option<bool>(d, "eeg", false);
    o.sensorKind = option<int>(d, "sensor_kind", DemoWindowOptions::kDefaultSensors);
    o.spectralClass = option<int>(d, "spectral_class", 0);
    o.sweepTicks = option<int>(d, "sweep_ticks", 0);
    o.movieFile = option<std::string>(d, "movie", "");
    o.channel = option<std::string>(d, "channel", "");
    o.tminMs = option<double>(d, "tmin_ms", o.tminMs);
    o.tmaxMs = option<double>(d, "tmax_ms", o.tmaxMs);
    o.fminHz = option<double>(d, "fmin_hz", o.fminHz);
    o.fmaxHz = option<double>(d, "fmax_hz", o.fmaxHz);
    if (o.spectralClass < 0 || o.spectralClass > 2)
        throw py::value_error("the class must be 0 (Active), 1 (Control) or 2 (Result)");
    std::ostringstream log;
    int status = 0;
    {
        py::gil_scoped_release release;
        status = runDemoWindows(*m_data, o, log);
    }
    return py::make_tuple(status, log.str());
}
