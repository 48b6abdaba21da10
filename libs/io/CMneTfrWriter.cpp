// MNE-Python time-frequency files through the HDF5 C library, node by node as h5io writes them.
#include "CMneTfrWriter.h"

#include "FiffUnits.h"
#include "Hdf5Util.h"
#include "IoText.h"

#include <cmath>

namespace {

using hdf5_util::Id;

// FIFF constants of the channel descriptions (MNE-Python's io/constants.py).
struct FiffChannel {
    int kind;
    int coil;
    int unit;
};

FiffChannel fiffOf(CTfrClass::Kind kind) {
    constexpr int kMeg = 1, kEeg = 2, kMisc = 502;
    using fiff_units::kTesla, fiff_units::kTeslaPerMetre, fiff_units::kVolt;
    switch (kind) {
    case CTfrClass::Kind::Eeg:
        return {kEeg, 1, kVolt}; // FIFFV_COIL_EEG
    case CTfrClass::Kind::Magnetometer:
        return {kMeg, 3024, kTesla}; // FIFFV_COIL_VV_MAG_T3
    case CTfrClass::Kind::PlanarGradiometer:
        return {kMeg, 3012, kTeslaPerMetre}; // FIFFV_COIL_VV_PLANAR_T1
    case CTfrClass::Kind::AxialGradiometer:
        return {kMeg, 5001, kTesla}; // FIFFV_COIL_CTF_GRAD
    default:
        return {kMisc, 0, kVolt};
    }
}

// One node of h5io's tree: groups and datasets with their TITLE; the first failure sticks.
class Writer {
public:
    explicit Writer(bool& ok) : m_ok(ok) {}

    hid_t group(hid_t parent, const std::string& name, const char* title) {
        const hid_t g =
            m_ok ? H5Gcreate2(parent, name.c_str(), H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT) : -1;
        m_ok = m_ok && g >= 0 && titled(g, title);
        return g;
    }
    void array(hid_t parent, const std::string& name, const std::vector<hsize_t>& dims,
               const double* values) {
        const Id space(H5Screate_simple(static_cast<int>(dims.size()), dims.data(), nullptr),
                       H5Sclose);
        dataset(parent, name, H5T_IEEE_F64LE, space.get(), H5T_NATIVE_DOUBLE, values, "ndarray");
    }
    void integer(hid_t parent, const std::string& name, long long value) {
        const hsize_t one = 1;
        const Id space(H5Screate_simple(1, &one, nullptr), H5Sclose);
        dataset(parent, name, H5T_STD_I64LE, space.get(), H5T_NATIVE_LLONG, &value, "int");
    }
    void real(hid_t parent, const std::string& name, double value) {
        array(parent, name, {1}, &value);
        retitle(parent, name, "float");
    }
    void none(hid_t parent, const std::string& name) {
        const hsize_t one = 1;
        const unsigned char value = 0;
        const Id space(H5Screate_simple(1, &one, nullptr), H5Sclose);
        dataset(parent, name, H5T_STD_U8LE, space.get(), H5T_NATIVE_UCHAR, &value, "None");
    }
    // h5io's text: UTF-8 bytes as one opaque value (an empty text cannot be opaque: one blank).
    void text(hid_t parent, const std::string& name, const std::string& value) {
        const std::string bytes = value.empty() ? " " : value;
        const Id type(H5Tcreate(H5T_OPAQUE, bytes.size()), H5Tclose);
        const Id space(H5Screate(H5S_SCALAR), H5Sclose);
        dataset(parent, name, type.get(), space.get(), type.get(), bytes.data(), "unicode");
    }

private:
    void dataset(hid_t parent, const std::string& name, hid_t fileType, hid_t space, hid_t memType,
                 const void* values, const char* title) {
        if (!m_ok) {
            return;
        }
        const Id set(H5Dcreate2(parent, name.c_str(), fileType, space, H5P_DEFAULT, H5P_DEFAULT,
                                H5P_DEFAULT),
                     H5Dclose);
        m_ok = set.ok() &&
               H5Dwrite(set.get(), memType, H5S_ALL, H5S_ALL, H5P_DEFAULT, values) >= 0 &&
               titled(set.get(), title);
    }
    void retitle(hid_t parent, const std::string& name, const char* title) {
        if (!m_ok) {
            return;
        }
        const Id set(H5Dopen2(parent, name.c_str(), H5P_DEFAULT), H5Dclose);
        m_ok = set.ok() && H5Adelete(set.get(), "TITLE") >= 0 && titled(set.get(), title);
    }
    // The TITLE attribute as h5py writes a Python str: a variable-length UTF-8 string.
    static bool titled(hid_t node, const char* title) {
        const Id type(H5Tcopy(H5T_C_S1), H5Tclose);
        H5Tset_size(type.get(), H5T_VARIABLE);
        H5Tset_cset(type.get(), H5T_CSET_UTF8);
        const Id space(H5Screate(H5S_SCALAR), H5Sclose);
        const Id attr(H5Acreate2(node, "TITLE", type.get(), space.get(), H5P_DEFAULT, H5P_DEFAULT),
                      H5Aclose);
        return attr.ok() && H5Awrite(attr.get(), type.get(), &title) >= 0;
    }

    bool& m_ok;
};

// MNE-Python's loc: position, then three orientation axes; a MEG sensor's normal is the third.
std::vector<double> location(const CTfrClass::Channel& ch) {
    std::vector<double> loc(12, 0.0);
    for (int i = 0; i < 3; ++i) {
        loc[i] = ch.position[i];
        loc[9 + i] = ch.normal[i];
    }
    if (ch.kind == CTfrClass::Kind::Eeg || ch.kind == CTfrClass::Kind::Other) {
        return loc;
    }
    // Any two axes completing the normal to a right-handed frame: a helper axis not along
    // the normal, less its part along it, then the normal's cross product with that.
    const double* n = &loc[9];
    const double a[3] = {std::fabs(n[0]) < 0.9 ? 1.0 : 0.0, std::fabs(n[0]) < 0.9 ? 0.0 : 1.0, 0.0};
    const double along = a[0] * n[0] + a[1] * n[1];
    double ex[3] = {a[0] - along * n[0], a[1] - along * n[1], -along * n[2]};
    const double len = std::sqrt(ex[0] * ex[0] + ex[1] * ex[1] + ex[2] * ex[2]);
    for (double& v : ex) {
        v = len > 0.0 ? v / len : 0.0;
    }
    const double ey[3] = {n[1] * ex[2] - n[2] * ex[1], n[2] * ex[0] - n[0] * ex[2],
                          n[0] * ex[1] - n[1] * ex[0]};
    for (int i = 0; i < 3; ++i) {
        loc[3 + i] = ex[i];
        loc[6 + i] = ey[i];
    }
    return loc;
}

void writeChannel(Writer& w, hid_t chs, std::size_t c, const CTfrClass::Channel& ch) {
    const Id g(w.group(chs, "idx_" + std::to_string(c), "dict"), H5Gclose);
    const FiffChannel fiff = fiffOf(ch.kind);
    w.text(g.get(), "key_ch_name", ch.label);
    w.integer(g.get(), "key_kind", fiff.kind);
    w.integer(g.get(), "key_coil_type", fiff.coil);
    w.integer(g.get(), "key_unit", fiff.unit);
    w.integer(g.get(), "key_unit_mul", fiff_units::multiplier(fiff.unit, ch.unit));
    w.integer(g.get(), "key_coord_frame", 4); // FIFFV_COORD_HEAD
    w.integer(g.get(), "key_scanno", static_cast<long long>(c) + 1);
    w.integer(g.get(), "key_logno", static_cast<long long>(c) + 1);
    w.real(g.get(), "key_range", 1.0);
    w.real(g.get(), "key_cal", 1.0);
    const std::vector<double> loc = location(ch);
    w.array(g.get(), "key_loc", {12}, loc.data());
}

// What Info needs to be built and checked (read_tfrs calls Info(...)._check_consistency()).
void writeInfo(Writer& w, hid_t attrs, const CTfrClass& cls) {
    const Id info(w.group(attrs, "key_info", "dict"), H5Gclose);
    const Id chs(w.group(info.get(), "key_chs", "list"), H5Gclose);
    for (std::size_t c = 0; c < cls.channels.size(); ++c) {
        writeChannel(w, chs.get(), c, cls.channels[c]);
    }
    const Id names(w.group(info.get(), "key_ch_names", "list"), H5Gclose);
    for (std::size_t c = 0; c < cls.channels.size(); ++c) {
        w.text(names.get(), "idx_" + std::to_string(c), cls.channels[c].label);
    }
    w.integer(info.get(), "key_nchan", static_cast<long long>(cls.channels.size()));
    const double step = cls.timesSec.size() > 1 ? cls.timesSec[1] - cls.timesSec[0] : 0.0;
    const double sfreq = step > 0.0 ? 1.0 / step : 1.0;
    w.real(info.get(), "key_sfreq", sfreq);
    w.real(info.get(), "key_highpass", 0.0);
    w.real(info.get(), "key_lowpass", sfreq / 2.0);
    w.integer(info.get(), "key_custom_ref_applied", 0);
    for (const char* empty : {"key_bads", "key_projs", "key_comps"}) {
        const Id list(w.group(info.get(), empty, "list"), H5Gclose);
    }
    w.none(info.get(), "key_meas_date");
}

void writeClass(Writer& w, hid_t top, std::size_t n, const CTfrClass& cls) {
    const Id pair(w.group(top, "idx_" + std::to_string(n), "tuple"), H5Gclose);
    w.text(pair.get(), "idx_0", cls.name);
    const Id attrs(w.group(pair.get(), "idx_1", "dict"), H5Gclose);
    const auto nc = static_cast<hsize_t>(cls.channels.size());
    const auto nf = static_cast<hsize_t>(cls.freqsHz.size());
    const auto nt = static_cast<hsize_t>(cls.timesSec.size());
    w.array(attrs.get(), "key_times", {nt}, cls.timesSec.data());
    w.array(attrs.get(), "key_freqs", {nf}, cls.freqsHz.data());
    w.array(attrs.get(), "key_data", {nc, nf, nt}, cls.power.data());
    w.integer(attrs.get(), "key_nave", cls.epochs);
    w.text(attrs.get(), "key_comment", cls.name);
    w.text(attrs.get(), "key_method", "morlet-power");
    writeInfo(w, attrs.get(), cls);
}

} // namespace

bool CMneTfrWriter::write(const std::string& path, const std::vector<CTfrClass>& classes) {
    const hdf5_util::QuietErrors quiet;
    const Id file(H5Fcreate(path.c_str(), H5F_ACC_EXCL, H5P_DEFAULT, H5P_DEFAULT), H5Fclose);
    bool ok = file.ok();
    Writer w(ok);
    {
        const Id top(w.group(file.get(), "mnepython", "list"), H5Gclose);
        for (std::size_t n = 0; n < classes.size(); ++n) {
            writeClass(w, top.get(), n, classes[n]);
        }
    }
    ok = ok && H5Fflush(file.get(), H5F_SCOPE_GLOBAL) >= 0;
    if (!ok) {
        m_error = io_text::quote(path) + ": cannot be written as an HDF5 file";
    }
    return ok;
}
