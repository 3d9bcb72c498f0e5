#include "settings/BreakReminder.h"

#include "base/Settings.h"

bool BreakReminder::Arm(const Settings &settings, qint64 &nextTime, qint64 nowMs)
{
    const qint32 seconds = settings.VDT_INTERVAL_TIME;
    if (settings.VDT_FOLLOW != 1 || seconds <= 0) {
        nextTime = 0;
        return false;
    }
    nextTime = nowMs + qint64(seconds) * 1000;
    return true;
}

bool BreakReminder::isDue(qint64 nextTime, qint64 nowMs)
{
    return nextTime != 0 && nowMs >= nextTime;
}

void BreakReminder::CMD_OK(const Settings &settings, qint64 &nextTime, qint64 nowMs)
{
    const qint32 seconds = settings.VDT_INTERVAL_TIME;
    nextTime = seconds > 0 ? nowMs + qint64(seconds) * 1000 : 0;
}
