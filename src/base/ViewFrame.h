#pragma once

#include <QtGlobal>

// Top and height of the two result views, in twips (15 per pixel). The
// toolbar takes 420 twips above the views and the status bar 370 below them;
// hiding either gives its room to the views, showing it takes it back.
struct ViewFrame
{
    static constexpr qint32 kToolbarTwips = 420;
    static constexpr qint32 kStatusBarTwips = 370;

    qint32 top = kToolbarTwips;
    qint32 height = 0;

    // Views filling a client area of the given height below the menu bar.
    static ViewFrame fitted(qint32 clientHeight, bool toolbarShown, bool statusShown)
    {
        ViewFrame f;
        f.top = toolbarShown ? kToolbarTwips : 0;
        f.height = clientHeight - f.top - (statusShown ? kStatusBarTwips : 0);
        return f;
    }
};
