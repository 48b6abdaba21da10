// Convex hull through Qhull's reentrant C library. Qhull reports into a memory stream so that
// nothing reaches stderr; its messages become getLastError().
#include "envelope/ConvexHull3D.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <unordered_map>

extern "C" {
#include "libqhull_r/qhull_ra.h"
}

namespace {

using Vec = std::array<double, 3>;

bool finite(const R3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

Vec sub(const Vec& a, const Vec& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
Vec cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double dot(const Vec& a, const Vec& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Vec vec(const R3& p) {
    return {p.x, p.y, p.z};
}

// Merge tolerance: a fraction of the bounding-box diagonal of the finite points.
constexpr double kMergeFraction = 1e-6;

struct Box {
    Vec lo{0, 0, 0};
    double tol = 0.0;
};

Box boundingBox(const std::vector<R3>& pts) {
    Vec lo{HUGE_VAL, HUGE_VAL, HUGE_VAL}, hi{-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (const R3& p : pts) {
        if (!finite(p))
            continue;
        const Vec v = vec(p);
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], v[k]);
            hi[k] = std::max(hi[k], v[k]);
        }
    }
    if (lo[0] > hi[0])
        return {};
    const Vec d = sub(hi, lo);
    return {lo, kMergeFraction * std::sqrt(dot(d, d))};
}

// Grid cells of the tolerance's size: equal points lie in the same or neighbouring cells.
using Cell = std::array<long long, 3>;
struct CellHash {
    size_t operator()(const Cell& c) const {
        return std::hash<long long>()(c[0] * 73856093LL ^ c[1] * 19349663LL ^ c[2] * 83492791LL);
    }
};

Cell cellOf(const Vec& v, const Box& box) {
    Cell c{0, 0, 0};
    if (box.tol > 0.0) {
        for (int k = 0; k < 3; ++k)
            c[k] = static_cast<long long>(std::floor((v[k] - box.lo[k]) / box.tol));
    }
    return c;
}

bool near(const R3& p, const R3& q, double tol) {
    return std::fabs(p.x - q.x) <= tol && std::fabs(p.y - q.y) <= tol &&
           std::fabs(p.z - q.z) <= tol;
}

// A place already in the unique list within tolerance of p, or -1.
int findNear(const R3& p, const Box& box,
             const std::unordered_map<Cell, std::vector<int>, CellHash>& grid,
             const std::vector<R3>& unique) {
    const Cell c = cellOf(vec(p), box);
    for (long long dx = -1; dx <= 1; ++dx)
        for (long long dy = -1; dy <= 1; ++dy)
            for (long long dz = -1; dz <= 1; ++dz) {
                const auto it = grid.find({c[0] + dx, c[1] + dy, c[2] + dz});
                if (it == grid.end())
                    continue;
                for (int u : it->second) {
                    if (near(p, unique[static_cast<size_t>(u)], box.tol))
                        return u;
                }
            }
    return -1;
}

// Qhull's state with its message stream; frees both when done.
class QhullRun {
public:
    QhullRun() : m_err(open_memstream(&m_text, &m_size)) { qh_zero(&m_qh, m_err); }
    ~QhullRun() {
        qh_freeqhull(&m_qh, !qh_ALL);
        int curlong = 0, totlong = 0;
        qh_memfreeshort(&m_qh, &curlong, &totlong);
        if (m_err)
            std::fclose(m_err);
        std::free(m_text);
    }
    QhullRun(const QhullRun&) = delete;
    QhullRun& operator=(const QhullRun&) = delete;

    // Hull of the points, triangulated; 0 on success.
    int run(std::vector<coordT>& coords) {
        if (!m_err)
            return -1;
        char options[] = "qhull Qt";
        return qh_new_qhull(&m_qh, 3, static_cast<int>(coords.size() / 3), coords.data(), False,
                            options, nullptr, m_err);
    }
    qhT* qh() { return &m_qh; }
    std::string message() {
        if (m_err)
            std::fflush(m_err);
        return m_text ? std::string(m_text, m_size) : std::string();
    }

private:
    qhT m_qh;
    char* m_text = nullptr;
    size_t m_size = 0;
    FILE* m_err;
};

// The triangle a, b, c of the facet, wound so that its normal points away from `inside`.
Tri makeTri(const std::vector<R3>& pts, int a, int b, int c, const Vec& inside,
            const double* facetNormal) {
    Vec n = cross(sub(vec(pts[b]), vec(pts[a])), sub(vec(pts[c]), vec(pts[a])));
    const Vec centre = {(pts[a].x + pts[b].x + pts[c].x) / 3.0,
                        (pts[a].y + pts[b].y + pts[c].y) / 3.0,
                        (pts[a].z + pts[b].z + pts[c].z) / 3.0};
    if (dot(n, sub(centre, inside)) < 0.0) {
        std::swap(b, c);
        n = {-n[0], -n[1], -n[2]};
    }
    const double len = std::sqrt(dot(n, n));
    const Vec unit = len > 0.0 ? Vec{n[0] / len, n[1] / len, n[2] / len}
                               : Vec{facetNormal[0], facetNormal[1], facetNormal[2]};
    Tri t;
    t.a = a;
    t.b = b;
    t.c = c;
    t.area = static_cast<float>(0.5 * len);
    t.nx = static_cast<float>(unit[0]);
    t.ny = static_cast<float>(unit[1]);
    t.nz = static_cast<float>(unit[2]);
    return t;
}

// Fill ab, bc and ac with the triangle sharing that edge.
void linkNeighbours(std::vector<Tri>& tris) {
    using Edge = std::pair<int, int>;
    auto key = [](int u, int v) { return Edge(std::min(u, v), std::max(u, v)); };
    std::map<Edge, std::vector<int>> owners;
    for (size_t i = 0; i < tris.size(); ++i) {
        const Tri& t = tris[i];
        for (const Edge& e : {key(t.a, t.b), key(t.b, t.c), key(t.c, t.a)})
            owners[e].push_back(static_cast<int>(i));
    }
    auto other = [&](int self, int u, int v) {
        for (int j : owners[key(u, v)]) {
            if (j != self)
                return j;
        }
        return -1;
    };
    for (size_t i = 0; i < tris.size(); ++i) {
        Tri& t = tris[i];
        const int self = static_cast<int>(i);
        t.ab = other(self, t.a, t.b);
        t.bc = other(self, t.b, t.c);
        t.ac = other(self, t.c, t.a);
    }
}

} // namespace

int ConvexHull3D::de_duplicateR3(const std::vector<R3>& pts, std::vector<int>& outx,
                                 std::vector<R3>& pts2) {
    outx.assign(pts.size(), -1);
    pts2.clear();
    const Box box = boundingBox(pts);
    std::unordered_map<Cell, std::vector<int>, CellHash> grid;
    int result = 1;
    for (size_t i = 0; i < pts.size(); ++i) {
        const R3& p = pts[i];
        const bool ok = finite(p);
        result = ok ? result : 0;
        int u = ok ? findNear(p, box, grid, pts2) : -1;
        if (u < 0) {
            u = static_cast<int>(pts2.size());
            pts2.push_back(p);
            if (ok)
                grid[cellOf(vec(p), box)].push_back(u);
        }
        outx[i] = u;
    }
    return result;
}

int ConvexHull3D::NewtonApple_hull_3D(const std::vector<R3>& pts, std::vector<Tri>& hulk) {
    hulk.clear();
    if (pts.size() < 4)
        return failHull(hulk, "a hull needs at least four points");
    if (pts.size() > static_cast<size_t>(1) << 24)
        return failHull(hulk, "too many points for a hull");
    std::vector<coordT> coords;
    coords.reserve(pts.size() * 3);
    Vec inside{0, 0, 0};
    for (const R3& p : pts) {
        if (!finite(p))
            return failHull(hulk, "a point has a non-finite coordinate");
        coords.insert(coords.end(), {p.x, p.y, p.z});
        for (int k = 0; k < 3; ++k)
            inside[k] += vec(p)[k] / static_cast<double>(pts.size());
    }
    QhullRun run;
    if (run.run(coords) != 0)
        return failHull(hulk,
                        "Qhull failed (flat, collinear or repeated points?): " + run.message());
    qhT* qh = run.qh();
    facetT* facet;
    FORALLfacets {
        if (qh_setsize(qh, facet->vertices) != 3)
            continue;
        int corner[3], k = 0;
        vertexT *vertex, **vertexp;
        FOREACHvertex_(facet->vertices) corner[k++] = qh_pointid(qh, vertex->point);
        hulk.push_back(makeTri(pts, corner[0], corner[1], corner[2], inside, facet->normal));
    }
    for (size_t i = 0; i < hulk.size(); ++i)
        hulk[i].id = static_cast<int>(i);
    linkNeighbours(hulk);
    m_error.clear();
    return hulk.empty() ? failHull(hulk, "Qhull gave no triangles") : 1;
}

int ConvexHull3D::failHull(std::vector<Tri>& hulk, std::string message) {
    hulk.clear();
    m_error = std::move(message);
    return 0;
}
