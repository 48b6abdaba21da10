// Precomputed spectra handed to the data set builder.
#include "io/CSpectraImport.h"

#include "CMneTfrProcess.h"
#include "CMontage.h"
#include "CNpyFolder.h"
#include "ImportRun.h"
#include "IoText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

class SpectraRun {
public:
    SpectraRun(const CSpectraImport::Options& o, CSpectraImport::Report& report)
        : m_o(o), m_report(report), m_name(io_text::quote(o.path)) {}

    CIoResult run(CArrayMEDataSetzq& target);

private:
    CIoResult fail(const std::string& what) const {
        return CIoResult::failure(m_name + ": " + what);
    }
    CIoResult readSource();
    CIoResult checkAxes();
    CIoResult checkChannels() const;
    CIoResult fill(CArrayMEDataSetzq& data) const;
    // The three grids (time * nFreq + f) of one file channel.
    void grids(int channel, std::vector<double> out[3]) const;
    bool progress(CIoProgress::Stage stage, long long done, long long total) const {
        return !m_o.progress || m_o.progress(stage, done, total);
    }

    const CSpectraImport::Options& m_o;
    CSpectraImport::Report& m_report;
    std::string m_name;
    CSpectraSource m_source;
    CMontage m_montage;
    std::vector<CMontage::Placed> m_placed;
};

CIoResult SpectraRun::readSource() {
    if (endsWith(io_text::lower(m_o.path), ".h5")) {
        CMneTfrProcess file;
        const bool ok = file.read(m_o.path, m_o.condition, m_source);
        m_report.conditions = file.conditions();
        return ok ? CIoResult{} : CIoResult::failure(file.error());
    }
    CNpyFolder folder;
    return folder.read(m_o.path, m_source) ? CIoResult{} : CIoResult::failure(folder.error());
}

CIoResult SpectraRun::checkAxes() {
    const auto& f = m_source.freqsHz;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (!std::isfinite(f[i]) || f[i] <= 0.0 || (i > 0 && f[i] <= f[i - 1])) {
            return fail("the frequencies must be finite, above 0 Hz and increasing (frequency " +
                        std::to_string(i) + " is " + io_text::num(f[i]) + " Hz)");
        }
    }
    const auto& t = m_source.timesSec;
    const double step = t.size() > 1 ? t[1] - t[0] : 1.0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const double expected = t[0] + step * static_cast<double>(i);
        if (!std::isfinite(t[i]) || !(step > 0.0) ||
            std::abs(t[i] - expected) > 1e-6 * step + 1e-12 * std::abs(expected)) {
            return fail("the times must be finite, increasing and evenly spaced (time " +
                        std::to_string(i) + " is " + io_text::num(t[i]) + " s)");
        }
    }
    m_report.timePoints = static_cast<long long>(t.size());
    m_report.frequencies = static_cast<long long>(f.size());
    m_report.firstLatencyMs = 1000.0 * t[0];
    m_report.stepMs = t.size() > 1 ? 1000.0 * step : 1.0;
    m_report.complex = m_source.complex;
    return {};
}

// A channel of only non-finite values would show nothing; name it rather than pass it on.
CIoResult SpectraRun::checkChannels() const {
    const std::size_t per =
        m_source.freqsHz.size() * m_source.timesSec.size() * (m_source.complex ? 2 : 1);
    std::vector<std::string> empty;
    for (const auto& p : m_placed) {
        const auto first = m_source.values.begin() + static_cast<std::ptrdiff_t>(p.input * per);
        if (std::none_of(first, first + static_cast<std::ptrdiff_t>(per),
                         [](double v) { return std::isfinite(v); })) {
            empty.push_back(m_source.labels[p.input]);
        }
    }
    if (!empty.empty()) {
        return fail((empty.size() == 1 ? "channel " : "channels ") + io_text::list(empty) +
                    (empty.size() == 1 ? " holds" : " hold") + " no finite value");
    }
    return {};
}

void SpectraRun::grids(int channel, std::vector<double> out[3]) const {
    const std::size_t nF = m_source.freqsHz.size(), nT = m_source.timesSec.size();
    const std::size_t parts = m_source.complex ? 2 : 1;
    const double* v = m_source.values.data() + static_cast<std::size_t>(channel) * nF * nT * parts;
    for (auto* g = out; g != out + 3; ++g) {
        g->assign(nF * nT, kNaN);
    }
    for (std::size_t f = 0; f < nF; ++f) {
        for (std::size_t t = 0; t < nT; ++t) {
            const double* z = v + (f * nT + t) * parts;
            const std::size_t at = t * nF + f;
            if (m_source.complex) {
                out[0][at] = z[0];
                out[1][at] = z[1];
                out[2][at] = z[0] * z[0] + z[1] * z[1];
            } else {
                out[2][at] = z[0];
            }
        }
    }
}

CIoResult SpectraRun::fill(CArrayMEDataSetzq& data) const {
    CMEDataSetBuilder b(data);
    const auto check = [&](const CMEDataSetBuilder::Result& r) {
        return r ? CIoResult{} : fail(r.message);
    };
    const int cls = m_o.spectralClass;
    CIoResult r = check(b.addSession());
    r = r ? check(b.addTrial(0)) : r;
    r = r ? check(CMontage::addChannels(b, 0, m_placed)) : r;
    r = r ? check(m_montage.addHeadFrame(b, 0)) : r;
    r = r ? check(b.setSpectrumAxes(0, 0, cls, m_report.timePoints, m_report.firstLatencyMs,
                                    m_report.stepMs, m_source.freqsHz))
          : r;
    std::vector<double> g[3];
    const auto n = static_cast<long long>(m_placed.size());
    for (long long c = 0; r && c < n; ++c) {
        grids(m_placed[c].input, g);
        r = check(b.setChannelSpectrum(0, 0, static_cast<int>(c), cls, g[0], g[1], g[2]));
        if (r && !progress(CIoProgress::Stage::Channels, c + 1, n)) {
            r = fail("cancelled");
        }
    }
    return r ? check(b.computeSpectra(0)) : r;
}

CIoResult SpectraRun::run(CArrayMEDataSetzq& target) {
    if (m_o.spectralClass < 0 || m_o.spectralClass > 2) {
        return fail("the spectral class must be 0 (Active), 1 (Control) or 2 (Result), not " +
                    std::to_string(m_o.spectralClass));
    }
    if (CIoResult r = m_montage.load(m_o.montage); !r) {
        return r;
    }
    CIoResult r = readSource();
    if (r && !progress(CIoProgress::Stage::Reading, 1, 1)) {
        r = fail("cancelled");
    }
    m_report.format = m_source.format;
    r = r ? checkAxes() : r;
    if (!r) {
        return r;
    }
    std::vector<CMontage::Input> inputs;
    for (std::size_t c = 0; c < m_source.labels.size(); ++c) {
        inputs.push_back({m_source.labels[c], m_source.units[c]});
    }
    r = m_montage.place(inputs, m_o.path, m_placed, m_report.droppedChannels);
    r = r ? checkChannels() : r;
    if (!r) {
        return r;
    }
    for (const auto& p : m_placed) {
        m_report.channels.push_back(m_source.labels[p.input]);
    }
    return import_run::moveInto(target, [this](CArrayMEDataSetzq& built) { return fill(built); });
}

} // namespace

CIoResult CSpectraImport::build(CArrayMEDataSetzq& target) {
    return import_run::run<SpectraRun>(m_options, m_report, target);
}
