#include "app/MainCommands.h"
#include "base/Workbench.h"
#include "app/widgets/KIHON.h"
#include "settings/BreakReminder.h"
#include "settings/SettingsStore.h"
#include "settings/widgets/CoffeeBreakPanel.h"
#include "display/widgets/QUAV_Color_Settei.h"
#include "search/widgets/QUAV_Search_Save.h"
#include "settings/widgets/Time_Kanri.h"

#include "ScriptedMessagePort.h"

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
    void start();
    template<typename T>
    static QList<T *> shown()
    {
        QList<T *> out;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *t = qobject_cast<T *>(w); t && t->isVisible())
                out.append(t);
        return out;
    }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    std::unique_ptr<QTemporaryDir> m_config;
    std::unique_ptr<QTemporaryDir> m_startDir;
    std::unique_ptr<Workbench> m_wb;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<KIHON> m_window;
    ScriptedMessagePort m_port;
    QString m_cwd;
};

void tst_UtilityCommands::init()
{
    m_cwd = QDir::currentPath();
    m_config = std::make_unique<QTemporaryDir>();
    m_startDir = std::make_unique<QTemporaryDir>();
    qputenv("QUAV_CONFIG_DIR", m_config->path().toUtf8());
    m_port = ScriptedMessagePort();
}

void tst_UtilityCommands::cleanup()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != m_window.get() && w->isVisible())
            w->close();
    settle();
    m_window.reset();
    m_wb.reset();
    m_store.reset();
    QDir::setCurrent(m_cwd);
}

void tst_UtilityCommands::start()
{
    m_wb = std::make_unique<Workbench>();
    m_store = std::make_unique<SettingsStore>();
    m_wb->store = m_store.get();
    m_window = std::make_unique<KIHON>(*m_wb);
    m_wb->messages = &m_port;
    m_window->Form_Load(m_startDir->path());
    m_window->show();
}

void tst_UtilityCommands::colourPickedThenCancelledIsWrittenAtExit()
{
    start();
    m_window->Run_Command(Command::SETTEI, KIHON::Origin::Toolbar);
    QCOMPARE(shown<QUAV_Color_Settei>().size(), 1);
    QUAV_Color_Settei *d = shown<QUAV_Color_Settei>().first();
    QVERIFY(!m_window->isEnabled());
    d->QUAV_Color_Base->setCurrentIndex(0);
    Q_EMIT d->QUAV_Color_Base->activated(0);
    d->pickColor = [](qint32) { return 0x0000FF; };
    d->Cmd_Color_Settei->click();
    d->Cmd_Cancel->click();
    settle();
    QVERIFY(m_window->isEnabled());
    SettingsStore before;
    QVERIFY(before.load());
    QVERIFY(before.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("Hit_Color")) != 0x0000FF);
    m_window->Run_Command(Command::END, KIHON::Origin::Menu);
    SettingsStore after;
    QVERIFY(after.load());
    QCOMPARE(after.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("Hit_Color")), 0x0000FF);
}

void tst_UtilityCommands::reminderTakesOverTheOpenDialog()
{
    start();
    m_wb->settings.VDT_INTERVAL_TIME = 1800;
    m_window->Run_Command(Command::TIME, KIHON::Origin::Menu);
    QVERIFY(!m_window->isEnabled());
    Time_Kanri *d = m_window->timeKanri();
    QVERIFY(d && d->isVisible() && !d->Is_Reminder_View());

    m_window->Timer1_Timer(); // not due: nothing happens
    QVERIFY(!d->Is_Reminder_View());
    m_wb->VDT_Next_Time = QDateTime::currentMSecsSinceEpoch() - 1;
    m_window->Timer1_Timer();
    m_window->Timer1_Timer(); // still due: the same dialog, not a second one
    QCOMPARE(shown<Time_Kanri>().size(), 1);
    QCOMPARE(m_window->timeKanri(), d);
    QVERIFY(d->Is_Reminder_View());
    QVERIFY(d->Image1->isVisible() && d->CMD_OK->isVisible());
    QVERIFY(!d->Frame2->isVisible() && !d->Frame1->isVisible() && !d->CMD_JIKOU->isVisible());

    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    d->CMD_OK->click();
    settle();
    QVERIFY(m_window->isEnabled());
    QVERIFY(!m_window->timeKanri());
    QVERIFY(m_wb->VDT_Next_Time >= before + 1800 * 1000);
    QVERIFY(!BreakReminder::Is_Due(*m_wb, QDateTime::currentMSecsSinceEpoch()));
}

void tst_UtilityCommands::timeFromToolbarLeavesWindowEnabled()
{
    start();
    m_window->Run_Command(Command::TIME, KIHON::Origin::Toolbar);
    QVERIFY(m_window->timeKanri() && m_window->timeKanri()->isVisible());
    QVERIFY(m_window->isEnabled());
    // The menu entry then takes the same dialog and the window with it.
    m_window->Run_Command(Command::TIME, KIHON::Origin::Menu);
    QCOMPARE(shown<Time_Kanri>().size(), 1);
    QVERIFY(!m_window->isEnabled());
    m_window->timeKanri()->CMD_CANCEL->click();
    settle();
    QVERIFY(m_window->isEnabled());
}

void tst_UtilityCommands::exportOpensOverDisabledWindow()
{
    start();
    m_window->Run_Command(Command::SEARCH_SAVE, KIHON::Origin::Menu);
    QVERIFY(shown<QUAV_Search_Save>().isEmpty()); // disabled at start
    m_wb->board.setEnabled(Command::SEARCH_SAVE, true);
    m_window->Run_Command(Command::SEARCH_SAVE, KIHON::Origin::Menu);
    QCOMPARE(shown<QUAV_Search_Save>().size(), 1);
    QVERIFY(!m_window->isEnabled());
    shown<QUAV_Search_Save>().first()->Cmd_Cancel->click();
    settle();
    QVERIFY(m_window->isEnabled());
}

void tst_UtilityCommands::dumpButtonForDevelopers()
{
    QTemporaryDir tmp;
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", tmp.path().toUtf8());
    start();
    QAction *none1 = m_window->buttonAction(Command::NONE1);
    QVERIFY(!none1->isVisible());
    MainCommands::Offer_Dump(*m_wb);
    QVERIFY(none1->isVisible() && none1->isEnabled());
    none1->trigger();
    const QStringList dumps = QDir(tmp.path()).entryList({QStringLiteral("ListData_Output_*.txt")});
    QCOMPARE(dumps.size(), 1);
    QVERIFY(m_port.shown.isEmpty());
    // A folder that cannot take the file is reported with the file's name.
    qputenv("TMPDIR", tmp.filePath(QStringLiteral("gone")).toUtf8());
    none1->trigger();
    QCOMPARE(m_port.shown.size(), 1);
    QVERIFY(m_port.shown[0].text.contains(tmp.filePath(QStringLiteral("gone/ListData_Output_"))));
    if (oldTmp.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTmp);
}

QTEST_MAIN(tst_UtilityCommands)
#include "tst_utilitycommands.moc"
