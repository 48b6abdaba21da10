// The recording door as the viewer uses it: the header check and BioSig's open
// (CRecordingFile), samples read from the start, and epochs around the events made into a data
// set (CEpochImport). The input is one file (EDF/EDF+, BDF/BDF+, GDF), or BrainVision's header,
// marker and data files as FuzzFolder::split parts.
#include "FuzzFolder.h"
#include "FuzzPromise.h"
#include "io/CEpochImport.h"
#include "io/CRecordingFile.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

// The name BioSig would meet the file under; BrainVision's header names the other two files
// (rec.vmrk and rec.eeg in the corpus).
std::string writeRecording(const FuzzFolder& folder, const std::vector<std::string_view>& parts) {
    const std::string_view head = parts[0];
    const auto starts = [&](std::string_view magic) {
        return head.substr(0, magic.size()) == magic;
    };
    if (starts("0       ")) {
        return folder.write("rec.edf", head);
    }
    if (starts("\xff"
               "BIOSEMI")) {
        return folder.write("rec.bdf", head);
    }
    if (starts("GDF")) {
        return folder.write("rec.gdf", head);
    }
    folder.write("rec.vmrk", parts[1]);
    folder.write("rec.eeg", parts[2]);
    return folder.write("rec.vhdr", head);
}

void readStart(CRecordingFile& file) {
    FuzzPromise::require(std::isfinite(file.samplingRateHz()) && file.samplingRateHz() > 0.0 &&
                             file.sampleCount() > 0 && !file.channels().empty(),
                         "a recording opened without rate, samples or channels");
    std::vector<int> channels;
    for (std::size_t c = 0; c < file.channels().size(); ++c) {
        const CRecordingFile::Channel& ch = file.channels()[c];
        FuzzPromise::require(std::isfinite(ch.samplingRateHz), "a channel rate not finite");
        if (ch.atRecordingRate && ch.fault.empty()) {
            channels.push_back(static_cast<int>(c));
        }
    }
    for (const CRecordingFile::Event& e : file.events()) {
        FuzzPromise::require(std::isfinite(e.onsetSec) && std::isfinite(e.durationSec),
                             "an event time not finite");
    }
    const long long count = std::min(file.sampleCount(), 64LL);
    std::vector<double> out;
    const CIoResult r = file.readSamples(channels, 0, count, out);
    if (!r) {
        FuzzPromise::requireMessage(r.message);
        return;
    }
    FuzzPromise::require(out.size() == channels.size() * static_cast<std::size_t>(count),
                         "samples read that do not fill the request");
}

void importEpochs(const std::string& path) {
    CEpochImport import;
    CEpochImport::Options& o = import.options();
    o.path = path;
    o.eventTexts = {"stim", "S  1"};
    o.eventCodes = {1};
    o.epochStartMs = -100.0;
    o.epochEndMs = 200.0;
    o.controlStartMs = -100.0;
    o.controlEndMs = 0.0;
    o.activeStartMs = 0.0;
    o.activeEndMs = 200.0;
    o.montage.dropUnplaced = true;
    CArrayMEDataSetzq target;
    if (!FuzzPromise::build(import, target)) {
        return;
    }
    const CEpochImport::Report& r = import.report();
    FuzzPromise::require(r.epochsUsed > 0 && r.samplesPerEpoch > 0, "an import without epochs");
    FuzzPromise::requireSound(target, r.channels.size(), 0, 0, 0);
    CMDTrialzq* trial = target.getSessionData(0)->getTrialzq(0);
    FuzzPromise::require(trial->getEpochCount() == r.epochsUsed &&
                             trial->getEpochLength() == r.samplesPerEpoch,
                         "epochs that differ from the report's");
    for (int c = 0; c < trial->getTotalChannel(); ++c) {
        FuzzPromise::require(trial->getChannel(c)->getRawData().size() ==
                                 static_cast<std::size_t>(r.epochsUsed * r.samplesPerEpoch),
                             "raw samples that do not fill the epochs");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFolder folder;
    const std::string path = writeRecording(folder, FuzzFolder::split(data, size, 3));
    CRecordingFile file;
    const CIoResult opened = file.open(path);
    if (!opened) {
        FuzzPromise::requireMessage(opened.message);
        FuzzPromise::require(!file.isOpen(), "a refused recording left open");
        return 0;
    }
    readStart(file);
    file.close();
    importEpochs(path);
    return 0;
}
