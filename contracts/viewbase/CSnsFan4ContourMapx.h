// One sensor fan of a fan contour surface: a centre sensor and its ordered neighbours, stored
// as a contiguous run of vertices in the fan data's vertex array.
#pragma once

#include <vector>

class CSnsFan4ContourMapx {
public:
    int m_chnIdx = -1;              // channel of the centre sensor
    std::vector<unsigned> m_nbrChn; // channel of each neighbour vertex, in vertex order
    int m_nNbr = 0;                 // neighbours in the fan
    long long m_vtxFirst = 0;       // centre vertex
    long long m_vtxEnd = 0;         // one past the last neighbour vertex
};
