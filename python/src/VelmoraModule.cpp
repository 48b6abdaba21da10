// The extension module _velmora: the transform of epoch arrays, spectrum settings and the
// data set with its windows. The package velmora wraps it for MNE-Python's objects.
#include "PyDataSet.h"
#include "PyMorlet.h"

#include <pybind11/stl.h>

namespace py = pybind11;

namespace {

void bindSettings(py::module_& m) {
    py::class_<CSpctmSettings> s(m, "SpectrumSettings");
    py::enum_<CSpctmSettings::Normalisation>(s, "Normalisation")
        .value("SinusoidPower", CSpctmSettings::SinusoidPower)
        .value("WaveletL2", CSpctmSettings::WaveletL2);
    py::enum_<CSpctmSettings::ResultMode>(s, "ResultMode")
        .value("Difference", CSpctmSettings::Difference)
        .value("Ratio", CSpctmSettings::Ratio)
        .value("Decibel", CSpctmSettings::Decibel)
        .value("PercentChange", CSpctmSettings::PercentChange)
        .value("ZScore", CSpctmSettings::ZScore);
    s.def(py::init<>())
        .def_readwrite("freqs_hz", &CSpctmSettings::freqsHz)
        .def_readwrite("cycles_per_freq", &CSpctmSettings::cyclesPerFreq)
        .def_readwrite("cycles_divisor", &CSpctmSettings::cyclesDivisor)
        .def_readwrite("cycles", &CSpctmSettings::cycles)
        .def_readwrite("zero_mean", &CSpctmSettings::zeroMean)
        .def_readwrite("normalisation", &CSpctmSettings::normalisation)
        .def_readwrite("time_step_ms", &CSpctmSettings::timeStepMs)
        .def_readwrite("result_mode", &CSpctmSettings::resultMode)
        .def_readwrite("threads", &CSpctmSettings::threads);
}

void bindDataSet(py::module_& m) {
    py::class_<PyDataSet>(m, "DataSet")
        .def(py::init<>())
        .def("add_meg", &PyDataSet::addMeg, py::arg("label"), py::arg("kind"), py::arg("pos"),
             py::arg("normal"), py::arg("unit"))
        .def("add_eeg", &PyDataSet::addEeg, py::arg("label"), py::arg("pos"), py::arg("unit"))
        .def("set_head_frame", &PyDataSet::setHeadFrame, py::arg("front"), py::arg("right"))
        .def("set_result_mode", &PyDataSet::setResultMode, py::arg("mode"))
        .def("set_spectra", &PyDataSet::setSpectra, py::arg("spectral_class"), py::arg("first_ms"),
             py::arg("step_ms"), py::arg("freqs"), py::arg("power"), py::arg("rows"),
             py::arg("scales"))
        .def("set_epochs", &PyDataSet::setEpochs, py::arg("data"), py::arg("sfreq"),
             py::arg("first_ms"), py::arg("active"), py::arg("control"), py::arg("settings"))
        .def("finish", &PyDataSet::finish)
        .def("channels", &PyDataSet::channels)
        .def("power_units", &PyDataSet::powerUnits, py::arg("spectral_class"))
        .def("run", &PyDataSet::run, py::arg("options"));
}

} // namespace

PYBIND11_MODULE(_velmora, m) {
    m.doc() = "Velmora's C++ core: Morlet spectra of epoch arrays and the display windows.";
    m.def("morlet", &PyMorlet::transform, py::arg("data"), py::arg("sfreq"), py::arg("freqs"),
          py::arg("cycles"), py::arg("zero_mean"), py::arg("output"), py::arg("decim_start"),
          py::arg("decim_stop"), py::arg("decim_step"), py::arg("threads"));
    bindSettings(m);
    bindDataSet(m);
}
