#pragma once
// Window and pane sizes are kept in twips (1/1440 inch): px = twips x logical dpi / 1440.
#include <QWidget>
#include <cmath>

namespace twips {

inline int toPixelsX(double twips, const QWidget* w) { return static_cast<int>(std::lround(twips * w->logicalDpiX() / 1440.0)); }
inline int toPixelsY(double twips, const QWidget* w) { return static_cast<int>(std::lround(twips * w->logicalDpiY() / 1440.0)); }
inline double fromPixelsX(int px, const QWidget* w) { return px * 1440.0 / w->logicalDpiX(); }
inline double fromPixelsY(int px, const QWidget* w) { return px * 1440.0 / w->logicalDpiY(); }

// The settings text of a twips value: a whole number.
inline QString text(double twips) { return QString::number(std::llround(twips)); }

// A splitter bar stays 1300 twips away from both ends of its range [0, limit].
inline constexpr double SplitterMargin = 1300;
inline double clampSplitter(double position, double limit)
{
    if (position < SplitterMargin)
        return SplitterMargin;
    if (position > limit - SplitterMargin)
        return std::max(limit - SplitterMargin, 0.0);
    return position;
}

} // namespace twips
