#include "settings/BreakReminderForm.h"

#include "base/Workbench.h"
#include "platform/MessagePort.h"
#include "settings/BreakReminder.h"
#include "settings/SettingsIo.h"

const QString BreakReminderForm::kCaption = QStringLiteral("時間管理");
const QString BreakReminderForm::kNoInterval = QStringLiteral("インターバルタイムが設定されていません。");
const QString BreakReminderForm::kNotNumeric = QStringLiteral("インターバルタイムは数字でなければなりません。");
const QString BreakReminderForm::kOverLimit = QStringLiteral("インターバルタイムは１２０分まででなければなりません。");

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x3000);
}

} // namespace

BreakReminderForm::Interval BreakReminderForm::checkInterval(const QString &typed)
{
    Interval r;
    qsizetype from = 0, to = typed.size();
    while (from < to && isBlank(typed[from]))
        ++from;
    while (to > from && isBlank(typed[to - 1]))
        --to;
    r.text = typed.mid(from, to - from);
    // Blanks alone are no interval: taken as digits they would make 0.
    if (r.text.isEmpty()) {
        r.refusal = Refusal::NoInterval;
        return r;
    }
    for (QChar c : std::as_const(r.text)) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            r.refusal = Refusal::NotNumeric;
            return r;
        }
    }
    // Leading zeros aside, more than three digits is over the limit whatever
    // their value, and no longer than an int can hold.
    qsizetype first = 0;
    while (first < r.text.size() - 1 && r.text[first] == QLatin1Char('0'))
        ++first;
    const QStringView significant = QStringView(r.text).mid(first);
    const int value = significant.size() > 3 ? kMaxMinutes + 1 : significant.toInt();
    if (value > kMaxMinutes) {
        r.refusal = Refusal::OverLimit;
        return r;
    }
    r.minutes = value;
    return r;
}

QString BreakReminderForm::intervalText(const Settings &s)
{
    return QString::number(s.VDT_INTERVAL_TIME / 60);
}

BreakReminderForm::Commit BreakReminderForm::CMD_JIKOU(Workbench &wb, bool reminderOn, const QString &typed,
                                                      qint64 nowMs)
{
    Commit c;
    c.text = typed;
    Settings &s = wb.settings;
    if (reminderOn) {
        const Interval interval = checkInterval(typed);
        c.text = interval.text;
        const QString *refusal = nullptr;
        switch (interval.refusal) {
        case Refusal::None: break;
        case Refusal::NoInterval: refusal = &kNoInterval; break;
        case Refusal::NotNumeric: refusal = &kNotNumeric; break;
        case Refusal::OverLimit: refusal = &kOverLimit; break;
        }
        if (refusal) {
            wb.messages->show(*refusal, kCaption, MessagePort::Icon::Exclamation);
            return c;
        }
        s.VDT_INTERVAL_TIME = interval.minutes * 60;
        s.VDT_FOLLOW = 1;
        c.reminderRuns = BreakReminder::Arm(s, wb.VDT_Next_Time, nowMs);
    } else {
        s.VDT_INTERVAL_TIME = 0;
        s.VDT_FOLLOW = 0;
        wb.VDT_Next_Time = 0;
    }
    c.accepted = true;
    SettingsIo::Write_Execute(wb);
    return c;
}

