// The NumPy door: one .npy array alone (CNpyArray), and a folder of spectra (power.npy,
// freqs.npy, times.npy, ch_names.txt, units.txt; FuzzFolder::split parts) made into a data set.
#include "CNpyArray.h"
#include "FuzzFolder.h"
#include "FuzzPromise.h"
#include "io/CSpectraImport.h"

#include <cstddef>
#include <cstdint>

namespace {

void readArray(const FuzzFolder& folder, std::string_view bytes) {
    CNpyArray array;
    if (!array.read(folder.write("array.npy", bytes))) {
        FuzzPromise::requireMessage(array.error());
        return;
    }
    std::size_t count = array.isComplex() ? 2 : 1;
    for (long long d : array.shape()) {
        FuzzPromise::require(d >= 0, "a negative dimension");
        count *= static_cast<std::size_t>(d);
    }
    FuzzPromise::require(array.values().size() == count, "values that do not fill the shape");
}

void importFolder(const FuzzFolder& folder, const std::vector<std::string_view>& parts) {
    const char* names[] = {"power.npy", "freqs.npy", "times.npy", "ch_names.txt", "units.txt"};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        // An empty units part stands for no units.txt, which the folder may leave out.
        if (i == 4 && parts[i].empty()) {
            folder.remove(names[i]);
        } else {
            folder.write(names[i], parts[i]);
        }
    }
    CSpectraImport import;
    import.options().path = folder.path();
    import.options().montage.layouts = {"eeg1010"};
    import.options().montage.dropUnplaced = true;
    CArrayMEDataSetzq data;
    if (!FuzzPromise::build(import, data)) {
        return;
    }
    const CSpectraImport::Report& r = import.report();
    FuzzPromise::requireSound(data, r.channels.size(), 0, r.timePoints, r.frequencies);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFolder folder;
    const std::vector<std::string_view> parts = FuzzFolder::split(data, size, 5);
    readArray(folder, parts[0]);
    if (parts[1].data() || size > parts[0].size()) {
        importFolder(folder, parts);
    }
    return 0;
}
