// Per-channel epoch regions in one anonymous mapping.
#include "CEpochStore.h"

#include <sys/mman.h>
#include <unistd.h>

CEpochStore::~CEpochStore() {
    releaseAll();
}

void CEpochStore::releaseAll() {
    for (std::size_t c = 0; c < m_regions.size(); ++c) {
        release(c);
    }
    m_regions.clear();
}

bool CEpochStore::allocate(std::size_t channels, std::size_t values) {
    releaseAll();
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    m_stride = (values * sizeof(double) + page - 1) / page * page;
    if (channels == 0 || m_stride == 0) {
        return true;
    }
    void* base = mmap(nullptr, channels * m_stride, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) {
        return false;
    }
    madvise(base, channels * m_stride, MADV_HUGEPAGE); // a hint; plain pages work as well
    for (std::size_t c = 0; c < channels; ++c) {
        m_regions.push_back(reinterpret_cast<double*>(static_cast<char*>(base) + c * m_stride));
    }
    return true;
}

void CEpochStore::release(std::size_t c) {
    if (m_regions[c]) {
        munmap(m_regions[c], m_stride);
        m_regions[c] = nullptr;
    }
}
