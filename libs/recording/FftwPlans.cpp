// The planner's lock and fast transform sizes.
#include "FftwPlans.h"

namespace fftw_plans {

std::mutex& mutex() {
    static std::mutex m;
    return m;
}

long long niceSize(long long x) {
    for (long long n = x > 1 ? x : 1;; ++n) {
        long long r = n;
        for (long long p : {2, 3, 5}) {
            while (r % p == 0) {
                r /= p;
            }
        }
        if (r == 1) {
            return n;
        }
    }
}

} // namespace fftw_plans
