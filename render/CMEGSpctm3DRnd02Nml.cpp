// Renderer layer computing per-pair normals while the strips are filled.
#include "render/CMEGSpctm3DRnd02Nml.h"

#include "geometry/CNmlMath.h"

int CMEGSpctm3DRnd02Nml::normalCmpBsc(D3DVTX_PNCd* vtx, long long first, long long second) {
    if (!vtx)
        return 0;
    for (long long k : {first, second}) {
        float* n = vtx[k].nml;
        n[0] = 0.0f;
        n[1] = 1.0f;
        n[2] = 0.0f;
        n[3] = 1.0f;
    }
    return 1;
}

int CMEGSpctm3DRnd02Nml::normalCmpStd(double** rows, long long t, long long f, D3DVTX_PNCd* vtx,
                                      long long first, long long second, long long) {
    if (!rows || !rows[t] || !rows[t + 1] || !vtx)
        return 0;
    stdPair(rows[t][f], rows[t][f + 1], rows[t + 1][f], rows[t + 1][f + 1], vtx, first, second);
    return 1;
}

int CMEGSpctm3DRnd02Nml::normalCmpStdx(double* grid, long long t, long long f, long long F,
                                       D3DVTX_PNCd* vtx, long long first, long long second,
                                       long long) {
    if (!grid || !vtx)
        return 0;
    const double* row = grid + t * F + f;
    stdPair(row[0], row[1], row[F], row[F + 1], vtx, first, second);
    return 1;
}

void CMEGSpctm3DRnd02Nml::stdPair(double v00, double v01, double v10, double v11, D3DVTX_PNCd* vtx,
                                  long long first, long long second) const {
    // Heights are rounded to 32-bit floats before the differences are taken.
    CNmlMath::stdPair(static_cast<float>(v00 * scaleValue), static_cast<float>(v01 * scaleValue),
                      static_cast<float>(v10 * scaleValue), static_cast<float>(v11 * scaleValue),
                      static_cast<float>((scaleTime + scaleFreq) * 0.5), vtx[first].nml,
                      vtx[second].nml);
}
