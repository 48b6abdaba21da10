// Fan geometry of a contour surface for one channel type: one fan record per channel and one
// vertex array shared by all fans.
#pragma once

#include "engine/CMVBzq.h"
#include "viewbase/CSnsFan4ContourMapx.h"

#include <memory>
#include <vector>

class CM3Dzq;

class CSnsFanData4ContourMapx {
public:
    // Default neighbour capacities (centre included). MEG: the Neuromag 306 helmet carries
    // three channels per place and up to 7 places lie within the default 50 mm, so 24 leaves
    // room for the co-located pair and six rings of triplets. EEG: a 64-electrode cap has at
    // most 8 electrodes within 50 mm.
    static constexpr int kMegNbrCapacity = 24;
    static constexpr int kEegNbrCapacity = 9;

    // Makes sure there are `count` fan places, each with a record, and a vertex holder with
    // room for every fan at full capacity of the channel type (0 MEG, 1 EEG). exact nonzero
    // sizes the holder exactly, else it only grows. 0 for an unknown type, a negative count or
    // a size that cannot be allocated (what was there is kept).
    int checkInitTriSnsVtx(int chnType, CM3Dzq* m3d, int count, bool exact);
    // Fan record at place i, null for an empty place or when i lies outside the list.
    CSnsFan4ContourMapx* getFanAt(int i);
    int getFanPlaces() const { return static_cast<int>(m_fans.size()); }
    // Capacity of the channel type, 0 for an unknown type.
    int getNbrCapacity(int chnType) const;
    // Frees the records and the vertex holder.
    void release();

    std::unique_ptr<CMVBzq> m_pTriVtx; // vertex holder; null until checkInitTriSnsVtx succeeds
    int m_nFan = 0;                    // fans built
    int m_nbrCapMeg = kMegNbrCapacity;
    int m_nbrCapEeg = kEegNbrCapacity;
    std::vector<std::unique_ptr<CSnsFan4ContourMapx>> m_fans;
};
