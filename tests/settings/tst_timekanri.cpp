#include "settings/BreakReminder.h"
#include "settings/BreakReminderForm.h"
#include "DialogControls.h"
#include "settings/SettingsIo.h"
#include "settings/widgets/CoffeeBreakPanel.h"
#include "settings/widgets/Time_Kanri.h"

#include "DialogFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

class tst_TimeKanri : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void interval_data();
    void interval();
    void dueAcrossMidnight();
    void intervalSetAndReopened();
    void refusedIntervalKeepsEverything();
    void offThenCancelKeepsReminders();
    void offStoresZeroAndOnNeedsInterval();
    void zeroIntervalNeverFallsDue();

private:
    static qint64 at(int day, int hour, int minute)
    {
        return QDateTime(QDate(2024, 3, day), QTime(hour, minute)).toMSecsSinceEpoch();
    }
    static QPointer<Time_Kanri> open(DialogFixture &f, QTimer *timer, qint64 now)
    {
        QPointer<Time_Kanri> d = new Time_Kanri(f.wb, timer);
        d->now = [now] { return now; };
        d->showSettingsView(&f.main);
        return d;
    }
};

void tst_TimeKanri::interval_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("minutes");
    using R = BreakReminderForm::Refusal;
    QTest::newRow("30") << "30" << int(R::None) << "30" << 30;
    QTest::newRow("blanks around") << "  45 " << int(R::None) << "45" << 45;
    QTest::newRow("full-width blanks around") << "　45　" << int(R::None) << "45" << 45;
    QTest::newRow("120, the limit") << "120" << int(R::None) << "120" << 120;
    QTest::newRow("0") << "0" << int(R::None) << "0" << 0;
    QTest::newRow("leading zeros") << "0120" << int(R::None) << "0120" << 120;
    QTest::newRow("empty") << "" << int(R::NoInterval) << "" << 0;
    QTest::newRow("blanks only") << "   " << int(R::NoInterval) << "" << 0;
    QTest::newRow("decimal point") << "4.5" << int(R::NotNumeric) << "4.5" << 0;
    QTest::newRow("unit typed") << "45分" << int(R::NotNumeric) << "45分" << 0;
    QTest::newRow("negative") << "-5" << int(R::NotNumeric) << "-5" << 0;
    QTest::newRow("full-width digits") << "４５" << int(R::NotNumeric) << "４５" << 0;
    QTest::newRow("blank inside") << "4 5" << int(R::NotNumeric) << "4 5" << 0;
    QTest::newRow("121") << "121" << int(R::OverLimit) << "121" << 0;
    QTest::newRow("beyond an int") << "99999999999999999999" << int(R::OverLimit) << "99999999999999999999" << 0;
}

void tst_TimeKanri::interval()
{
    QFETCH(QString, typed);
    QFETCH(int, refusal);
    QFETCH(QString, text);
    QFETCH(int, minutes);
    const BreakReminderForm::Interval r = BreakReminderForm::checkInterval(typed);
    QCOMPARE(int(r.refusal), refusal);
    QCOMPARE(r.text, text);
    if (r.refusal == BreakReminderForm::Refusal::None)
        QCOMPARE(r.minutes, minutes);
}

void tst_TimeKanri::dueAcrossMidnight()
{
    Workbench wb;
    const auto c = BreakReminderForm::CMD_JIKOU(wb, true, QStringLiteral("30"), at(1, 23, 50));
    QVERIFY(c.accepted && c.reminderRuns);
    QVERIFY(!BreakReminder::isDue(wb.VDT_Next_Time, at(1, 23, 51)));
    QVERIFY(!BreakReminder::isDue(wb.VDT_Next_Time, at(2, 0, 19)));
    QVERIFY(BreakReminder::isDue(wb.VDT_Next_Time, at(2, 0, 20)));
    // Acknowledged late: the next one is a whole interval after the "ＯＫ".
    BreakReminder::CMD_OK(wb.settings, wb.VDT_Next_Time, at(2, 0, 25));
    QVERIFY(!BreakReminder::isDue(wb.VDT_Next_Time, at(2, 0, 54)));
    QVERIFY(BreakReminder::isDue(wb.VDT_Next_Time, at(2, 0, 55)));
}

void tst_TimeKanri::intervalSetAndReopened()
{
    DialogFixture f;
    QTimer timer;
    f.wb.settings.VDT_FOLLOW = 0;
    QPointer<Time_Kanri> d = open(f, &timer, at(5, 9, 0));
    QVERIFY(!f.main.isEnabled());
    QVERIFY(!control<QLineEdit>(d, "Txt_Interval_Time")->isVisible());
    QVERIFY(!control<CoffeeBreakPanel>(d, "Image1")->isVisible() && !control<QPushButton>(d, "CMD_OK")->isVisible());
    control<QRadioButton>(d, "Opt_VDT_Yes")->click();
    QVERIFY(control<QLineEdit>(d, "Txt_Interval_Time")->isVisible());
    control<QLineEdit>(d, "Txt_Interval_Time")->setText(QStringLiteral(" 30 "));
    control<QPushButton>(d, "CMD_JIKOU")->click();
    f.settle();
    QVERIFY(d.isNull());
    QVERIFY(f.main.isEnabled());
    QVERIFY(f.port.shown.isEmpty());
    QCOMPARE(f.wb.settings.VDT_INTERVAL_TIME, 1800);
    QCOMPARE(f.reread().number(QStringLiteral("EXECUTE"), QStringLiteral("VDT_INTERVAL_TIME")), 1800);
    QCOMPARE(f.reread().number(QStringLiteral("EXECUTE"), QStringLiteral("VDT_FOLLOW")), 1);
    QVERIFY(timer.isActive());
    QCOMPARE(f.wb.VDT_Next_Time, at(5, 9, 30));

    d = open(f, &timer, at(5, 9, 1));
    QVERIFY(control<QRadioButton>(d, "Opt_VDT_Yes")->isChecked());
    QCOMPARE(control<QLineEdit>(d, "Txt_Interval_Time")->text(), QStringLiteral("30"));
}

void tst_TimeKanri::refusedIntervalKeepsEverything()
{
    DialogFixture f;
    QTimer timer;
    f.wb.settings.VDT_FOLLOW = 1;
    f.wb.settings.VDT_INTERVAL_TIME = 600;
    QPointer<Time_Kanri> d = open(f, &timer, at(5, 9, 0));
    control<QLineEdit>(d, "Txt_Interval_Time")->setText(QStringLiteral(" 121 "));
    control<QPushButton>(d, "CMD_JIKOU")->click();
    QCOMPARE(f.port.texts(), QStringList{BreakReminderForm::kOverLimit});
    QCOMPARE(f.port.shown[0].caption, QStringLiteral("時間管理"));
    QCOMPARE(f.port.shown[0].icon, MessagePort::Icon::Exclamation);
    QVERIFY(!d.isNull() && d->isVisible());
    QVERIFY(control<QPushButton>(d, "CMD_JIKOU")->isEnabled() && control<QPushButton>(d, "CMD_CANCEL")->isEnabled());
    QCOMPARE(control<QLineEdit>(d, "Txt_Interval_Time")->text(), QStringLiteral("121")); // put back trimmed
    QCOMPARE(f.wb.settings.VDT_INTERVAL_TIME, 600);
    QVERIFY(!timer.isActive());
    QVERIFY(!f.main.isEnabled());
}

void tst_TimeKanri::offThenCancelKeepsReminders()
{
    DialogFixture f;
    QTimer timer;
    f.wb.settings.VDT_FOLLOW = 1;
    f.wb.settings.VDT_INTERVAL_TIME = 1800;
    f.wb.settings.FILE_NAME_DISP = 0;
    QVERIFY(SettingsIo::Write_Execute(f.wb));
    QVERIFY(BreakReminder::Arm(f.wb.settings, f.wb.VDT_Next_Time, at(5, 9, 0)));
    timer.start(60000);
    QPointer<Time_Kanri> d = open(f, &timer, at(5, 9, 10));
    // The options act at once, in memory.
    control<QRadioButton>(d, "Opt_VDT_No")->click();
    QVERIFY(!control<QLineEdit>(d, "Txt_Interval_Time")->isVisible());
    QCOMPARE(f.wb.settings.VDT_FOLLOW, 0);
    control<QRadioButton>(d, "Opt_Serch_Yes")->click();
    QCOMPARE(f.wb.settings.FILE_NAME_DISP, 1);
    control<QPushButton>(d, "CMD_CANCEL")->click();
    f.settle();
    QVERIFY(d.isNull() && f.main.isEnabled());
    // Nothing stored, the timer untouched: the reminder still falls due.
    QVERIFY(timer.isActive());
    QVERIFY(BreakReminder::isDue(f.wb.VDT_Next_Time, at(5, 9, 30)));
    QCOMPARE(f.reread().number(QStringLiteral("EXECUTE"), QStringLiteral("VDT_FOLLOW")), 1);
    QCOMPARE(f.reread().number(QStringLiteral("EXECUTE"), QStringLiteral("FILE_NAME_DISP")), 0);
    QCOMPARE(f.wb.settings.FILE_NAME_DISP, 1); // for the next search of this run
}

void tst_TimeKanri::offStoresZeroAndOnNeedsInterval()
{
    DialogFixture f;
    QTimer timer;
    f.wb.settings.VDT_FOLLOW = 1;
    f.wb.settings.VDT_INTERVAL_TIME = 1800;
    timer.start(60000);
    QPointer<Time_Kanri> d = open(f, &timer, at(5, 9, 0));
    control<QRadioButton>(d, "Opt_VDT_No")->click();
    control<QPushButton>(d, "CMD_JIKOU")->click();
    f.settle();
    QVERIFY(d.isNull());
    QVERIFY(!timer.isActive());
    QCOMPARE(f.reread().number(QStringLiteral("EXECUTE"), QStringLiteral("VDT_INTERVAL_TIME")), 0);
    QCOMPARE(f.reread().number(QStringLiteral("EXECUTE"), QStringLiteral("VDT_FOLLOW")), 0);

    d = open(f, &timer, at(5, 9, 5));
    QVERIFY(control<QRadioButton>(d, "Opt_VDT_No")->isChecked());
    control<QRadioButton>(d, "Opt_VDT_Yes")->click();
    QCOMPARE(control<QLineEdit>(d, "Txt_Interval_Time")->text(), QString());
    control<QPushButton>(d, "CMD_JIKOU")->click();
    QCOMPARE(f.port.texts(), QStringList{BreakReminderForm::kNoInterval});
    QVERIFY(!d.isNull() && d->isVisible());
}

void tst_TimeKanri::zeroIntervalNeverFallsDue()
{
    // An interval of 0 is accepted; it must not turn into a reminder at
    // every tick.
    DialogFixture f;
    QTimer timer;
    QPointer<Time_Kanri> d = open(f, &timer, at(5, 9, 0));
    control<QRadioButton>(d, "Opt_VDT_Yes")->click();
    control<QLineEdit>(d, "Txt_Interval_Time")->setText(QStringLiteral("0"));
    control<QPushButton>(d, "CMD_JIKOU")->click();
    f.settle();
    QVERIFY(d.isNull());
    QCOMPARE(f.wb.settings.VDT_FOLLOW, 1);
    QCOMPARE(f.wb.settings.VDT_INTERVAL_TIME, 0);
    QVERIFY(!timer.isActive());
    QVERIFY(!BreakReminder::isDue(f.wb.VDT_Next_Time, at(5, 9, 1)));
    // Nor after a restart with the stored 0.
    QVERIFY(!BreakReminder::Arm(f.wb.settings, f.wb.VDT_Next_Time, at(6, 9, 0)));
    QVERIFY(!BreakReminder::isDue(f.wb.VDT_Next_Time, at(6, 10, 0)));
}

QTEST_MAIN(tst_TimeKanri)
#include "tst_timekanri.moc"
