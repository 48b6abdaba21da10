// Placement of new top-level windows.
#include "WindowPlacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace {

// Space between neighbouring windows.
constexpr int kGap = 8;

// The frame's size with its title bar and borders.
QSize frameSize(const QWidget* frame) {
    return frame->size() + WindowPlacement::decorations(frame);
}

std::vector<QRect> shownWindows(const QWidget* except) {
    std::vector<QRect> rects;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (w != except && w->isVisible() && (type == Qt::Window || type == Qt::Dialog))
            rects.push_back(w->frameGeometry());
    }
    return rects;
}

QRect available(const QWidget* w) {
    const QScreen* s = w && w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

bool coversNone(const QRect& r, const std::vector<QRect>& others) {
    return std::none_of(others.begin(), others.end(),
                        [&](const QRect& o) { return o.intersects(r); });
}

// The first candidate on the screen covering no other window, else the first on the screen,
// else the first moved onto the screen as far as it goes.
QPoint choose(const std::vector<QPoint>& candidates, QSize size, const QRect& screen,
              const std::vector<QRect>& others) {
    for (const QPoint& p : candidates)
        if (screen.contains(QRect(p, size)) && coversNone(QRect(p, size), others))
            return p;
    for (const QPoint& p : candidates)
        if (screen.contains(QRect(p, size)))
            return p;
    const QPoint p = candidates.empty() ? screen.topLeft() : candidates.front();
    return QPoint(std::clamp(p.x(), screen.left(),
                             std::max(screen.left(), screen.right() + 1 - size.width())),
                  std::clamp(p.y(), screen.top(),
                             std::max(screen.top(), screen.bottom() + 1 - size.height())));
}

void placeFree(QWidget* frame) {
    const QRect screen = available(frame);
    const QSize size = frameSize(frame);
    const std::vector<QRect> others = shownWindows(frame);
    // The screen's corner, and right of and below every shown window, top rows first.
    std::vector<QPoint> candidates{screen.topLeft()};
    for (const QRect& o : others) {
        candidates.emplace_back(o.right() + 1 + kGap, o.top());
        candidates.emplace_back(o.left(), o.bottom() + 1 + kGap);
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const QPoint& a, const QPoint& b) {
        return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
    });
    frame->move(choose(candidates, size, screen, others));
}

} // namespace

namespace WindowPlacement {

QSize decorations(const QWidget* frame) {
    if (!frame || !frame->isWindow())
        return QSize(0, 0);
    const QSize own = frame->frameGeometry().size() - frame->size();
    if (frame->isVisible() || !own.isNull())
        return own;
    // Menus and tool tips are top-level too, without decorations.
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w != frame && w->isVisible() &&
            (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog))
            return w->frameGeometry().size() - w->size();
    return QSize(0, 0);
}

void placeNew(QWidget* frame, const QWidget* anchor) {
    const QWidget* top = anchor ? anchor->window() : nullptr;
    if (top && top != frame && top->isVisible())
        placeBeside(frame, top);
    else
        placeFree(frame);
}

void placeBeside(QWidget* frame, const QWidget* anchor) {
    const QWidget* top = anchor ? anchor->window() : nullptr;
    if (!frame || !top || top == frame)
        return;
    const QRect a = top->frameGeometry();
    const QRect screen = available(top);
    const QSize size = frameSize(frame);
    const std::vector<QPoint> candidates{{a.right() + 1 + kGap, a.top()},
                                         {a.left() - kGap - size.width(), a.top()},
                                         {a.left(), a.bottom() + 1 + kGap},
                                         {a.left(), a.top() - kGap - size.height()}};
    frame->move(choose(candidates, size, screen, shownWindows(frame)));
}

} // namespace WindowPlacement
