// Renderer layer computing per-pair normals while the strips are filled.
#pragma once

#include "engine/D3DVTX_PNCd.h"
#include "render/CMEGSpctm3DRnd.h"

class CMEGSpctm3DRnd02Nml : public CMEGSpctm3DRnd {
public:
    // Both normals straight up: (0, 1, 0, 1).
    int normalCmpBsc(D3DVTX_PNCd* vtx, long long first, long long second);
    // Forward-difference normals of the pair (t, f), (t, f + 1); rows t + 1 and column f + 1
    // must exist. value(t, f) = rows[t][f]. The last argument is not used.
    int normalCmpStd(double** rows, long long t, long long f, D3DVTX_PNCd* vtx, long long first,
                     long long second, long long);
    // The same with one array of row length F: value(t, f) = grid[t * F + f].
    int normalCmpStdx(double* grid, long long t, long long f, long long F, D3DVTX_PNCd* vtx,
                      long long first, long long second, long long);

private:
    // The shared computation from the four heights around the pair's quad.
    void stdPair(double v00, double v01, double v10, double v11, D3DVTX_PNCd* vtx, long long first,
                 long long second) const;
};
