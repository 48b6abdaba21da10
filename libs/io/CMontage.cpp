// Matching file channels to layout positions.
#include "CMontage.h"

#include "IoText.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kPrefixes[] = {"y",        "z", "a", "f", "p", "n", "u",
                                     "\xC2\xB5", "m", "c", "d", "k", "M", "G"};

// The unit without a leading SI prefix, when what follows is a volt or a tesla.
std::string unprefixed(const std::string& unit) {
    for (const char* p : kPrefixes) {
        const std::string prefix = p;
        if (unit.size() > prefix.size() && unit.compare(0, prefix.size(), prefix) == 0 &&
            (unit[prefix.size()] == 'V' || unit[prefix.size()] == 'T' ||
             unit.compare(prefix.size(), 2, "Wb") == 0)) {
            return unit.substr(prefix.size());
        }
    }
    return unit;
}

bool startsUnit(const std::string& text, const std::string& base) {
    return text.compare(0, base.size(), base) == 0 &&
           (text.size() == base.size() || text[base.size()] == '/' || text[base.size()] == ' ' ||
            text[base.size()] == '*');
}

} // namespace

CMontage::UnitKind CMontage::unitKind(const std::string& unit) {
    const std::string u = unprefixed(io_text::trim(unit));
    if (startsUnit(u, "V")) {
        return UnitKind::Volt;
    }
    // BioSig names the tesla "Wb m-2".
    if (startsUnit(u, "T") || startsUnit(u, "Wb m-2")) {
        return UnitKind::Tesla;
    }
    return UnitKind::Unknown;
}

std::string CMontage::shownUnit(const std::string& unit) {
    std::string u = io_text::trim(unit);
    const UnitKind kind = unitKind(u);
    // BioSig names the tesla by its definition.
    if (const std::size_t at = u.find("Wb m-2");
        kind == UnitKind::Tesla && at != std::string::npos) {
        u.replace(at, 6, "T");
    }
    if (u.size() > 1 && u[0] == 'u' && kind != UnitKind::Unknown) {
        return "\xC2\xB5" + u.substr(1);
    }
    return u;
}

CIoResult CMontage::load(const CMontageOptions& options) {
    m_options = options;
    m_layouts.clear();
    m_entries.clear();
    if (options.layouts.empty()) {
        return CIoResult::failure("no layout given for the channel positions");
    }
    const auto builtIn = CSensorLayout::getEmbeddedNames();
    for (const std::string& name : options.layouts) {
        auto layout = std::make_unique<CSensorLayout>();
        const bool embedded = std::find(builtIn.begin(), builtIn.end(), name) != builtIn.end();
        const int ok = name == "eeg1010" ? layout->makeEeg1010()
                       : embedded        ? layout->loadEmbedded(name)
                                         : layout->readFile(name);
        if (!ok) {
            // The probes library's messages may already start with the file name.
            std::string why = layout->getError().empty() ? "cannot be read" : layout->getError();
            if (why.rfind(name + ": ", 0) == 0) {
                why.erase(0, name.size() + 2);
            }
            return CIoResult::failure("layout " + io_text::quote(name) + ": " + why);
        }
        for (int i = 0; i < layout->getChannelCount(); ++i) {
            const std::string key = io_text::lower(io_text::trim(layout->getChannel(i)->label));
            const bool known = std::any_of(m_entries.begin(), m_entries.end(),
                                           [&](const auto& e) { return e.first == key; });
            if (!known) {
                m_entries.push_back({key, Entry{layout.get(), i}});
            }
        }
        m_layouts.push_back(std::move(layout));
    }
    return {};
}

const CMontage::Entry* CMontage::find(const std::string& label) const {
    const std::string key = io_text::lower(io_text::trim(label));
    for (const auto& e : m_entries) {
        if (e.first == key) {
            return &e.second;
        }
    }
    return nullptr;
}

std::string CMontage::layoutNames() const {
    std::string out;
    for (const std::string& name : m_options.layouts) {
        out += (out.empty() ? "" : ", ") + io_text::quote(name);
    }
    return out;
}

CMontage::Placed CMontage::makeProbe(int input, const Input& in, const Entry& entry) const {
    Placed p;
    p.input = input;
    p.unit = shownUnit(in.unit);
    const CSensorLayout::Channel& c = *entry.layout->getChannel(entry.index);
    if (CSensorLayout::isMegType(c.type)) {
        const auto fromLayout = entry.layout->makeMegSensor(entry.index);
        p.sensor = std::make_unique<CMEGSensorzq>(in.label, fromLayout->getKind());
        for (int k = 0; k < fromLayout->getCoilCount(); ++k) {
            p.sensor->addCoil(*fromLayout->getCoil(k));
        }
    } else if (unitKind(in.unit) == UnitKind::Tesla) {
        // A position-only layout for a channel recorded in tesla: a magnetometer facing out
        // of the head unless the layout gives a normal.
        double normal[3] = {c.normal[0], c.normal[1], c.normal[2]};
        if (normal[0] == 0.0 && normal[1] == 0.0 && normal[2] == 0.0) {
            std::copy(c.pos, c.pos + 3, normal);
        }
        p.sensor = std::make_unique<CMEGSensorzq>(in.label, CMEGSensor::Magnetometer);
        p.sensor->addCoil(CBscMagSnszq(c.pos, normal));
    } else {
        p.electrode = std::make_unique<CEEGelectrodezq>(in.label, c.pos);
    }
    return p;
}

CIoResult CMontage::place(const std::vector<Input>& inputs, const std::string& file,
                          std::vector<Placed>& placed, std::vector<std::string>& dropped) const {
    std::vector<Placed> found;
    std::vector<std::string> missing;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (const Entry* e = find(inputs[i].label)) {
            found.push_back(makeProbe(static_cast<int>(i), inputs[i], *e));
        } else {
            missing.push_back(inputs[i].label);
        }
    }
    const std::string name = io_text::quote(file);
    if (found.empty()) {
        std::vector<std::string> labels;
        for (const Input& in : inputs) {
            labels.push_back(in.label);
        }
        return CIoResult::failure(name + ": no channel matches the layout " + layoutNames() +
                                  " (the channels are " + io_text::list(labels) + ")");
    }
    if (!missing.empty() && !m_options.dropUnplaced) {
        return CIoResult::failure(name + ": " + std::to_string(missing.size()) +
                                  (missing.size() == 1 ? " channel has" : " channels have") +
                                  " no position in the layout " + layoutNames() + ": " +
                                  io_text::list(missing, missing.size()) +
                                  " (add a layout that places them, or drop unplaced channels)");
    }
    placed = std::move(found);
    dropped = std::move(missing);
    return {};
}

CMEDataSetBuilder::Result CMontage::addChannels(CMEDataSetBuilder& builder, int session,
                                                const std::vector<Placed>& placed) {
    for (const Placed& p : placed) {
        int channel = 0;
        auto r = p.sensor ? builder.addMegChannel(session, u"", *p.sensor, &channel)
                          : builder.addEegChannel(session, u"", *p.electrode, &channel);
        if (r && !p.unit.empty()) {
            r = builder.setChannelUnit(session, channel, io_text::utf16(p.unit));
        }
        if (!r) {
            return r;
        }
    }
    return {};
}

CMEDataSetBuilder::Result CMontage::addHeadFrame(CMEDataSetBuilder& builder, int session) const {
    if (m_layouts.empty())
        return {};
    const CSensorLayout::HeadFrame& first = m_layouts.front()->getHeadFrame();
    for (const auto& layout : m_layouts) {
        const CSensorLayout::HeadFrame& f = layout->getHeadFrame();
        if (!f.known)
            return {};
        for (int k = 0; k < 3; ++k)
            if (std::fabs(f.front[k] - first.front[k]) > 1e-6 ||
                std::fabs(f.right[k] - first.right[k]) > 1e-6)
                return {};
    }
    return builder.setHeadFrame(session, first.front, first.right);
}
