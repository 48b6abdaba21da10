// Summary of the demo's data set, printed before any window opens.
#include "DemoSummary.h"

#include "recording/CArrayMEDataSetzq.h"
#include "recording/CUtfText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kClassNames[3] = {"Active", "Control", "Result"};
const char* const kComponentNames[3] = {"real", "imaginary", "power"};

std::string format(const char* fmt, double a, double b = 0.0, double c = 0.0) {
    char buf[160];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

void printChannels(CMDTrialzq& trial, std::ostream& out) {
    int meg[3] = {0, 0, 0};
    int eeg = 0;
    int none = 0;
    for (int i = 0; i < trial.getTotalChannel(); ++i) {
        CMDChannelzq* ch = trial.getChannel(i);
        if (CMEGSensorzq* s = ch ? ch->getMEGSensorzq() : nullptr)
            ++meg[s->getKind() >= 0 && s->getKind() < 3 ? s->getKind() : 0];
        else if (ch && ch->getChannelType() == CMDChannel0SensorInfo::EegElectrode)
            ++eeg;
        else
            ++none;
    }
    out << "  channels: " << trial.getTotalChannel() << " (MEG magnetometers " << meg[0]
        << ", planar gradiometers " << meg[1] << ", axial gradiometers " << meg[2]
        << "; EEG electrodes " << eeg;
    if (none > 0)
        out << "; without sensor " << none;
    out << ")\n";
}

// The finite values of the channels' own grids of one unit.
struct UnitRange {
    std::u16string unit;
    double lo = 0.0, hi = 0.0, sum = 0.0;
    long long count = 0;

    void add(const double* v, long long n) {
        for (long long k = 0; k < n; ++k) {
            if (!std::isfinite(v[k]))
                continue;
            lo = count ? std::min(lo, v[k]) : v[k];
            hi = count ? std::max(hi, v[k]) : v[k];
            sum += v[k];
            ++count;
        }
    }
};

// Ranges of a component over the channels, one for each unit their values are in (MEG and
// EEG channels differ by orders of magnitude), in the order the units first appear.
std::vector<UnitRange> rangesByUnit(const CMEGDatazq& session, CMDTrialzq& trial, int spectralClass,
                                    int component) {
    std::vector<UnitRange> ranges;
    for (int i = 0; i < trial.getTotalChannel(); ++i) {
        CMDChannelzq* ch = trial.getChannel(i);
        CSpctmChnlzq* spectrum = ch ? ch->getSpctmChnl(false, spectralClass) : nullptr;
        long long nTime = 0, nFreq = 0;
        const double* v = spectrum ? spectrum->getSpctmDataPtr(component, &nTime, &nFreq) : nullptr;
        if (!v)
            continue;
        const std::u16string unit =
            session.getSpctmSettings().getSpctmUnit(ch->unit, spectralClass, component);
        auto it = std::find_if(ranges.begin(), ranges.end(),
                               [&](const UnitRange& r) { return r.unit == unit; });
        if (it == ranges.end())
            it = ranges.insert(ranges.end(), UnitRange{unit});
        it->add(v, nTime * nFreq);
    }
    return ranges;
}

void printComponent(const CMEGDatazq& session, CMDTrialzq& trial, int spectralClass, int component,
                    std::ostream& out) {
    bool any = false;
    for (const UnitRange& r : rangesByUnit(session, trial, spectralClass, component)) {
        if (r.count == 0)
            continue;
        out << "    " << kComponentNames[component]
            << (r.unit.empty() ? std::string() : " (" + CUtfText::toUtf8(r.unit) + ")") << ": "
            << format("min %.4g, max %.4g, mean %.4g\n", r.lo, r.hi,
                      r.sum / static_cast<double>(r.count));
        any = true;
    }
    if (!any)
        out << "    " << kComponentNames[component] << ": no finite values\n";
}

void printClass(const CMEGDatazq& session, CMDTrialzq& trial, int spectralClass,
                std::ostream& out) {
    CSpctmTrialzq* st = trial.getSpctmTrial(false, spectralClass);
    out << "  " << kClassNames[spectralClass] << ":";
    if (!st) {
        out << " no spectra\n";
        return;
    }
    const long long nTime = st->getTrialSpctmTimePt();
    const int nFreq = st->getTrialSpctmFreqPt();
    out << " " << nTime << " time points"
        << format(" from %.1f to %.1f ms (step %.1f ms),", st->getLatencyMs(0),
                  st->getLatencyMs(nTime - 1), st->getTimeStepMs())
        << " " << nFreq << " frequencies"
        << format(" from %.1f to %.1f Hz\n", st->getFreqHz(0), st->getFreqHz(nFreq - 1));
    for (int component = 0; component < 3; ++component)
        printComponent(session, trial, spectralClass, component, out);
}

// Channels the last spectrum computation left without usable spectra, or computed from only
// some of their epochs.
void printOutcomes(const CMEGDatazq& session, std::ostream& out) {
    const std::vector<CSpctmOutcome>& outcomes = session.getLastOutcomes();
    if (outcomes.empty())
        return;
    out << "Channels to check (" << outcomes.size() << "):\n";
    for (const CSpctmOutcome& o : outcomes)
        out << "  trial " << o.trial << ", " << o.label << ": " << o.reason << "\n";
}

} // namespace

// The session's wavelet settings, as the spectra were computed with them.
void printSettings(const CSpctmSettings& s, std::ostream& out) {
    out << "  wavelets: ";
    if (!s.cyclesPerFreq.empty()) {
        out << "cycles per frequency";
        for (std::size_t j = 0; j < s.cyclesPerFreq.size(); ++j)
            out << (j ? ", " : " ") << s.cyclesPerFreq[j];
    } else if (s.cyclesDivisor > 0.0) {
        out << "f / " << s.cyclesDivisor << " cycles";
    } else {
        out << s.cycles << " cycles";
    }
    out << (s.zeroMean ? ", zero mean" : "")
        << (s.normalisation == CSpctmSettings::WaveletL2 ? ", L2 norm sqrt(2) (MNE-Python)"
                                                         : ", sinusoid power")
        << format(", step %g ms", s.timeStepMs) << ", threads: "
        << (s.threads > 0 ? std::to_string(s.threads) : std::string("one per core")) << "\n";
}

void printRecordingSummary(CArrayMEDataSetzq& data, std::ostream& out) {
    CMEGDatazq* session = data.getSessionData(-1);
    out << "Recording: " << data.getSessionCount() << " session(s)\n";
    if (!session) {
        out << "  no current session\n";
        return;
    }
    out << "  trials: " << session->getTrialCount() << "\n";
    CMDTrialzq* trial = session->getTrialzq(-1);
    if (!trial) {
        out << "  no current trial\n";
        return;
    }
    printChannels(*trial, out);
    if (trial->hasRawTiming())
        out << "  raw epochs: " << trial->getEpochCount() << " of " << trial->getEpochLength()
            << " samples"
            << format(" at %.0f Hz, %.1f to %.1f ms\n", trial->getSamplingRate(),
                      trial->getFirstLatencyMs(), trial->getLastLatencyMs());
    if (trial->hasSpctmWindows())
        out << format("  windows: Active %.0f to %.0f ms", trial->getWindowStartMs(0),
                      trial->getWindowEndMs(0))
            << (trial->hasControlWindow()
                    ? format(", Control %.0f to %.0f ms\n", trial->getWindowStartMs(1),
                             trial->getWindowEndMs(1))
                    : std::string(", no Control window\n"));
    if (trial->hasRawTiming())
        printSettings(session->getSpctmSettings(), out);
    out << "Spectra of the current trial (value ranges over all channels of each unit):\n";
    for (int c = 0; c < 3; ++c)
        printClass(*session, *trial, c, out);
    printOutcomes(*session, out);
}
