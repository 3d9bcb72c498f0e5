#pragma once

#include <QString>

struct Settings;
struct Workbench;

// The time-management dialog's settings view without its widgets: the break
// reminder's interval box (VDT_INTERVAL_TIME in seconds, shown and typed in
// whole minutes), its checks and the "設定" commit. The reminder's timing
// is BreakReminder's; the time-stamp option (FILE_NAME_DISP) is a plain
// setting the dialog sets as it is clicked and "設定" stores with the rest.
class BreakReminderForm
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

    struct Commit
    {
        bool accepted = false; // false: refused and reported, nothing stored
        QString text;          // the box's text after trimming
        bool reminderRuns = false;
    };
    // "設定": with the reminder on, the checked interval is stored and the
    // reminder armed (VDT_Next_Time); with it off, the interval becomes 0
    // and no reminder falls due. Then EXECUTE is written (a store that
    // cannot be written is reported; the choice holds for this run).
    static Commit CMD_JIKOU(Workbench &wb, bool reminderOn, const QString &typed, qint64 nowMs);
};
