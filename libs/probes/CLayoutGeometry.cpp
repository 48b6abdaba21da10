// Geometry checks of a layout: zeros, mixed units, head radius and unit, coincident sensors.
#include "CLayoutGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

using Channel = CSensorLayout::Channel;
using Unit = CSensorLayout::Unit;

constexpr double kMinRadius = 0.05;   // metres
constexpr double kMaxRadius = 0.30;   // metres
constexpr double kUnitsApart = 5.0;   // farther from the median distance means another unit
constexpr double kMinSpread = 0.1;    // smallest / largest variance for fitting a sphere
constexpr double kMinDistance = 1e-3; // metres between sensors at different places
constexpr size_t kUnitChannels = 3;   // MEG channels that one sensor unit holds at most
constexpr double kInch = 0.0254;
constexpr Unit kUnits[] = {Unit::Metre, Unit::Centimetre, Unit::Millimetre};

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", v);
    return text;
}

// A length for a person: m from 1 m up, cm from 1 cm up, else mm.
std::string length(double metres) {
    if (metres >= 1.0)
        return number(metres) + " m";
    return metres >= 0.01 ? number(metres * 100.0) + " cm" : number(metres * 1000.0) + " mm";
}

const char* unitName(Unit unit) {
    switch (unit) {
    case Unit::Centimetre:
        return "cm";
    case Unit::Millimetre:
        return "mm";
    default:
        return "m";
    }
}

bool plausibleRadius(double metres) {
    return metres >= kMinRadius && metres <= kMaxRadius;
}

double norm(const double* v) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

double distance(const double* a, const double* b) {
    const double d[3] = {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
    return norm(d);
}

// Smallest over largest eigenvalue of the symmetric 3x3 matrix `a` (closed form for symmetric
// matrices); 0 when `a` is zero.
double eigenRatio(const double a[3][3]) {
    const double off = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
    const double q = (a[0][0] + a[1][1] + a[2][2]) / 3.0;
    const double p2 = (a[0][0] - q) * (a[0][0] - q) + (a[1][1] - q) * (a[1][1] - q) +
                      (a[2][2] - q) * (a[2][2] - q) + 2.0 * off;
    if (!(p2 > 0.0))
        return q > 0.0 ? 1.0 : 0.0;
    const double p = std::sqrt(p2 / 6.0);
    double b[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            b[i][j] = (a[i][j] - (i == j ? q : 0.0)) / p;
    }
    const double det = b[0][0] * (b[1][1] * b[2][2] - b[1][2] * b[2][1]) -
                       b[0][1] * (b[1][0] * b[2][2] - b[1][2] * b[2][0]) +
                       b[0][2] * (b[1][0] * b[2][1] - b[1][1] * b[2][0]);
    const double phi = std::acos(std::clamp(det / 2.0, -1.0, 1.0)) / 3.0;
    const double largest = q + 2.0 * p * std::cos(phi);
    const double smallest = q + 2.0 * p * std::cos(phi + 2.0 * M_PI / 3.0);
    return largest > 0.0 ? std::max(smallest, 0.0) / largest : 0.0;
}

// Solves the 4x4 system a x = b in place (partial pivoting); false when it is singular.
bool solve4(double a[4][5]) {
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r) {
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c]))
                pivot = r;
        }
        if (!(std::fabs(a[pivot][c]) > 1e-300))
            return false;
        std::swap(a[c], a[pivot]);
        for (int r = 0; r < 4; ++r) {
            const double f = r == c ? 0.0 : a[r][c] / a[c][c];
            for (int k = c; k < 5; ++k)
                a[r][k] -= f * a[c][k];
        }
    }
    for (int r = 0; r < 4; ++r)
        a[r][4] /= a[r][r];
    return true;
}

// Least-squares sphere through the positions (|p - c|^2 = r^2 as a linear system in c and
// r^2 - |c|^2, relative to the mean for conditioning); false when the positions do not spread
// in all three directions enough to fix a centre.
bool fitSphereCentre(const std::vector<Channel>& channels, double centre[3]) {
    const double n = static_cast<double>(channels.size());
    double mean[3] = {0.0, 0.0, 0.0};
    for (const Channel& c : channels) {
        for (int k = 0; k < 3; ++k)
            mean[k] += c.pos[k] / n;
    }
    double cov[3][3] = {};
    double normal[4][5] = {};
    for (const Channel& c : channels) {
        const double u[3] = {c.pos[0] - mean[0], c.pos[1] - mean[1], c.pos[2] - mean[2]};
        const double row[4] = {2.0 * u[0], 2.0 * u[1], 2.0 * u[2], 1.0};
        const double rhs = u[0] * u[0] + u[1] * u[1] + u[2] * u[2];
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j)
                normal[i][j] += row[i] * row[j];
            normal[i][4] += row[i] * rhs;
            if (i < 3) {
                for (int j = 0; j < 3; ++j)
                    cov[i][j] += u[i] * u[j];
            }
        }
    }
    if (channels.size() < 4 || !(eigenRatio(cov) >= kMinSpread) || !solve4(normal))
        return false;
    for (int k = 0; k < 3; ++k)
        centre[k] = mean[k] + normal[k][4];
    return std::isfinite(norm(centre));
}

// Positions sorted by the cube of side `size` around `origin` that holds them.
using Cell = std::array<long long, 3>;
using Cells = std::vector<std::pair<Cell, size_t>>;

Cell cellOf(const double* p, const double* origin, double size, int neighbour) {
    const int shift[3] = {neighbour % 3 - 1, neighbour / 3 % 3 - 1, neighbour / 9 - 1};
    Cell cell;
    for (int k = 0; k < 3; ++k) {
        const double index = std::floor((p[k] - origin[k]) / size) + shift[k];
        cell[k] = static_cast<long long>(std::clamp(index, -1e15, 1e15));
    }
    return cell;
}

constexpr int kOwnCell = 13; // the middle of the 27 neighbour cells

Cells sortedCells(const std::vector<Channel>& channels, const double* origin, double size) {
    Cells cells;
    cells.reserve(channels.size());
    for (size_t i = 0; i < channels.size(); ++i)
        cells.emplace_back(cellOf(channels[i].pos, origin, size, kOwnCell), i);
    std::sort(cells.begin(), cells.end());
    return cells;
}

// The channels before channel i that lie less than `size` from it, in order.
std::vector<size_t> nearEarlier(const Cells& cells, const std::vector<Channel>& channels, size_t i,
                                const double* origin, double size) {
    std::vector<size_t> near;
    for (int n = 0; n < 27; ++n) {
        const Cell cell = cellOf(channels[i].pos, origin, size, n);
        auto it = std::lower_bound(cells.begin(), cells.end(), std::make_pair(cell, size_t{0}));
        for (; it != cells.end() && it->first == cell; ++it) {
            if (it->second < i && distance(channels[i].pos, channels[it->second].pos) < size)
                near.push_back(it->second);
        }
    }
    std::sort(near.begin(), near.end());
    return near;
}

} // namespace

CLayoutGeometry::CLayoutGeometry(const std::vector<Channel>& channels,
                                 const std::vector<int>& lines)
    : m_channels(channels), m_lines(lines) {}

double CLayoutGeometry::metresPer(Unit unit) {
    switch (unit) {
    case Unit::Centimetre:
        return 0.01;
    case Unit::Millimetre:
        return 0.001;
    default:
        return 1.0;
    }
}

bool CLayoutGeometry::check(Unit& unit, const std::string& statedBy) {
    if (!checkNotAllZero() || !checkUnitsAgree())
        return false;
    findCentre();
    return settleUnit(unit, statedBy) && checkApart(metresPer(unit));
}

bool CLayoutGeometry::checkNotAllZero() {
    for (const Channel& c : m_channels) {
        if (norm(c.pos) > 0.0)
            return true;
    }
    return fail("all " + std::to_string(m_channels.size()) + " positions are (0, 0, 0)");
}

bool CLayoutGeometry::checkUnitsAgree() {
    std::vector<double> distances;
    distances.reserve(m_channels.size());
    for (size_t i = 0; i < m_channels.size(); ++i) {
        distances.push_back(norm(m_channels[i].pos));
        if (distances.back() == 0.0)
            return failAt(i, "lies at the origin (0, 0, 0), inside the head");
    }
    std::vector<double> sorted = distances;
    auto middle = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
    std::nth_element(sorted.begin(), middle, sorted.end());
    const double median = *middle;
    for (size_t i = 0; i < m_channels.size(); ++i) {
        const double d = distances[i];
        if (d * kUnitsApart >= median && d <= median * kUnitsApart)
            continue;
        const double factor = std::max(d, median) / std::min(d, median);
        const double decades = std::round(std::log10(factor));
        const char* pair = decades == 1.0   ? ", as cm and mm would be"
                           : decades == 2.0 ? ", as m and cm would be"
                           : decades == 3.0 ? ", as m and mm would be"
                                            : "";
        return failAt(i, "lies " + number(d) + " from the origin but the median sensor " +
                             number(median) + ": the positions mix units" + pair + " (" +
                             number(factor) + " times apart)");
    }
    return true;
}

void CLayoutGeometry::findCentre() {
    if (!fitSphereCentre(m_channels, m_centre))
        std::fill(m_centre, m_centre + 3, 0.0);
    m_radius = 0.0;
    for (const Channel& c : m_channels)
        m_radius += distance(c.pos, m_centre) / static_cast<double>(m_channels.size());
}

bool CLayoutGeometry::settleUnit(Unit& unit, const std::string& statedBy) {
    if (unit != Unit::Auto && plausibleRadius(m_radius * metresPer(unit)))
        return true;
    Unit fitting = Unit::Auto;
    for (Unit u : kUnits) {
        if (plausibleRadius(m_radius * metresPer(u)))
            fitting = u;
    }
    if (unit == Unit::Auto && fitting != Unit::Auto) {
        unit = fitting;
        return true;
    }
    const std::string head = " from their centre on average, but a head's radius is " +
                             length(kMinRadius) + " to " + length(kMaxRadius);
    if (unit != Unit::Auto) {
        const std::string hint = fitting == Unit::Auto
                                     ? ""
                                     : "; the numbers look like " + std::string(unitName(fitting));
        return fail(statedBy + " " + unitName(unit) + " puts the sensors " +
                    length(m_radius * metresPer(unit)) + head + hint);
    }
    const std::string hint = plausibleRadius(m_radius * kInch)
                                 ? "; as inches they would give " + length(m_radius * kInch) +
                                       ", but layouts take m, cm or mm"
                                 : "";
    return fail("the sensors lie " + number(m_radius) +
                " from their centre on average, a head's radius (" + length(kMinRadius) + " to " +
                length(kMaxRadius) + ") in none of m, cm and mm" + hint);
}

bool CLayoutGeometry::checkApart(double scale) {
    const double size = kMinDistance / scale;
    const Cells cells = sortedCells(m_channels, m_centre, size);
    for (size_t i = 0; i < m_channels.size(); ++i) {
        const Channel& a = m_channels[i];
        const std::vector<size_t> near = nearEarlier(cells, m_channels, i, m_centre, size);
        for (size_t j : near) {
            const Channel& b = m_channels[j];
            if (!CSensorLayout::isMegType(a.type) || !CSensorLayout::isMegType(b.type))
                return failAt(i, "and '" + b.label + "' (line " + std::to_string(m_lines[j]) +
                                     ") coincide: " + length(distance(a.pos, b.pos) * scale) +
                                     " apart, closer than " + length(kMinDistance));
        }
        if (near.size() >= kUnitChannels)
            return failAt(i, "is a fourth MEG channel within " + length(kMinDistance) + " of '" +
                                 m_channels[near[0]].label + "', '" + m_channels[near[1]].label +
                                 "' and '" + m_channels[near[2]].label +
                                 "'; one sensor unit holds at most three");
    }
    return true;
}

bool CLayoutGeometry::fail(const std::string& message) {
    m_error = message;
    return false;
}

bool CLayoutGeometry::failAt(size_t channel, const std::string& message) {
    return fail("line " + std::to_string(m_lines[channel]) + ": '" + m_channels[channel].label +
                "' " + message);
}
