// NumPy arrays handed to the recording library's transform with the interpreter released.
#include "PyMorlet.h"

#include "recording/CEpochsMorlet.h"

#include <complex>
#include <stdexcept>

namespace py = pybind11;

namespace PyMorlet {

namespace {

CEpochsMorlet::Output outputOf(const std::string& name) {
    if (name == "power")
        return CEpochsMorlet::Output::Power;
    if (name == "complex")
        return CEpochsMorlet::Output::Complex;
    if (name == "avg_power")
        return CEpochsMorlet::Output::AvgPower;
    if (name == "avg_power_itc")
        return CEpochsMorlet::Output::AvgPowerItc;
    throw py::value_error("output must be 'power', 'complex', 'avg_power' or 'avg_power_itc', "
                          "not '" +
                          name + "'");
}

CEpochsMorlet::Input inputOf(const py::array& data) {
    if (!py::dtype::of<double>().is(data.dtype()))
        throw py::type_error("the data must be float64");
    if (data.ndim() != 3)
        throw py::value_error("the data must have three dimensions (epochs x channels x times), "
                              "not " +
                              std::to_string(data.ndim()));
    CEpochsMorlet::Input in;
    in.data = static_cast<const double*>(data.data());
    in.epochs = data.shape(0);
    in.channels = data.shape(1);
    in.times = data.shape(2);
    long long* strides[] = {&in.epochStride, &in.channelStride, &in.timeStride};
    for (int k = 0; k < 3; ++k) {
        if (data.strides(k) % static_cast<py::ssize_t>(sizeof(double)) != 0)
            throw py::value_error("the data's strides must be whole samples");
        *strides[k] = data.strides(k) / static_cast<py::ssize_t>(sizeof(double));
    }
    return in;
}

} // namespace

py::object transform(const py::array& data, double sfreq, const std::vector<double>& freqs,
                     const std::vector<double>& cycles, bool zeroMean, const std::string& output,
                     long long decimStart, long long decimStop, long long decimStep, int threads) {
    const CEpochsMorlet::Output out = outputOf(output);
    const CEpochsMorlet::Input in = inputOf(data);
    CEpochsMorlet::Settings s;
    s.samplingRateHz = sfreq;
    s.freqsHz = freqs;
    s.cycles = cycles;
    s.zeroMean = zeroMean;
    s.decimStart = decimStart;
    s.decimStop = decimStop;
    s.decimStep = decimStep;
    s.threads = threads;
    if (std::string e = CEpochsMorlet::check(s, in); !e.empty())
        throw py::value_error(e);
    const auto nF = static_cast<py::ssize_t>(freqs.size());
    const auto nT = static_cast<py::ssize_t>(CEpochsMorlet::decimatedTimes(s, in.times));
    const bool average =
        out == CEpochsMorlet::Output::AvgPower || out == CEpochsMorlet::Output::AvgPowerItc;
    std::vector<py::ssize_t> shape = {in.channels, nF, nT};
    if (!average)
        shape.insert(shape.begin(), in.epochs);
    py::array_t<double> power, itc;
    py::array_t<std::complex<double>> coefs;
    CEpochsMorlet::Results r;
    if (out == CEpochsMorlet::Output::Complex) {
        coefs = py::array_t<std::complex<double>>(shape);
        r.coefs = coefs.mutable_data();
    } else {
        power = py::array_t<double>(shape);
        r.power = power.mutable_data();
    }
    if (out == CEpochsMorlet::Output::AvgPowerItc) {
        itc = py::array_t<double>(shape);
        r.itc = itc.mutable_data();
    }
    std::string error;
    {
        py::gil_scoped_release release;
        error = CEpochsMorlet::compute(s, in, out, r);
    }
    if (!error.empty())
        throw py::value_error(error);
    if (out == CEpochsMorlet::Output::Complex)
        return coefs;
    if (out == CEpochsMorlet::Output::AvgPowerItc)
        return py::make_tuple(power, itc);
    return power;
}

} // namespace PyMorlet
