#pragma once

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>

// Keeping windows on the screens there are now. A geometry stored on another
// monitor, or at a smaller scale factor, can lie partly or wholly off them.
// Rectangles are in logical pixels; screens are their available areas.
class ScreenFit
{
public:
    // A rectangle that lies wholly within one screen is returned unchanged.
    // Otherwise the screen that holds most of it (the first one when it
    // touches none) takes it: its size is cut to the screen's and it is
    // moved in from the edges it passes, leaving `frame` around it for the
    // window's frame (title bar and borders, which the rectangle excludes).
    static QRect fitWindow(const QRect &window, const QList<QRect> &screens, const QMargins &frame = {});

    // Where a dialog goes: at `wanted` (centred on the main window's
    // remembered rectangle) when that lies wholly within a screen; otherwise
    // centred on the main window as it is now, and fitted.
    static QPoint dialogPosition(const QRect &wanted, const QRect &mainNow, const QList<QRect> &screens);

    static bool onAScreen(const QRect &rect, const QList<QRect> &screens);
};
