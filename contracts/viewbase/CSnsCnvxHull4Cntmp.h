// Convex-hull contour mesh of one channel type: the vertex holder (three vertices per hull
// triangle) and what the mesh was built for, so that a view rebuilds it only when needed.
#pragma once

#include "engine/CMVBzq.h"
#include "envelope/R3.h"
#include "envelope/Tri.h"

#include <memory>
#include <utility>
#include <vector>

class CM3Dzq;
class CMEGDatazq;

class CSnsCnvxHull4Cntmp {
public:
    // 0 when the mesh must be built again: no holder yet, another session, the session's
    // selection stamp moved (trial, channels or spectra changed), or the contour window key
    // (setWindowKey) or the colour key (setColorKey) differs from the one the mesh was built
    // for. Nonzero: the mesh is current.
    int check4update(CMEGDatazq* session);
    // Makes sure the holder exists with room for 3 vertices per triangle (at least 3). exact
    // nonzero sizes the holder exactly, else it only grows. 0 when the size cannot be
    // allocated (the holder keeps what it had).
    int checkInitTriVtx(const std::vector<R3>& pts, const std::vector<Tri>& tris, CM3Dzq* m3d,
                        bool exact);
    // The contour window that the colours of the next build stand for; the owning view sets it
    // before asking check4update.
    void setWindowKey(long long t0, long long f0, long long t1, long long f1);
    // A digest of everything else the colours stand for (colour scale, range, class,
    // component); the owning view sets it before asking check4update.
    void setColorKey(unsigned long long key) { m_colorKey = key; }
    // The window and colour keys become the one the mesh stands for; a build calls it when it
    // succeeded, so that an abandoned build never leaves a stale mesh marked current.
    void markBuiltWindow();
    // Finds the facets the draw shows (m_drawRuns): all of them, except, for a sensor array
    // open on one side like a helmet or a cap, the facets that close that side. The mesh itself
    // keeps every facet.
    void findDrawRuns(const std::vector<R3>& pts, const std::vector<Tri>& tris);
    // Frees the holder and forgets what the mesh was built for.
    void release();

    std::unique_ptr<CMVBzq> m_pTriVtx; // vertex holder; null until checkInitTriVtx succeeds
    CMEGDatazq* m_pMEGData = nullptr;  // session of the last build (written by the build)
    long long m_select = 0;            // that session's selection stamp (written by the build)
    long long m_winKey[4] = {0, 0, 0, 0};
    long long m_builtWinKey[4] = {-1, -1, -1, -1};
    unsigned long long m_colorKey = 0;
    unsigned long long m_builtColorKey = 0;
    std::vector<std::pair<long long, long long>> m_drawRuns; // facet ranges [first, end) drawn
};
