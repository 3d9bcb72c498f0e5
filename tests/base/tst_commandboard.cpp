#include "base/CommandBoard.h"
#include "app/MainCommands.h"
#include "base/ViewFrame.h"
#include "base/Workbench.h"
#include "platform/SettingsStore.h"

#include "ScriptedMessagePort.h"
#include "CommandBoardTestAccess.h"

#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <ranges>

class tst_CommandBoard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void tableHasOneRowPerCommand();
    void busyKeepsButtonEnabledMeanwhile();
    void leaveBusyTwiceIsHarmless();
    void enterBusyRefusesToNest();
    void toggles_data();
    void toggles();
    void transitions_data();
    void transitions();
    void activation_data();
    void activation();
    void fukuseiWithoutParameters();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_CommandBoard::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    qputenv("QUAV_CONFIG_DIR", m_dir->path().toUtf8());
}

void tst_CommandBoard::tableHasOneRowPerCommand()
{
    // The board, the saved states and the toolbar index by Command(i): row i
    // must be that command, and no two buttons may share an object name.
    QSet<QString> keys;
    QSet<int> menuEntries;
    for (int i = 0; i < Commands::kCount; ++i) {
        const CommandInfo &c = Commands::table()[size_t(i)];
        QCOMPARE(int(c.command), i);
        QVERIFY2(!keys.contains(QLatin1String(c.key)), c.key);
        keys.insert(QLatin1String(c.key));
        if (c.menuEntry) {
            QVERIFY2(!menuEntries.contains(int(*c.menuEntry)), qPrintable(MenuEntries::nameOf(*c.menuEntry)));
            menuEntries.insert(int(*c.menuEntry));
            QCOMPARE(Commands::ofMenuEntry(*c.menuEntry), std::optional<Command>(c.command));
        }
    }
    QCOMPARE(int(Command::END) + 1, Commands::kCount);
    // A command is named by its type only: a key spelt as text, misspelt or
    // not, does not make a command.
    static_assert(!std::is_convertible_v<const char *, Command>);
    static_assert(!std::is_constructible_v<Command, QString>);
    QCOMPARE(Commands::ofMenuEntry(MenuEntry::M_HELP_VER), std::optional<Command>());
    // Tests and the desktop find an entry by its object name.
    QSet<QString> names;
    for (int i = 0; i < MenuEntries::kCount; ++i)
        names.insert(MenuEntries::nameOf(MenuEntry(i)));
    QCOMPARE(names.size(), MenuEntries::kCount);
    QVERIFY(names.contains(QStringLiteral("M_HELP_VER")));
    QVERIFY(!names.contains(QString()));
}

void tst_CommandBoard::busyKeepsButtonEnabledMeanwhile()
{
    CommandBoard board;
    board.applyStartup();
    QSignalSpy spy(&board, &CommandBoard::changed);
    board.Enter_Busy();
    for (const CommandInfo &c : Commands::table())
        QVERIFY2(!board.isEnabled(c.command), c.key);
    QVERIFY(spy.count() > 0);
    // A search enables STOP and disables SEARCH while busy.
    CommandBoardTestAccess::setEnabled(board, Command::STOP, true);
    board.Leave_Busy();
    QVERIFY(board.isEnabled(Command::STOP));
    QVERIFY(board.isEnabled(Command::SEARCH));
    QVERIFY(board.isEnabled(Command::END));
    QVERIFY(!board.isEnabled(Command::HOZON));
    QCOMPARE(board.Saved_Buttons()[size_t(Command::STOP)], qint16(0));
    QCOMPARE(board.Saved_Buttons()[size_t(Command::DRIVE)], qint16(1));
}

void tst_CommandBoard::leaveBusyTwiceIsHarmless()
{
    CommandBoard board;
    board.applyStartup();
    board.Enter_Busy();
    board.Leave_Busy();
    CommandBoardTestAccess::setEnabled(board, Command::SEARCH, false);
    board.Leave_Busy();
    // The second call enables again what the snapshot held: harmless, as the
    // snapshot is the state before the operation.
    QVERIFY(board.isEnabled(Command::SEARCH));
    QVERIFY(!board.isEnabled(Command::STOP));
}

void tst_CommandBoard::enterBusyRefusesToNest()
{
    CommandBoard board;
    board.applyStartup();
    QSignalSpy busy(&board, &CommandBoard::busyChanged);
    QVERIFY(board.Enter_Busy());
    CommandBoardTestAccess::enable(board, {Command::STOP});
    // A second operation inside the first: refused, the snapshot kept.
    QVERIFY(!board.Enter_Busy());
    QVERIFY(board.isBusy());
    QVERIFY(board.isEnabled(Command::STOP));
    board.Leave_Busy();
    QVERIFY(!board.isBusy());
    for (Command c : {Command::DRIVE, Command::FOLDER, Command::SEARCH, Command::CLEAR, Command::HINAGATA,
                      Command::TIME, Command::SETTEI, Command::END})
        QVERIFY2(board.isEnabled(c), Commands::info(c).key);
    QCOMPARE(busy.size(), 2);
    QCOMPARE(busy.at(0).at(0).toBool(), true);
    QCOMPARE(busy.at(1).at(0).toBool(), false);
    board.Leave_Busy();
    QCOMPARE(busy.size(), 2);
}

void tst_CommandBoard::toggles_data()
{
    QTest::addColumn<bool>("toolbarFirst");
    QTest::newRow("toolbar then status bar") << true;
    QTest::newRow("status bar then toolbar") << false;
}

void tst_CommandBoard::toggles()
{
    QFETCH(bool, toolbarFirst);
    SettingsStore store;
    Workbench wb;
    wb.store = &store;
    QVERIFY(store.importInstallFile());
    ViewFrame frame = ViewFrame::fitted(9000, true, true);
    const ViewFrame shown = frame;
    if (toolbarFirst) {
        QCOMPARE(MainCommands::toggleToolBar(wb, frame, true), false);
        QCOMPARE(MainCommands::toggleStatusBar(wb, frame, true), false);
    } else {
        QCOMPARE(MainCommands::toggleStatusBar(wb, frame, true), false);
        QCOMPARE(MainCommands::toggleToolBar(wb, frame, true), false);
    }
    QCOMPARE(frame.top, 0);
    QCOMPARE(frame.height, shown.height + 790);
    QCOMPARE(wb.settings.T_Bar, 0);
    QCOMPARE(wb.settings.S_Bar, 0);
    // Written to the store at once.
    SettingsStore again;
    QVERIFY(again.load());
    QCOMPARE(again.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("T_Bar")).value(), 0);
    QCOMPARE(again.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("S_Bar")).value(), 0);

    QCOMPARE(MainCommands::toggleToolBar(wb, frame, false), true);
    QCOMPARE(MainCommands::toggleStatusBar(wb, frame, false), true);
    QCOMPARE(frame.top, shown.top);
    QCOMPARE(frame.height, shown.height);
    QCOMPARE(wb.settings.T_Bar, 1);
    QCOMPARE(wb.settings.S_Bar, 1);
}

namespace {

// One event of the program, as a feature reports it to the board.
enum class Step { AddFile, ChangeFile, SaveFile, Confirm, Run, Clear, Detail, Refused, List, Activate };

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

void tst_CommandBoard::transitions_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QList<Command>>("on");
    QTest::addColumn<QList<Command>>("off");
    using S = Step;
    using C = Command;
    const QString searched = QStringLiteral("SEARCH_FILE = /D/A.TXT");
    const QString added = QStringLiteral("ADD____FILE = /D/A.TXT");
    QTest::newRow("start-up")
        << searched << QList<Step>{}
        << QList<Command>{C::DRIVE, C::FOLDER, C::SEARCH, C::CLEAR, C::HINAGATA, C::TIME, C::SETTEI, C::END}
        << QList<Command>{C::NONE1, C::HOZON, C::SEARCH_SAVE, C::FILE_DELETE, C::SORT, C::CHANGE, C::UPDATE,
                          C::CLIP, C::PARAMETER, C::HINA_FUKUSEI, C::STOP, C::DISP_SEARCH, C::DISP};
    QTest::newRow("search with results")
        << searched << QList<Step>{S::Confirm, S::AddFile, S::Run}
        << QList<Command>{C::DISP, C::CHANGE, C::CLIP, C::PARAMETER, C::SEARCH_SAVE, C::FILE_DELETE, C::HINAGATA}
        << QList<Command>{C::SEARCH, C::DISP_SEARCH, C::HOZON, C::STOP, C::SORT, C::UPDATE};
    QTest::newRow("search that finds nothing")
        << searched << QList<Step>{S::Confirm, S::Run} << QList<Command>{C::SEARCH, C::SEARCH_SAVE}
        << QList<Command>{C::STOP, C::DISP, C::HOZON, C::FILE_DELETE};
    QTest::newRow("clear after results")
        << searched << QList<Step>{S::Confirm, S::AddFile, S::Run, S::Clear}
        << QList<Command>{C::SEARCH, C::HINAGATA, C::SEARCH_SAVE}
        << QList<Command>{C::DISP, C::CHANGE, C::CLIP, C::FILE_DELETE, C::STOP};
    QTest::newRow("detail of a searched file, dialog closed")
        << searched << QList<Step>{S::Confirm, S::AddFile, S::Run, S::Detail, S::Activate}
        << QList<Command>{C::UPDATE, C::DISP_SEARCH} << QList<Command>{C::SORT, C::DISP, C::HINAGATA, C::FILE_DELETE};
    QTest::newRow("detail of a template file")
        << added << QList<Step>{S::AddFile, S::Run, S::Detail}
        << QList<Command>{C::SORT, C::UPDATE, C::DISP_SEARCH} << QList<Command>{C::DISP, C::FILE_DELETE};
    QTest::newRow("detail refused")
        << searched << QList<Step>{S::AddFile, S::Run, S::Refused} << QList<Command>{C::FILE_DELETE, C::DISP}
        << QList<Command>{C::DISP_SEARCH, C::UPDATE};
    QTest::newRow("detail, then the list again")
        << added << QList<Step>{S::AddFile, S::Run, S::Detail, S::List}
        << QList<Command>{C::DISP, C::HINAGATA, C::FILE_DELETE} << QList<Command>{C::DISP_SEARCH, C::SORT, C::UPDATE};
    QTest::newRow("a change, then the save")
        << searched << QList<Step>{S::AddFile, S::Run, S::ChangeFile, S::SaveFile} << QList<Command>{}
        << QList<Command>{C::HOZON};
    QTest::newRow("a change keeps HOZON through the after-change update")
        << searched << QList<Step>{S::AddFile, S::ChangeFile, S::Run} << QList<Command>{C::HOZON}
        << QList<Command>{};
}

void tst_CommandBoard::transitions()
{
    QFETCH(QString, header);
    QFETCH(QList<Step>, steps);
    QFETCH(QList<Command>, on);
    QFETCH(QList<Command>, off);
    WorkArea work;
    CommandBoard board;
    board.applyStartup();
    bool detail = false;
    for (Step step : steps) {
        switch (step) {
        case Step::AddFile:
            QCOMPARE(work.admitFile(QStringLiteral("/D/A.TXT"), {}, {header},
                                    {QStringLiteral("/D/A.TXT:@:000001.000:@:a")}),
                     0);
            work.Result_Flag = 1;
            break;
        case Step::ChangeFile:
            work.setFileChanged(0, true);
            board.afterChangeFlags(work);
            break;
        case Step::SaveFile:
            work.setFileChanged(0, false);
            board.afterChangeFlags(work);
            break;
        case Step::Confirm:
            board.searchStarting();
            break;
        case Step::Run:
            QVERIFY(board.Enter_Busy());
            board.searchStarting();
            for (Command c : Commands::table() | std::views::transform(&CommandInfo::command))
                QCOMPARE(board.isEnabled(c), c == Command::STOP);
            board.Leave_Busy();
            board.afterResultsChanged(work);
            break;
        case Step::Clear:
            work.clearAll();
            work.Result_Flag = 0;
            board.afterClear();
            break;
        case Step::Detail:
            board.detailRequested();
            QVERIFY(board.isBusy());
            board.detailShown(header);
            detail = true;
            break;
        case Step::Refused:
            board.detailRequested();
            board.detailRefused();
            break;
        case Step::List:
            board.listViewShown();
            detail = false;
            break;
        case Step::Activate:
            board.activated(0, work, detail, header);
            break;
        }
    }
    QVERIFY(!board.isBusy());
    QCOMPARE(board.isVisible(Command::NONE1), false);
    for (Command c : on)
        QVERIFY2(board.isEnabled(c), Commands::info(c).key);
    for (Command c : off)
        QVERIFY2(!board.isEnabled(c), Commands::info(c).key);
}

void tst_CommandBoard::activation_data()
{
    QTest::addColumn<int>("paramCount");
    QTest::addColumn<int>("resultFlag");
    QTest::addColumn<bool>("detailShown");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<QString>("header");
    QTest::addColumn<bool>("fukusei");
    QTest::addColumn<bool>("update");
    QTest::addColumn<bool>("sort");
    QTest::newRow("parameters read enable duplication")
        << 3 << 0 << false << false << QString() << true << false << false;
    QTest::newRow("detail of a searched file")
        << 0 << 1 << true << false << QStringLiteral("SEARCH_FILE = /A.TXT") << false << true << false;
    QTest::newRow("detail of a template file")
        << 0 << 1 << true << false << QStringLiteral("ADD____FILE = /A.TXT") << false << true << true;
    QTest::newRow("detail of a generated file")
        << 1 << 1 << true << false << QStringLiteral("MAKE___FILE = /B.TXT") << true << true << true;
    QTest::newRow("list view shown")
        << 0 << 1 << false << false << QStringLiteral("ADD____FILE = /A.TXT") << false << false << false;
    // CLEAR hides both views; a search then activates the window while the
    // list is not built yet.
    QTest::newRow("neither view shown") << 0 << 1 << false << false << QString() << false << false << false;
    QTest::newRow("busy: the run owns the buttons")
        << 2 << 1 << true << true << QStringLiteral("ADD____FILE = /A.TXT") << false << false << false;
}

void tst_CommandBoard::activation()
{
    QFETCH(int, paramCount);
    QFETCH(int, resultFlag);
    QFETCH(bool, detailShown);
    QFETCH(bool, busy);
    QFETCH(QString, header);
    QFETCH(bool, fukusei);
    QFETCH(bool, update);
    QFETCH(bool, sort);
    Workbench wb;
    wb.board.applyStartup();
    if (busy)
        wb.board.Enter_Busy();
    wb.Param_Count = paramCount;
    wb.work.Result_Flag = qint16(resultFlag);
    wb.display.Detail_Header = header;
    MainCommands::Activate(wb, detailShown);
    QCOMPARE(wb.board.isEnabled(Command::HINA_FUKUSEI), fukusei);
    QCOMPARE(wb.board.isEnabled(Command::UPDATE), update);
    QCOMPARE(wb.board.isEnabled(Command::SORT), sort);
}

void tst_CommandBoard::fukuseiWithoutParameters()
{
    Workbench wb;
    ScriptedMessagePort port;
    wb.messages = &port;
    QVERIFY(!MainCommands::checkFukusei(wb.Param_Count, *wb.messages));
    QCOMPARE(port.shown.size(), 1);
    QCOMPARE(port.shown[0].text, QStringLiteral("複製のためのパラメータが設定されていません。"));
    QCOMPARE(port.shown[0].caption, QStringLiteral("雛形複製"));
    wb.Param_Count = 2;
    QVERIFY(MainCommands::checkFukusei(wb.Param_Count, *wb.messages));
    QCOMPARE(port.shown.size(), 1);
}

QTEST_GUILESS_MAIN(tst_CommandBoard)
#include "tst_commandboard.moc"
