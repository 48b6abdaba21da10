// Vector helpers shared by every normal computation of the spectrogram surface. Inline: the
// drawings call them once or more per vertex.
#pragma once

#include <cmath>
#include <emmintrin.h>
#include <limits>
#include <xmmintrin.h>

class CNmlMath {
public:
    // Divides all four components by the length of the first three, taken in 32-bit floats:
    // an infinite squared length gives four NaNs, a zero length four zeros.
    static __m128 normalize(__m128 v) {
        const __m128 sq = _mm_mul_ps(v, v);
        alignas(16) float q[4];
        _mm_store_ps(q, sq);
        const float sum = q[0] + q[1] + q[2];
        if (std::isinf(sum))
            return _mm_set1_ps(std::numeric_limits<float>::quiet_NaN());
        const float len = std::sqrt(sum);
        if (len == 0.0f)
            return _mm_setzero_ps();
        return _mm_div_ps(v, _mm_set1_ps(len));
    }
    static void normalize(float v[4]) { _mm_storeu_ps(v, normalize(_mm_loadu_ps(v))); }
    // Forward-difference normals of the pair (t, f), (t, f + 1) from the heights of the quad
    // (first digit time, second frequency) and the up component s; differences in 32 bits.
    // The second vertex's frequency difference runs across the quad's diagonal.
    static void stdPair(float h00, float h01, float h10, float h11, float s, float* first,
                        float* second) {
        const __m128 a = _mm_setr_ps(h00 - h10, s, h00 - h01, 1.0f);
        const __m128 b = _mm_setr_ps(h01 - h11, s, h01 - h10, 1.0f);
        // Both squared lengths at once, summed in the order normalize uses: (x*x + y*y) + z*z.
        const __m128 sqA = _mm_mul_ps(a, a);
        const __m128 sqB = _mm_mul_ps(b, b);
        const __m128 xy = _mm_unpacklo_ps(sqA, sqB); // xA xB yA yB
        const __m128 zw = _mm_unpackhi_ps(sqA, sqB); // zA zB wA wB
        const __m128 sum = _mm_add_ps(_mm_add_ps(xy, _mm_movehl_ps(xy, xy)), zw);
        const __m128 len = _mm_sqrt_ps(sum);
        // Infinite or zero lengths (lanes 0 and 1) take the general path.
        const __m128 inf = _mm_set1_ps(std::numeric_limits<float>::infinity());
        const __m128 special =
            _mm_or_ps(_mm_cmpeq_ps(sum, inf), _mm_cmpeq_ps(len, _mm_setzero_ps()));
        if (_mm_movemask_ps(special) & 3) {
            _mm_storeu_ps(first, normalize(a));
            _mm_storeu_ps(second, normalize(b));
            return;
        }
        _mm_storeu_ps(first, _mm_div_ps(a, _mm_shuffle_ps(len, len, _MM_SHUFFLE(0, 0, 0, 0))));
        _mm_storeu_ps(second, _mm_div_ps(b, _mm_shuffle_ps(len, len, _MM_SHUFFLE(1, 1, 1, 1))));
    }
    // Cross product of the first three components; the fourth is 0.
    static __m128 cross(__m128 a, __m128 b) {
        const __m128 aYZX = _mm_shuffle_ps(a, a, _MM_SHUFFLE(3, 0, 2, 1));
        const __m128 bZXY = _mm_shuffle_ps(b, b, _MM_SHUFFLE(3, 1, 0, 2));
        const __m128 aZXY = _mm_shuffle_ps(a, a, _MM_SHUFFLE(3, 1, 0, 2));
        const __m128 bYZX = _mm_shuffle_ps(b, b, _MM_SHUFFLE(3, 0, 2, 1));
        const __m128 c = _mm_sub_ps(_mm_mul_ps(aYZX, bZXY), _mm_mul_ps(aZXY, bYZX));
        // The fourth lane holds w*w - w*w, which is NaN for infinite w: clear it.
        return _mm_and_ps(c, _mm_castsi128_ps(_mm_setr_epi32(-1, -1, -1, 0)));
    }
};
