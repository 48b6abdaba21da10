// Spectra from a folder of NumPy arrays.
#include "CNpyFolder.h"

#include "CNpyArray.h"
#include "IoText.h"

#include <filesystem>
#include <fstream>

namespace {

std::string shapeText(const std::vector<long long>& shape) {
    std::string s = "(";
    for (std::size_t i = 0; i < shape.size(); ++i) {
        s += (i ? ", " : "") + std::to_string(shape[i]);
    }
    return s + (shape.size() == 1 ? ",)" : ")");
}

} // namespace

bool CNpyFolder::fail(std::string message) {
    m_error = std::move(message);
    return false;
}

bool CNpyFolder::readLines(const std::string& path, const std::string& what,
                           std::vector<std::string>& labels) {
    std::ifstream in(path);
    if (!in) {
        return fail(io_text::quote(path) + ": no such file (one " + what + " a line)");
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string label = io_text::trim(line);
        if (label.empty() && in.peek() != std::char_traits<char>::eof()) {
            return fail(io_text::quote(path) + ": line " + std::to_string(number) + " holds no " +
                        what);
        }
        if (!label.empty()) {
            labels.push_back(label);
        }
    }
    if (labels.empty()) {
        return fail(io_text::quote(path) + ": holds no " + what);
    }
    return true;
}

// units.txt is optional: without it the channels take their sensor kind's unit.
bool CNpyFolder::readUnits(const std::string& path, CSpectraSource& s) {
    s.units.assign(s.labels.size(), "");
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        return true;
    }
    std::vector<std::string> units;
    if (!readLines(path, "unit", units)) {
        return false;
    }
    if (units.size() != s.labels.size()) {
        return fail(io_text::quote(path) + ": " + std::to_string(units.size()) + " units for the " +
                    std::to_string(s.labels.size()) +
                    " channels of ch_names.txt (one unit a line)");
    }
    s.units = std::move(units);
    return true;
}

bool CNpyFolder::readAxis(const std::string& path, std::vector<double>& axis) {
    CNpyArray a;
    if (!a.read(path)) {
        return fail(a.error());
    }
    if (a.shape().size() != 1 || a.isComplex() || a.shape()[0] < 1) {
        return fail(io_text::quote(path) + ": needs a non-empty one-dimensional real array, not " +
                    a.dtypeName() + " of shape " + shapeText(a.shape()));
    }
    axis = a.values();
    return true;
}

bool CNpyFolder::read(const std::string& folder, CSpectraSource& out) {
    m_error.clear();
    const std::filesystem::path dir(folder);
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        return fail(io_text::quote(folder) + (std::filesystem::exists(dir, ec)
                                                  ? ": is not a folder of .npy arrays"
                                                  : ": no such folder"));
    }
    const std::string power = (dir / "power.npy").string();
    const std::string names = (dir / "ch_names.txt").string();
    CSpectraSource s;
    s.format = "npy";
    CNpyArray p;
    if (!readLines(names, "channel label", s.labels) ||
        !readAxis((dir / "freqs.npy").string(), s.freqsHz) ||
        !readAxis((dir / "times.npy").string(), s.timesSec)) {
        return false;
    }
    if (!p.read(power)) {
        return fail(p.error());
    }
    const std::vector<long long> want = {static_cast<long long>(s.labels.size()),
                                         static_cast<long long>(s.freqsHz.size()),
                                         static_cast<long long>(s.timesSec.size())};
    if (p.shape() != want) {
        return fail(io_text::quote(power) + ": shape " + shapeText(p.shape()) +
                    " disagrees with ch_names.txt, freqs.npy and times.npy, which give " +
                    shapeText(want) + " (channels, frequencies, times)");
    }
    if (!readUnits((dir / "units.txt").string(), s)) {
        return false;
    }
    s.complex = p.isComplex();
    s.values = p.values();
    out = std::move(s);
    return true;
}
