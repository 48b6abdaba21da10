// The epochs of every channel while they are read: one region per channel in a single
// anonymous mapping marked for huge pages (first-touch page faults on hundreds of megabytes
// cost more than the reading, notably on virtual machines). Each region is given back on its
// own once the data set holds a copy, so memory stays bounded by the epochs.
#pragma once

#include <cstddef>
#include <vector>

class CEpochStore {
public:
    CEpochStore() = default;
    ~CEpochStore();
    CEpochStore(const CEpochStore&) = delete;
    CEpochStore& operator=(const CEpochStore&) = delete;

    // Room for `channels` regions of `values` doubles each; false when memory runs out.
    bool allocate(std::size_t channels, std::size_t values);
    double* channel(std::size_t c) { return m_regions[c]; }
    std::size_t channelCount() const { return m_regions.size(); }
    // Give the memory of channel c back; its pointer becomes null.
    void release(std::size_t c);

private:
    void releaseAll();

    std::vector<double*> m_regions;
    std::size_t m_stride = 0; // bytes per region, whole pages
};
