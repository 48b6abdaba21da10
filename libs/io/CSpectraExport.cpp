// The data set's spectra gathered class by class and written under a temporary name that is
// renamed to the path at the end.
#include "io/CSpectraExport.h"

#include "CMneTfrWriter.h"
#include "CNpyWriter.h"
#include "CTfrClass.h"
#include "IoText.h"
#include "recording/CUtfText.h"

#include <atomic>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const char* const kClassNames[] = {"active", "control", "result"};

CTfrClass::Channel describe(CMDChannelzq& ch) {
    CTfrClass::Channel out;
    out.label = CUtfText::toUtf8(ch.label);
    out.unit = CUtfText::toUtf8(ch.unit);
    ch.getChannelPositionD(out.position.data());
    if (ch.getChannelType() == CMDChannel0SensorInfo::EegElectrode) {
        out.kind = CTfrClass::Kind::Eeg;
    } else if (CMEGSensorzq* sensor = ch.getMEGSensorzq()) {
        const CTfrClass::Kind kinds[] = {CTfrClass::Kind::Magnetometer,
                                         CTfrClass::Kind::PlanarGradiometer,
                                         CTfrClass::Kind::AxialGradiometer};
        out.kind = kinds[sensor->getKind()];
        if (const CBscMagSnszq* coil = sensor->getCoil(0)) {
            coil->getCoilOrientationD(out.normal.data());
        }
    }
    return out;
}

// The power of one class (channels without spectra in it left out); false when the class
// holds no spectra.
bool gather(CMDTrialzq& trial, int spectralClass, CTfrClass& out) {
    const CSpctmTrialzq* axes = trial.getSpctmTrial(false, spectralClass);
    if (!axes || axes->getTrialSpctmTimePt() < 1 || axes->getTrialSpctmFreqPt() < 1) {
        return false;
    }
    out.name = kClassNames[spectralClass];
    out.freqsHz = axes->getFreqsHz();
    const long long nT = axes->getTrialSpctmTimePt();
    const auto nF = static_cast<long long>(out.freqsHz.size());
    for (long long t = 0; t < nT; ++t) {
        out.timesSec.push_back(axes->getLatencyMs(t) / 1000.0);
    }
    out.epochs = std::max(1LL, trial.getEpochCount());
    for (int c = 0; c < trial.getTotalChannel(); ++c) {
        CMDChannelzq* ch = trial.getChannel(c);
        const CSpctmChnl* sp = ch ? ch->getSpctmChnl(false, spectralClass) : nullptr;
        const double* power = sp ? sp->getSpctmDataPtr(2, nullptr, nullptr) : nullptr;
        if (!power || sp->getTimeCount() != nT || sp->getFreqCount() != nF) {
            continue;
        }
        out.channels.push_back(describe(*ch));
        // The grid runs time by time; the file frequency by frequency, time fastest.
        for (long long f = 0; f < nF; ++f) {
            for (long long t = 0; t < nT; ++t) {
                out.power.push_back(power[t * nF + f]);
            }
        }
    }
    return !out.channels.empty();
}

// A name next to path, hidden, that no other writer picks.
fs::path temporaryPath(const fs::path& path) {
    static std::atomic<int> count = 0;
    return path.parent_path() / ("." + path.filename().string() + ".part-" +
                                 std::to_string(::getpid()) + "-" + std::to_string(++count));
}

std::string writeNpyFolders(const fs::path& folder, const std::vector<CTfrClass>& classes) {
    std::error_code ec;
    if (!fs::create_directory(folder, ec)) {
        return io_text::quote(folder.string()) + ": cannot be made (" + ec.message() + ")";
    }
    CNpyWriter w;
    for (const CTfrClass& cls : classes) {
        const fs::path dir = folder / cls.name;
        std::vector<std::string> labels, units;
        for (const auto& ch : cls.channels) {
            labels.push_back(ch.label);
            units.push_back(ch.unit);
        }
        const auto nc = static_cast<long long>(cls.channels.size());
        const auto nf = static_cast<long long>(cls.freqsHz.size());
        const auto nt = static_cast<long long>(cls.timesSec.size());
        const bool ok = fs::create_directory(dir, ec) &&
                        w.writeArray(dir / "power.npy", {nc, nf, nt}, cls.power) &&
                        w.writeArray(dir / "freqs.npy", {nf}, cls.freqsHz) &&
                        w.writeArray(dir / "times.npy", {nt}, cls.timesSec) &&
                        w.writeLines(dir / "ch_names.txt", labels) &&
                        w.writeLines(dir / "units.txt", units);
        if (!ok) {
            return ec ? io_text::quote(dir.string()) + ": cannot be made (" + ec.message() + ")"
                      : w.error();
        }
    }
    return "";
}

// ch_names.txt holds a label a line: a label with a line break cannot be saved there.
std::string checkLabels(const std::vector<CTfrClass>& classes) {
    for (const CTfrClass& cls : classes) {
        for (const auto& ch : cls.channels) {
            if (ch.label.find_first_of("\r\n") != std::string::npos) {
                return "channel " + io_text::shown(ch.label) +
                       " has a line break in its label, which ch_names.txt cannot hold";
            }
        }
    }
    return "";
}

} // namespace

bool CSpectraExport::isMneTfrPath(const std::string& path) {
    const auto endsWith = [&](const std::string& end) {
        return path.size() >= end.size() &&
               path.compare(path.size() - end.size(), end.size(), end) == 0;
    };
    return endsWith("-tfr.h5") || endsWith("_tfr.h5");
}

CIoResult CSpectraExport::write(CArrayMEDataSetzq& data, const std::string& path) {
    const std::string name = io_text::quote(path);
    CMEGDatazq* session = data.getSessionData(-1);
    CMDTrialzq* trial = session ? session->getTrialzq(-1) : nullptr;
    std::vector<CTfrClass> classes;
    for (int c = 0; trial && c < 3; ++c) {
        CTfrClass cls;
        if (gather(*trial, c, cls)) {
            classes.push_back(std::move(cls));
        }
    }
    if (classes.empty()) {
        return CIoResult::failure(name + ": the data set holds no spectra to save");
    }
    std::error_code ec;
    if (path.empty() || fs::symlink_status(path, ec).type() != fs::file_type::not_found) {
        return CIoResult::failure(name + (path.empty() ? ": no path given"
                                                       : ": exists already; "
                                                         "choose another name or remove it"));
    }
    const bool mne = isMneTfrPath(path);
    if (const std::string error = mne ? "" : checkLabels(classes); !error.empty()) {
        return CIoResult::failure(name + ": " + error);
    }
    const fs::path part = temporaryPath(fs::absolute(path, ec));
    std::string error;
    if (mne) {
        CMneTfrWriter writer;
        error = writer.write(part.string(), classes) ? "" : writer.error();
    } else {
        error = writeNpyFolders(part, classes);
    }
    if (error.empty()) {
        fs::rename(part, path, ec);
        error = ec ? name + ": cannot be made (" + ec.message() + ")" : "";
    }
    if (!error.empty()) {
        fs::remove_all(part, ec);
        // Messages name the path asked for, not the temporary one.
        const std::string temp = io_text::escaped(part.string());
        const std::string shown = io_text::escaped(path);
        for (auto at = error.find(temp); at != std::string::npos; at = error.find(temp, at + 1)) {
            error.replace(at, temp.size(), shown);
        }
        return CIoResult::failure(error);
    }
    Report report;
    report.format = mne ? "mne-tfr-h5" : "npy";
    for (const CTfrClass& cls : classes) {
        report.classes.push_back(cls.name);
    }
    m_report = std::move(report);
    return {};
}
