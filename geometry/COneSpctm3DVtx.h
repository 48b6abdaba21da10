// Vertex grid of one channel's spectrogram: one triangle strip per pair of neighbouring
// frequency columns, and a combined buffer joining them into a single strip for drawing.
#pragma once

#include "engine/CMVBzq.h"

#include <xmmintrin.h>

class CM3Dzq;

class COneSpctm3DVtx {
public:
    COneSpctm3DVtx();
    ~COneSpctm3DVtx();
    COneSpctm3DVtx(const COneSpctm3DVtx&) = delete;
    COneSpctm3DVtx& operator=(const COneSpctm3DVtx&) = delete;

    // Makes F - 1 strips of room for 2 * T vertices. Strips are kept (with their contents)
    // while T and F stay the same; null for T < 2, F < 2 or a failed allocation.
    CMVBzq* checkInitVtxBuf(long long T, long long F);
    // Joins every strip with at least 3 vertices into `combined`, linking neighbours with two
    // repeated vertices. Returns the vertices written; 0 (buffer untouched) when fewer than
    // two strips exist or nothing can be joined.
    long long combineVb4Spctm();

    // Vertex t of strip f (not the grid point (t, f)); only t < timePoints is accepted.
    // Missing vertices read as (0, 0, 0, 0).
    __m128 posTimFrq(long long t, long long f);
    bool getPosTF(long long t, long long f, __m128* out);
    int setNml4TimFrq(long long t, long long f, __m128& normal);
    __m128 cross(__m128& a, __m128& b);

    // Whole-grid normal passes over the lattice of drawn grid points (every copy of a point
    // gets the same normal): four neighbours, and six neighbours with diagonal-split quads.
    int normalOptim();
    int normalAll();

    int _01LockAll();
    int _02UnLockAll();
    int clean();
    // Forgets the strips without releasing them (they are no longer owned afterwards).
    int reset();

    // Hands the engine to the combined buffer and every strip (before makeContent).
    void setEngine(CM3Dzq* engine);

    long long timePoints = 0;
    long long freqPoints = 0;
    CMVBzq* strips = nullptr; // owned array of stripCount buffers
    long long stripCount = 0;
    CMVBzq combined;

private:
    void deleteStrips();
};
