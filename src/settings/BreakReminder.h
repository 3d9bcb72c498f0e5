#pragma once

#include <QtGlobal>

struct Settings;

// The break reminder for screen work as time goes by: when it falls due
// (VDT_FOLLOW, VDT_INTERVAL_TIME in seconds). The dialog's settings view is
// BreakReminderForm's.
//
// Times are milliseconds since the epoch, so a reminder set at 23:50 for 30
// minutes falls due at 00:20 the next day, not at once. Only the due time
// Workbench::VDT_Next_Time (0: none) decides when a reminder shows; the
// timer that polls it merely has to tick.
class BreakReminder
{
public:
    // Start-up and "設定" with the reminder on: the first reminder one
    // interval from now, into nextTime (VDT_Next_Time). true when the
    // reminder runs, which needs an interval: with 0 minutes no reminder
    // falls due.
    static bool Arm(const Settings &settings, qint64 &nextTime, qint64 nowMs);

    // Whether the timer's tick should show the reminder due at nextTime.
    static bool isDue(qint64 nextTime, qint64 nowMs);
    // "ＯＫ": the next reminder one whole interval after the acknowledgement.
    static void CMD_OK(const Settings &settings, qint64 &nextTime, qint64 nowMs);
};
