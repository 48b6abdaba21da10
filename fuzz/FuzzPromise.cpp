#include "FuzzPromise.h"

#include "recording/CArrayMEDataSetzq.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

void FuzzPromise::require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "velmora fuzz: broken promise: %s\n", what);
        std::abort();
    }
}

namespace {

// Length of the UTF-8 sequence starting at s[i]; 0 when none starts there.
std::size_t utf8Length(const std::string& s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t n = b < 0x80         ? 1
                          : (b >> 5) == 6  ? 2
                          : (b >> 4) == 14 ? 3
                          : (b >> 3) == 30 ? 4
                                           : 0;
    if (n == 0 || i + n > s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) {
            return 0;
        }
    }
    return n;
}

} // namespace

void FuzzPromise::requireMessage(const std::string& message) {
    if (message.empty()) {
        require(false, "a refusal without a message");
    }
    for (std::size_t i = 0; i < message.size();) {
        const auto b = static_cast<unsigned char>(message[i]);
        if (b < 0x20 || b == 0x7f) {
            std::fprintf(stderr, "velmora fuzz: message: %s\n", message.c_str());
            require(false, "a control character in a message");
        }
        const std::size_t n = utf8Length(message, i);
        // C1 control characters (U+0080 to U+009F) act on some terminals.
        const bool c1 = n == 2 && b == 0xC2 && static_cast<unsigned char>(message[i + 1]) < 0xA0;
        if (n == 0 || c1) {
            std::fprintf(stderr, "velmora fuzz: message: %s\n", message.c_str());
            require(false, "a message that is not UTF-8");
        }
        i += n;
    }
}

void FuzzPromise::fillSentinel(CArrayMEDataSetzq& data) {
    CMDChannelzq* channel = data.addSession()->addTrial()->addChannel();
    channel->label = u"sentinel";
}

void FuzzPromise::requireSentinel(CArrayMEDataSetzq& data) {
    require(data.getSessionCount() == 1, "a refused import changed the sessions");
    CMEGDatazq* session = data.getSessionData(0);
    require(session->getTrialCount() == 1, "a refused import changed the trials");
    CMDTrialzq* trial = session->getTrialzq(0);
    require(trial->getTotalChannel() == 1 && trial->getChannel(0)->label == u"sentinel",
            "a refused import changed the channels");
}

void FuzzPromise::requireSound(CArrayMEDataSetzq& data, std::size_t channels, int spectralClass,
                               long long nTime, long long nFreq) {
    require(data.getSessionCount() == 1, "an import gave other than one session");
    CMEGDatazq* session = data.getSessionData(0);
    require(session->getTrialCount() == 1, "an import gave other than one trial");
    const CMEGData::HeadFrame& frame = session->getHeadFrame();
    for (int k = 0; k < 3; ++k) {
        require(std::isfinite(frame.front[k]) && std::isfinite(frame.right[k]),
                "a head frame that is not finite");
    }
    CMDTrialzq* trial = session->getTrialzq(0);
    require(trial->getTotalChannel() == static_cast<int>(channels),
            "the channels of the data set differ from the report's");
    for (int c = 0; c < trial->getTotalChannel(); ++c) {
        CMDChannelzq* channel = trial->getChannel(c);
        require(!channel->label.empty(), "a channel without a label");
        double xyz[3] = {0.0, 0.0, 0.0};
        require(channel->getChannelPositionD(xyz) == 1, "a channel without a position");
        require(std::isfinite(xyz[0]) && std::isfinite(xyz[1]) && std::isfinite(xyz[2]),
                "a position that is not finite");
        if (nFreq > 0) {
            const CSpctmChnlzq* s = channel->getSpctmChnl(false, spectralClass);
            require(s && s->getTimeCount() == nTime && s->getFreqCount() == nFreq,
                    "a spectrum whose shape differs from the report's");
        }
    }
}
