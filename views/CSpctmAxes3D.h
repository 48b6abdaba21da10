// The axes of the single-channel surface, drawn in its scene so that they turn and zoom with
// it: time in ms along the front (lowest-frequency) edge, frequency in Hz along the left
// (earliest) edge, the value with its unit upright at the back-left corner, in the unit with
// the SI prefix that fits the size of the heights. Ticks are 1-2-5
// steps, as many as the axis' length on screen holds; labels are upright screen text at the
// projected tick ends, pushed away from the axis, and a label that would overlap another is
// left out.
#pragma once

#include "engine/CMVBzq.h"
#include "win/CRect.h"
#include "win/CString.h"

#include <vector>

class CDC;
class CM3Dzq;
class CSpctmTrial;

class CSpctmAxes3D {
public:
    // Where the drawn grid lies in the surface's own coordinates (before the view's model
    // transform): row t at x0 + (t - tFirst) * dx, column f at z0 + (f - fFirst) * dz, value v
    // at height v * dy.
    struct Grid {
        long long tFirst = 0, tLast = -1;
        long long fFirst = 0, fLast = -1;
        double x0 = 0.0, dx = 1.0;
        double z0 = 0.0, dz = 1.0;
        double dy = 1.0;
        bool valid() const { return tLast >= tFirst && fLast >= fFirst; }
    };
    // The box the axes need in surface coordinates: the grid's floor and sides moved out by
    // the axes' offset and ticks, from the lower of 0 and yLow to the higher of 0 and yHigh.
    struct Box {
        double lo[3] = {0, 0, 0};
        double hi[3] = {0, 0, 0};
    };
    enum AxisId { kTime = 0, kFrequency = 1, kValue = 2 };
    // A label placed on the screen (client pixels): a tick's value or the axis' title.
    struct Label {
        CString text;
        CRect rect;
        AxisId axis;
        bool title;
    };

    // The box for a grid whose surface heights run from yLow to yHigh.
    static Box boxFor(const Grid& grid, double yLow, double yHigh);

    // Chooses ticks for the axes as the engine shows them through model, fills the line
    // buffer and places the labels (none overlapping each other or `taken`, which gets the
    // labels' rectangles). st gives latencies and frequencies; the heights are values of the
    // data component in unit, labelled with the prefix that fits their size (no title for a
    // component below 0).
    void layout(const Grid& grid, double yLow, double yHigh, const CSpctmTrial& st, int component,
                const CString& unit, const CM3Dzq& engine, const float model[16], CDC& dc,
                std::vector<CRect>& taken);
    // Forgets the lines and labels laid out last.
    void clear();
    // Draws the lines laid out last, unlit, with the surface's model transform.
    void drawLines(CM3Dzq& engine, const float model[16]);
    // Draws the labels laid out last.
    void drawLabels(CDC& dc) const;

    const std::vector<Label>& labels() const { return m_labels; }

private:
    struct Axis;
    class Projector;
    void layoutAxis(const Axis& axis, const Projector& screen, CDC& dc, std::vector<CRect>& taken);
    void addLine(const double a[3], const double b[3]);
    // Keeps the label when it overlaps nothing in taken and lies inside the frame.
    void place(const Label& label, const CRect& frame, std::vector<CRect>& taken);

    std::vector<double> m_lineVertices; // x, y, z per vertex, in pairs
    std::vector<Label> m_labels;
    CMVBzq m_lines;
};
