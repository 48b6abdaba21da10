// The MNE-Python door: an -tfr.h5 file made into a data set (CSpectraImport, CMneTfrFile).
#include "FuzzFolder.h"
#include "FuzzPromise.h"
#include "io/CSpectraImport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFolder folder;
    CSpectraImport import;
    import.options().path =
        folder.write("fuzz-tfr.h5", std::string_view(reinterpret_cast<const char*>(data), size));
    import.options().montage.layouts = {"eeg1010"};
    import.options().montage.dropUnplaced = true;
    CArrayMEDataSetzq target;
    if (!FuzzPromise::build(import, target)) {
        return 0;
    }
    const CSpectraImport::Report& r = import.report();
    FuzzPromise::require(!r.conditions.empty(), "a file read without a condition");
    FuzzPromise::requireSound(target, r.channels.size(), 0, r.timePoints, r.frequencies);
    return 0;
}
