// The 3D convex hull of sensor positions, computed with Qhull.
#pragma once

#include "envelope/R3.h"
#include "envelope/Tri.h"

#include <string>
#include <vector>

class ConvexHull3D {
public:
    // Merge points that lie at one place. Two points are the same when every coordinate
    // differs by at most 1e-6 of the diagonal of the points' bounding box (a fraction of a
    // micrometre for a head in metres). outx[i] becomes the index into pts2 of input point i;
    // pts2 receives a whole copy of the first record at each place, in input order, so id and
    // chIdx tell where it came from. Points with a non-finite coordinate are never merged.
    // 1 on success; 0 when some coordinate is not finite (the lists are filled all the same).
    int de_duplicateR3(const std::vector<R3>& pts, std::vector<int>& outx, std::vector<R3>& pts2);

    // Replace hulk with the triangles of the convex hull of pts (points already unique).
    // Corners index pts; each triangle winds counter-clockwise seen from outside and carries
    // its outward unit normal. 1 on success; 0 with hulk empty for fewer than four points,
    // flat or collinear sets, non-finite coordinates or a Qhull failure (see getLastError()).
    int NewtonApple_hull_3D(const std::vector<R3>& pts, std::vector<Tri>& hulk);

    // Why the last hull failed ("" after a success).
    const std::string& getLastError() const { return m_error; }

private:
    int failHull(std::vector<Tri>& hulk, std::string message);

    std::string m_error;
};
