// The Morlet transform of epoch arrays for Python: NumPy arrays in and out, read where they lie.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <string>
#include <vector>

namespace PyMorlet {

// data: float64, epochs x channels x times, any strides. output: "power", "complex",
// "avg_power" or "avg_power_itc". decim: start, stop and step of the kept samples. Returns the
// array MNE-Python's tfr_array_morlet returns for that output ("avg_power_itc": a tuple of
// power and coherence). ValueError with the one-line reason when it cannot be computed.
pybind11::object transform(const pybind11::array& data, double sfreq,
                           const std::vector<double>& freqs, const std::vector<double>& cycles,
                           bool zeroMean, const std::string& output, long long decimStart,
                           long long decimStop, long long decimStep, int threads);

} // namespace PyMorlet
