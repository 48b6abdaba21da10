// Per-channel epoch vectors, their memory prepared before it is first written.
#include "CEpochStore.h"

#include <algorithm>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// Hints only: the memory works the same when the kernel ignores them.
void prepare(const double* data, std::size_t bytes) {
    const auto at = reinterpret_cast<std::uintptr_t>(data);
    constexpr std::uintptr_t kHuge = 2u << 20;
    const std::uintptr_t hugeFirst = (at + kHuge - 1) / kHuge * kHuge;
    const std::uintptr_t hugeEnd = (at + bytes) / kHuge * kHuge;
    if (hugeFirst < hugeEnd) {
        madvise(reinterpret_cast<void*>(hugeFirst), hugeEnd - hugeFirst, MADV_HUGEPAGE);
    }
#ifdef MADV_POPULATE_WRITE
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t first = (at + page - 1) / page * page;
    const std::uintptr_t end = (at + bytes) / page * page;
    if (first < end) {
        madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
    }
#endif
}

} // namespace

void CEpochStore::allocate(std::size_t channels, std::size_t values) {
    m_channels.clear();
    m_channels.resize(channels);
    for (auto& c : m_channels) {
        c.reserve(values);
        prepare(c.data(), values * sizeof(double));
    }
}

void CEpochStore::append(std::size_t c, std::span<const double> samples) {
    m_channels[c].insert(m_channels[c].end(), samples.begin(), samples.end());
}

void CEpochStore::drop(const std::vector<char>& bad, std::size_t length) {
    for (auto& c : m_channels) {
        std::size_t kept = 0;
        for (std::size_t e = 0; e < bad.size(); ++e) {
            if (bad[e]) {
                continue;
            }
            if (kept != e) {
                std::copy_n(c.begin() + static_cast<std::ptrdiff_t>(e * length), length,
                            c.begin() + static_cast<std::ptrdiff_t>(kept * length));
            }
            ++kept;
        }
        c.resize(kept * length);
    }
}
