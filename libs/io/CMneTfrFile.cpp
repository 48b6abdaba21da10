// MNE-Python time-frequency files through the HDF5 C library.
#include "CMneTfrFile.h"

#include "FiffUnits.h"
#include "Hdf5Util.h"
#include "IoText.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <hdf5.h>
#include <optional>

namespace {

using hdf5_util::Id;
using hdf5_util::QuietErrors;

// Whether every link of the path exists (H5Lexists needs the parents to exist).
bool exists(hid_t file, const std::string& path) {
    std::size_t pos = 0;
    while ((pos = path.find('/', pos + 1)) != std::string::npos) {
        if (H5Lexists(file, path.substr(0, pos).c_str(), H5P_DEFAULT) <= 0) {
            return false;
        }
    }
    return H5Lexists(file, path.c_str(), H5P_DEFAULT) > 0;
}

// Most values an array may hold: 64 GiB of complex doubles, the most the spectra of a session
// may take. A damaged file may declare any size without storing it.
constexpr long long kMostPoints = 1LL << 32;

// Whether a dataset stored in its header (compact) holds all its values there: HDF5 1.10
// copies them from the header without looking, through a null pointer when a damaged file
// gives the values no bytes.
bool compactHoldsAll(hid_t dataset, long long points) {
    Id plist(H5Dget_create_plist(dataset), H5Pclose);
    Id type(H5Dget_type(dataset), H5Tclose);
    if (!plist.ok() || !type.ok()) {
        return false;
    }
    if (H5Pget_layout(plist.get()) != H5D_COMPACT) {
        return true;
    }
    const auto size = static_cast<long long>(H5Tget_size(type.get()));
    return size > 0 && points <= kMostPoints &&
           static_cast<long long>(H5Dget_storage_size(dataset)) / size >= points;
}

// Values of the dataset, kMostPoints + 1 for any count above kMostPoints; -1 when unknown or
// when the file does not hold them.
long long pointCount(hid_t dataset, std::vector<hsize_t>* dims = nullptr) {
    Id space(H5Dget_space(dataset), H5Sclose);
    const int rank = space.ok() ? H5Sget_simple_extent_ndims(space.get()) : -1;
    if (rank < 0) {
        return -1;
    }
    std::vector<hsize_t> d(static_cast<std::size_t>(rank));
    H5Sget_simple_extent_dims(space.get(), d.data(), nullptr);
    long long n = 1;
    for (hsize_t v : d) {
        const auto size = static_cast<long long>(std::min<hsize_t>(v, kMostPoints + 1));
        n = size != 0 && n > kMostPoints / size ? kMostPoints + 1 : n * size;
    }
    if (!compactHoldsAll(dataset, n)) {
        return -1;
    }
    if (dims) {
        *dims = d;
    }
    return n;
}

std::string tooLarge(const std::string& key) {
    return key + " holds more than " + std::to_string(kMostPoints) +
           " values (the file may be damaged)";
}

constexpr std::size_t kMostTextBytes = 1 << 20;

// The widest number a file may hold (a 128-bit float or integer). HDF5 sizes its conversion
// buffers by the file's type, which a damaged file may declare gigabytes wide.
constexpr std::size_t kMostNumberBytes = 16;

// Whether the bits of an integer or float type lie within its bytes: HDF5 converts numbers by
// copying the bit fields the file declares, without checking them against the size.
bool bitsWithin(hid_t type, std::size_t size) {
    const std::size_t bits = 8 * size;
    const std::size_t precision = H5Tget_precision(type);
    const int offset = H5Tget_offset(type);
    if (precision == 0 || offset < 0 || static_cast<std::size_t>(offset) + precision > bits) {
        return false;
    }
    if (H5Tget_class(type) != H5T_FLOAT) {
        return true;
    }
    std::size_t sign = 0, exponentAt = 0, exponent = 0, mantissaAt = 0, mantissa = 0;
    return H5Tget_fields(type, &sign, &exponentAt, &exponent, &mantissaAt, &mantissa) >= 0 &&
           sign < bits && exponent > 0 && exponentAt + exponent <= bits && mantissa > 0 &&
           mantissaAt + mantissa <= bits;
}

// Whether the type is an integer or float HDF5 can convert safely, or (with complex) a
// compound of two such members within its bytes.
bool numberTypeSound(hid_t type, bool complex = false) {
    const std::size_t size = H5Tget_size(type);
    const H5T_class_t cls = H5Tget_class(type);
    if (!complex) {
        return (cls == H5T_INTEGER || cls == H5T_FLOAT) && size > 0 && size <= kMostNumberBytes &&
               bitsWithin(type, size);
    }
    if (cls != H5T_COMPOUND || H5Tget_nmembers(type) != 2) {
        return false;
    }
    for (unsigned m = 0; m < 2; ++m) {
        Id member(H5Tget_member_type(type, m), H5Tclose);
        if (!member.ok() || !numberTypeSound(member.get()) ||
            H5Tget_member_offset(type, m) + H5Tget_size(member.get()) > size) {
            return false;
        }
    }
    return true;
}

// Text as h5io stores it: opaque bytes, a string, an array of bytes, or an integer.
std::optional<std::string> readText(hid_t file, const std::string& path) {
    if (!exists(file, path)) {
        return std::nullopt;
    }
    Id set(H5Dopen2(file, path.c_str(), H5P_DEFAULT), H5Dclose);
    Id type(set.ok() ? H5Dget_type(set.get()) : -1, H5Tclose);
    const long long n = set.ok() ? pointCount(set.get()) : -1;
    if (!type.ok() || n < 0) {
        return std::nullopt;
    }
    const H5T_class_t cls = H5Tget_class(type.get());
    const std::size_t size = H5Tget_size(type.get());
    // A name or a condition, never megabytes of text.
    if (static_cast<std::size_t>(n) > kMostTextBytes || size > kMostTextBytes ||
        size * static_cast<std::size_t>(n) > kMostTextBytes) {
        return std::nullopt;
    }
    if (cls == H5T_STRING && H5Tis_variable_str(type.get()) > 0 && n == 1) {
        Id mem(H5Tcopy(H5T_C_S1), H5Tclose);
        H5Tset_size(mem.get(), H5T_VARIABLE);
        char* text = nullptr;
        if (H5Dread(set.get(), mem.get(), H5S_ALL, H5S_ALL, H5P_DEFAULT, &text) < 0 || !text) {
            return std::nullopt;
        }
        std::string out(text);
        H5free_memory(text);
        return out;
    }
    if (cls == H5T_OPAQUE || cls == H5T_STRING || (cls == H5T_INTEGER && size == 1)) {
        std::string out(size * static_cast<std::size_t>(n), '\0');
        if (H5Dread(set.get(), type.get(), H5S_ALL, H5S_ALL, H5P_DEFAULT, out.data()) < 0) {
            return std::nullopt;
        }
        return out.substr(0, out.find('\0'));
    }
    if (cls == H5T_INTEGER && n == 1) {
        long long v = 0;
        if (H5Dread(set.get(), H5T_NATIVE_LLONG, H5S_ALL, H5S_ALL, H5P_DEFAULT, &v) < 0) {
            return std::nullopt;
        }
        return std::to_string(v);
    }
    return std::nullopt;
}

std::optional<double> readNumber(hid_t file, const std::string& path) {
    if (!exists(file, path)) {
        return std::nullopt;
    }
    Id set(H5Dopen2(file, path.c_str(), H5P_DEFAULT), H5Dclose);
    Id type(set.ok() ? H5Dget_type(set.get()) : -1, H5Tclose);
    double v = 0.0;
    if (!type.ok() || !numberTypeSound(type.get()) || pointCount(set.get()) != 1 ||
        H5Dread(set.get(), H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, &v) < 0) {
        return std::nullopt;
    }
    return v;
}

// A FIFF code (a unit, a power of ten) stored as a number: 0, none, unless an int holds it.
int fiffCode(const std::optional<double>& v) {
    constexpr double kMost = 1e6; // far beyond any code FIFF defines
    return v && std::isfinite(*v) && std::fabs(*v) <= kMost && *v == std::trunc(*v)
               ? static_cast<int>(*v)
               : 0;
}

struct Complex {
    double r;
    double i;
};

class Reader {
public:
    Reader(hid_t file, std::string name) : m_file(file), m_name(std::move(name)) {}

    bool conditions(std::vector<std::string>& names);
    bool read(const std::string& group, CSpectraSource& out);
    const std::string& error() const { return m_error; }

private:
    bool fail(const std::string& message) {
        m_error = m_name + ": " + message;
        return false;
    }
    bool readAxis(const std::string& path, std::vector<double>& axis);
    bool readData(const std::string& path, CSpectraSource& out);
    bool readChannels(const std::string& group, CSpectraSource& out);

    hid_t m_file;
    std::string m_name;
    std::string m_error;
};

bool Reader::conditions(std::vector<std::string>& names) {
    if (!exists(m_file, "/mnepython")) {
        return fail("not an MNE time-frequency file (it has no 'mnepython' group)");
    }
    for (int n = 0; exists(m_file, "/mnepython/idx_" + std::to_string(n)); ++n) {
        const std::string base = "/mnepython/idx_" + std::to_string(n);
        const auto name = readText(m_file, base + "/idx_0");
        if (!exists(m_file, base + "/idx_1/key_data")) {
            return fail("entry " + std::to_string(n) + " holds no time-frequency data");
        }
        names.push_back(name ? *name : std::to_string(n));
    }
    if (names.empty()) {
        return fail("holds no time-frequency data");
    }
    return true;
}

bool Reader::readAxis(const std::string& path, std::vector<double>& axis) {
    const std::string key = path.substr(path.rfind('/') + 1);
    if (!exists(m_file, path)) {
        return fail("has no " + key);
    }
    Id set(H5Dopen2(m_file, path.c_str(), H5P_DEFAULT), H5Dclose);
    Id type(set.ok() ? H5Dget_type(set.get()) : -1, H5Tclose);
    std::vector<hsize_t> dims;
    const long long n = set.ok() ? pointCount(set.get(), &dims) : -1;
    if (!type.ok() || dims.size() != 1 || n < 1 || !numberTypeSound(type.get())) {
        return fail(key + " is not a non-empty one-dimensional array of numbers");
    }
    if (n > kMostPoints) {
        return fail(tooLarge(key));
    }
    axis.resize(static_cast<std::size_t>(n));
    if (H5Dread(set.get(), H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, axis.data()) < 0) {
        return fail("cannot read " + key);
    }
    return true;
}

bool Reader::readData(const std::string& path, CSpectraSource& out) {
    Id set(H5Dopen2(m_file, path.c_str(), H5P_DEFAULT), H5Dclose);
    Id type(set.ok() ? H5Dget_type(set.get()) : -1, H5Tclose);
    std::vector<hsize_t> dims;
    const long long n = set.ok() ? pointCount(set.get(), &dims) : -1;
    if (!type.ok() || n < 0) {
        return fail("cannot read key_data");
    }
    if (n > kMostPoints) {
        return fail(tooLarge("key_data"));
    }
    if (dims.size() == 4) {
        return fail("key_data holds the spectra of single epochs (4 dimensions); save their "
                    "average (EpochsTFR.average()) instead");
    }
    const std::vector<hsize_t> want = {out.labels.size(), out.freqsHz.size(), out.timesSec.size()};
    if (dims.size() == 3 && dims[0] != want[0] && dims[1] == want[1] && dims[2] == want[2]) {
        return fail("key_data holds " + std::to_string(dims[0]) +
                    " channels where key_info/key_chs describes " + std::to_string(want[0]));
    }
    if (dims != want) {
        std::string shape;
        for (std::size_t i = 0; i < dims.size(); ++i) {
            shape += (i ? " x " : "") + std::to_string(dims[i]);
        }
        return fail("key_data is " + shape + " where the channels, key_freqs and key_times give " +
                    std::to_string(want[0]) + " x " + std::to_string(want[1]) + " x " +
                    std::to_string(want[2]));
    }
    const H5T_class_t cls = H5Tget_class(type.get());
    const bool complex = cls == H5T_COMPOUND && H5Tget_nmembers(type.get()) == 2 &&
                         H5Tget_member_index(type.get(), "r") >= 0 &&
                         H5Tget_member_index(type.get(), "i") >= 0;
    if ((cls != H5T_FLOAT && !complex) || !numberTypeSound(type.get(), complex)) {
        return fail("key_data holds neither real nor complex floating-point numbers");
    }
    out.complex = complex;
    out.values.resize(static_cast<std::size_t>(n) * (complex ? 2 : 1));
    herr_t status = -1;
    if (complex) {
        Id mem(H5Tcreate(H5T_COMPOUND, sizeof(Complex)), H5Tclose);
        H5Tinsert(mem.get(), "r", HOFFSET(Complex, r), H5T_NATIVE_DOUBLE);
        H5Tinsert(mem.get(), "i", HOFFSET(Complex, i), H5T_NATIVE_DOUBLE);
        status = H5Dread(set.get(), mem.get(), H5S_ALL, H5S_ALL, H5P_DEFAULT, out.values.data());
    } else {
        status =
            H5Dread(set.get(), H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, out.values.data());
    }
    return status >= 0 || fail("cannot read key_data (the file may be damaged)");
}

bool Reader::readChannels(const std::string& group, CSpectraSource& out) {
    const std::string chs = group + "/key_info/key_chs";
    if (!exists(m_file, chs)) {
        return fail("has no channel information (key_info/key_chs)");
    }
    // Every entry of the list counts, so that one without its name is named, not skipped.
    Id list(H5Gopen2(m_file, chs.c_str(), H5P_DEFAULT), H5Gclose);
    H5G_info_t info{};
    if (!list.ok() || H5Gget_info(list.get(), &info) < 0) {
        return fail("cannot read the channel information (key_info/key_chs)");
    }
    for (hsize_t c = 0; c < info.nlinks; ++c) {
        const std::string ch = chs + "/idx_" + std::to_string(c);
        const auto label = readText(m_file, ch + "/key_ch_name");
        if (!label || io_text::trim(*label).empty()) {
            return fail("channel " + std::to_string(c) + " of key_info/key_chs has no name");
        }
        const auto unit = readNumber(m_file, ch + "/key_unit");
        const auto mul = readNumber(m_file, ch + "/key_unit_mul");
        out.labels.push_back(io_text::trim(*label));
        out.units.push_back(fiff_units::name(fiffCode(unit), fiffCode(mul)));
    }
    return true;
}

bool Reader::read(const std::string& group, CSpectraSource& out) {
    CSpectraSource s;
    s.format = "mne-tfr-h5";
    if (!readChannels(group, s) || !readAxis(group + "/key_freqs", s.freqsHz) ||
        !readAxis(group + "/key_times", s.timesSec) || !readData(group + "/key_data", s)) {
        return false;
    }
    out = std::move(s);
    return true;
}

} // namespace

bool CMneTfrFile::read(const std::string& path, const std::string& condition, CSpectraSource& out) {
    m_error.clear();
    m_conditions.clear();
    const std::string name = io_text::quote(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        m_error = name + (std::filesystem::exists(path, ec) ? ": is not a file" : ": no such file");
        return false;
    }
    QuietErrors quiet;
    if (H5Fis_hdf5(path.c_str()) <= 0) {
        m_error = name + ": not an HDF5 file";
        return false;
    }
    Id file(H5Fopen(path.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT), H5Fclose);
    if (!file.ok()) {
        m_error = name + ": HDF5 cannot open it (the file may be damaged)";
        return false;
    }
    Reader reader(file.get(), name);
    if (!reader.conditions(m_conditions)) {
        m_error = reader.error();
        return false;
    }
    std::size_t index = 0;
    while (!condition.empty() && index < m_conditions.size() && m_conditions[index] != condition) {
        ++index;
    }
    if (index == m_conditions.size()) {
        m_error = name + ": no condition " + io_text::quote(condition) + " (the file holds " +
                  io_text::list(m_conditions) + ")";
        return false;
    }
    if (!reader.read("/mnepython/idx_" + std::to_string(index) + "/idx_1", out)) {
        m_error = reader.error();
        return false;
    }
    return true;
}
