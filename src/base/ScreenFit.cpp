#include "base/ScreenFit.h"

bool ScreenFit::onAScreen(const QRect &rect, const QList<QRect> &screens)
{
    for (const QRect &s : screens)
        if (s.contains(rect))
            return true;
    return false;
}

QRect ScreenFit::fitWindow(const QRect &window, const QList<QRect> &screens, const QMargins &frame)
{
    if (screens.isEmpty() || onAScreen(window, screens))
        return window;
    QRect screen = screens.first();
    qint64 best = 0;
    for (const QRect &s : screens) {
        const QRect common = s.intersected(window);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > best) {
            best = area;
            screen = s;
        }
    }
    screen = screen.marginsRemoved(frame);
    QRect r = window;
    r.setWidth(std::min(r.width(), screen.width()));
    r.setHeight(std::min(r.height(), screen.height()));
    if (r.right() > screen.right())
        r.moveRight(screen.right());
    if (r.bottom() > screen.bottom())
        r.moveBottom(screen.bottom());
    if (r.left() < screen.left())
        r.moveLeft(screen.left());
    if (r.top() < screen.top())
        r.moveTop(screen.top());
    return r;
}

QPoint ScreenFit::dialogPosition(const QRect &wanted, const QRect &mainNow, const QList<QRect> &screens)
{
    if (screens.isEmpty() || onAScreen(wanted, screens))
        return wanted.topLeft();
    QRect centred(QPoint(), wanted.size());
    centred.moveCenter(mainNow.center());
    return fitWindow(centred, screens).topLeft();
}
