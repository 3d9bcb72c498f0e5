#include "DialogControls.h"
#include "base/Workbench.h"
#include "app/widgets/KIHON.h"
#include "settings/BreakReminder.h"
#include "platform/SettingsStore.h"
#include "settings/widgets/CoffeeBreakPanel.h"
#include "display/widgets/QUAV_Color_Settei.h"
#include "search/widgets/QUAV_Search_Save.h"
#include "settings/widgets/Time_Kanri.h"

#include "WindowFixture.h"
#include "CommandBoardTestAccess.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The main window's road to colours, time management, result export and the
// work-area dump.
class tst_UtilityCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void colourPickedThenCancelledIsWrittenAtExit();
    void reminderTakesOverTheOpenDialog();
    void timeFromToolbarLeavesWindowEnabled();
    void exportOpensOverDisabledWindow();
    void dumpButtonForDevelopers();

private:
    template<typename T>
    static QList<T *> shown() { return DialogFixture::shown<T>(); }
    static void settle() { DialogFixture::settle(); }
    std::optional<WindowFixture> f;
};

void tst_UtilityCommands::init()
{
    f.emplace();
}

void tst_UtilityCommands::cleanup()
{
    f.reset();
}

void tst_UtilityCommands::colourPickedThenCancelledIsWrittenAtExit()
{
    QVERIFY(f->start());
    f->window->runCommand(Command::SETTEI, KIHON::Origin::Toolbar);
    QCOMPARE(shown<QUAV_Color_Settei>().size(), 1);
    QUAV_Color_Settei *d = shown<QUAV_Color_Settei>().first();
    QVERIFY(!f->window->isEnabled());
    control<QComboBox>(d, "QUAV_Color_Base")->setCurrentIndex(0);
    Q_EMIT control<QComboBox>(d, "QUAV_Color_Base")->activated(0);
    d->pickColor = [](qint32) { return 0x0000FF; };
    control<QPushButton>(d, "Cmd_Color_Settei")->click();
    control<QPushButton>(d, "Cmd_Cancel")->click();
    settle();
    QVERIFY(f->window->isEnabled());
    SettingsStore before;
    QVERIFY(before.load());
    QVERIFY(before.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("Hit_Color")) != 0x0000FF);
    f->window->runCommand(Command::END, KIHON::Origin::Menu);
    SettingsStore after;
    QVERIFY(after.load());
    QCOMPARE(after.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("Hit_Color")), 0x0000FF);
}

void tst_UtilityCommands::reminderTakesOverTheOpenDialog()
{
    QVERIFY(f->start());
    f->wb->settings.VDT_INTERVAL_TIME = 1800;
    f->window->runCommand(Command::TIME, KIHON::Origin::Menu);
    QVERIFY(!f->window->isEnabled());
    Time_Kanri *d = f->window->timeKanri();
    QVERIFY(d && d->isVisible() && !d->isReminderView());

    f->window->Timer1_Timer(); // not due: nothing happens
    QVERIFY(!d->isReminderView());
    f->wb->VDT_Next_Time = QDateTime::currentMSecsSinceEpoch() - 1;
    f->window->Timer1_Timer();
    f->window->Timer1_Timer(); // still due: the same dialog, not a second one
    QCOMPARE(shown<Time_Kanri>().size(), 1);
    QCOMPARE(f->window->timeKanri(), d);
    QVERIFY(d->isReminderView());
    QVERIFY(control<CoffeeBreakPanel>(d, "Image1")->isVisible() && control<QPushButton>(d, "CMD_OK")->isVisible());
    QVERIFY(!control<QGroupBox>(d, "Frame2")->isVisible() && !control<QGroupBox>(d, "Frame1")->isVisible() && !control<QPushButton>(d, "CMD_JIKOU")->isVisible());

    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    control<QPushButton>(d, "CMD_OK")->click();
    settle();
    QVERIFY(f->window->isEnabled());
    QVERIFY(!f->window->timeKanri());
    QVERIFY(f->wb->VDT_Next_Time >= before + 1800 * 1000);
    QVERIFY(!BreakReminder::isDue(f->wb->VDT_Next_Time, QDateTime::currentMSecsSinceEpoch()));
}

void tst_UtilityCommands::timeFromToolbarLeavesWindowEnabled()
{
    QVERIFY(f->start());
    f->window->runCommand(Command::TIME, KIHON::Origin::Toolbar);
    QVERIFY(f->window->timeKanri() && f->window->timeKanri()->isVisible());
    QVERIFY(f->window->isEnabled());
    // The menu entry then takes the same dialog and the window with it.
    f->window->runCommand(Command::TIME, KIHON::Origin::Menu);
    QCOMPARE(shown<Time_Kanri>().size(), 1);
    QVERIFY(!f->window->isEnabled());
    control<QPushButton>(f->window->timeKanri(), "CMD_CANCEL")->click();
    settle();
    QVERIFY(f->window->isEnabled());
}

void tst_UtilityCommands::exportOpensOverDisabledWindow()
{
    QVERIFY(f->start());
    f->window->runCommand(Command::SEARCH_SAVE, KIHON::Origin::Menu);
    QVERIFY(shown<QUAV_Search_Save>().isEmpty()); // disabled at start
    CommandBoardTestAccess::setEnabled(f->wb->board, Command::SEARCH_SAVE, true);
    f->window->runCommand(Command::SEARCH_SAVE, KIHON::Origin::Menu);
    QCOMPARE(shown<QUAV_Search_Save>().size(), 1);
    QVERIFY(!f->window->isEnabled());
    control<QPushButton>(shown<QUAV_Search_Save>().first(), "Cmd_Cancel")->click();
    settle();
    QVERIFY(f->window->isEnabled());
}

void tst_UtilityCommands::dumpButtonForDevelopers()
{
    QTemporaryDir tmp;
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", tmp.path().toUtf8());
    QVERIFY(f->start());
    QAction *none1 = f->window->buttonAction(Command::NONE1);
    QVERIFY(!none1->isVisible());
    f->wb->board.offerDump();
    QVERIFY(none1->isVisible() && none1->isEnabled());
    none1->trigger();
    const QStringList dumps = QDir(tmp.path()).entryList({QStringLiteral("ListData_Output_*.txt")});
    QCOMPARE(dumps.size(), 1);
    QVERIFY(f->port.shown.isEmpty());
    // A folder that cannot take the file is reported with the file's name.
    qputenv("TMPDIR", tmp.filePath(QStringLiteral("gone")).toUtf8());
    none1->trigger();
    QCOMPARE(f->port.shown.size(), 1);
    QVERIFY(f->port.shown[0].text.contains(tmp.filePath(QStringLiteral("gone/ListData_Output_"))));
    if (oldTmp.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTmp);
}

QTEST_MAIN(tst_UtilityCommands)
#include "tst_utilitycommands.moc"
