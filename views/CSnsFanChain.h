// The neighbours of one sensor fan while it is built: a fan keeps its nearest neighbours (by
// distance to the centre) and orders them as a nearest-neighbour chain, each followed by the
// remaining neighbour nearest to it.
#pragma once

#include "engine/D3DVTX_PNCd.h"

#include <cstddef>
#include <vector>

class CSnsFanChain {
public:
    // Starts a fan with no neighbours.
    void begin() { m_dist.clear(); }
    // Records a neighbour appended at the next place, dist its distance to the centre.
    void add(float dist) { m_dist.push_back(dist); }
    // Place of the neighbour a candidate at dist replaces in a full fan: the farthest one (on
    // equal distances the lowest place), when the candidate is strictly nearer; -1 to drop it.
    int replacedPlace(float dist) const;
    void replace(int place, float dist) { m_dist[static_cast<size_t>(place)] = dist; }
    // Orders the neighbours: nbr[0 .. n-1] are their vertices (right after the centre) and
    // chn their channels. The neighbour nearest to the centre starts the chain; each later
    // place takes the remaining neighbour nearest to the one before it (on equal distances the
    // lower place). Whole vertex records move, with their channels; each neighbour's normal
    // holds its distance to the one before it (the first: to the centre).
    void order(D3DVTX_PNCd* nbr, std::vector<unsigned>& chn);

    // Distance of two positions in 32-bit arithmetic.
    static float distance(const float a[3], const float b[3]);

private:
    void swapPlaces(D3DVTX_PNCd* nbr, std::vector<unsigned>& chn, std::size_t a, std::size_t b);

    std::vector<float> m_dist; // distance of each neighbour to the centre, by place
};
