// The epochs of every channel while they are read: one vector per channel, which the data set
// then takes over without a copy, so memory stays bounded by the epochs. The vectors' memory is
// marked for huge pages and faulted in ahead, in one call per vector, before it is first
// written: touching hundreds of megabytes page by page costs more than the reading, notably on
// virtual machines.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

class CEpochStore {
public:
    // Room for `channels` vectors of `values` doubles each, empty; throws std::bad_alloc when
    // memory runs out.
    void allocate(std::size_t channels, std::size_t values);
    // Samples added at the end of channel c (within the room allocated).
    void append(std::size_t c, std::span<const double> samples);
    const double* channel(std::size_t c) const { return m_channels[c].data(); }
    std::size_t channelCount() const { return m_channels.size(); }
    // Leave out the epochs (of `length` samples each) marked in `bad`, keeping the others in
    // order.
    void drop(const std::vector<char>& bad, std::size_t length);
    // Channel c's vector, for the data set to take.
    std::vector<double>& vector(std::size_t c) { return m_channels[c]; }

private:
    std::vector<std::vector<double>> m_channels;
};
