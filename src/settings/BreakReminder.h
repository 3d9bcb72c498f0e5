#pragma once

#include <QString>

struct Settings;
struct Workbench;

// The time-management dialog without its widgets: the break reminder for
// screen work (VDT_FOLLOW, VDT_INTERVAL_TIME in seconds, shown and typed in
// whole minutes) and the time-stamp switch FILE_NAME_DISP.
//
// Times are milliseconds since the epoch, so a reminder set at 23:50 for 30
// minutes falls due at 00:20 the next day, not at once. Only the due time
// Workbench::VDT_Next_Time (0: none) decides when a reminder shows; the
// timer that polls it merely has to tick.
class BreakReminder
{
public:
    static const QString kCaption;     // "時間管理"
    static const QString kNoInterval;  // box empty
    static const QString kNotNumeric;  // not digits only
    static const QString kOverLimit;   // more than 120 minutes
    static constexpr int kMaxMinutes = 120;

    enum class Refusal { None, NoInterval, NotNumeric, OverLimit };
    struct Interval
    {
        Refusal refusal = Refusal::None;
        QString text;    // the typed text without its surrounding blanks
        int minutes = 0; // valid when refusal is None
    };
    // The checks of the interval box, in order: something must remain after
    // removing blanks (half- and full-width spaces) from both ends, every
    // remaining character must be an ASCII digit, and the value at most 120.
    static Interval checkInterval(const QString &typed);

    // The interval box's text when the dialog opens: the interval in minutes.
    static QString intervalText(const Settings &s);

    // Start-up and "設定" with the reminder on: the first reminder one
    // interval from now, into nextTime (VDT_Next_Time). true when the
    // reminder runs, which needs an interval: with 0 minutes no reminder
    // falls due.
    static bool Arm(const Settings &settings, qint64 &nextTime, qint64 nowMs);

    struct Commit
    {
        bool accepted = false; // false: refused and reported, nothing stored
        QString text;          // the box's text after trimming
        bool reminderRuns = false;
    };
    // "設定": with the reminder on, the checked interval is stored and the
    // reminder armed; with it off, the interval becomes 0 and no reminder
    // falls due. Then EXECUTE is written (a store that cannot be written is
    // reported; the choice holds for this run).
    static Commit CMD_JIKOU(Workbench &wb, bool reminderOn, const QString &typed, qint64 nowMs);

    // Whether the timer's tick should show the reminder due at nextTime.
    static bool isDue(qint64 nextTime, qint64 nowMs);
    // "ＯＫ": the next reminder one whole interval after the acknowledgement.
    static void CMD_OK(const Settings &settings, qint64 &nextTime, qint64 nowMs);
};
