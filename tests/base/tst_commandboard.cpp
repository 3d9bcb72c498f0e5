#include "base/CommandBoard.h"
#include "app/MainCommands.h"
#include "base/ViewFrame.h"
#include "base/Workbench.h"
#include "settings/SettingsStore.h"

#include "ScriptedMessagePort.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class tst_CommandBoard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void keysInToolbarOrder();
    void startupRow_data();
    void startupRow();
    void busyKeepsButtonEnabledMeanwhile();
    void leaveBusyTwiceIsHarmless();
    void toggles_data();
    void toggles();
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

void tst_CommandBoard::keysInToolbarOrder()
{
    const QStringList expected = {
        QStringLiteral("DRIVE"), QStringLiteral("FOLDER"), QStringLiteral("NONE1"), QStringLiteral("HOZON"),
        QStringLiteral("SEARCH_SAVE"), QStringLiteral("SEARCH"), QStringLiteral("FILE_DELETE"),
        QStringLiteral("SORT"), QStringLiteral("CHANGE"), QStringLiteral("UPDATE"), QStringLiteral("CLEAR"),
        QStringLiteral("CLIP"), QStringLiteral("PARAMETER"), QStringLiteral("HINAGATA"),
        QStringLiteral("HINA_FUKUSEI"), QStringLiteral("STOP"), QStringLiteral("DISP_SEARCH"),
        QStringLiteral("DISP"), QStringLiteral("TIME"), QStringLiteral("SETTEI"), QStringLiteral("END")};
    QStringList actual;
    for (const QString &k : CommandBoard::keys())
        actual.append(k);
    QCOMPARE(actual, expected);
}

void tst_CommandBoard::startupRow_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("enabled");
    for (const char *k : {"DRIVE", "FOLDER", "SEARCH", "CLEAR", "HINAGATA", "TIME", "SETTEI", "END"})
        QTest::newRow(k) << QString::fromLatin1(k) << true;
    for (const char *k : {"NONE1", "HOZON", "SEARCH_SAVE", "FILE_DELETE", "SORT", "CHANGE", "UPDATE", "CLIP",
                          "PARAMETER", "HINA_FUKUSEI", "STOP", "DISP_SEARCH", "DISP"})
        QTest::newRow(k) << QString::fromLatin1(k) << false;
}

void tst_CommandBoard::startupRow()
{
    QFETCH(QString, key);
    QFETCH(bool, enabled);
    CommandBoard board;
    board.Apply_Startup();
    QCOMPARE(board.isEnabled(key), enabled);
    QCOMPARE(board.isVisible(key), key != QLatin1String("NONE1"));
}

void tst_CommandBoard::busyKeepsButtonEnabledMeanwhile()
{
    CommandBoard board;
    board.Apply_Startup();
    QSignalSpy spy(&board, &CommandBoard::changed);
    board.Enter_Busy();
    for (const QString &k : CommandBoard::keys())
        QVERIFY2(!board.isEnabled(k), qPrintable(k));
    QVERIFY(spy.count() > 0);
    // A search enables STOP and disables SEARCH while busy.
    board.setEnabled(QStringLiteral("STOP"), true);
    board.Leave_Busy();
    QVERIFY(board.isEnabled(QStringLiteral("STOP")));
    QVERIFY(board.isEnabled(QStringLiteral("SEARCH")));
    QVERIFY(board.isEnabled(QStringLiteral("END")));
    QVERIFY(!board.isEnabled(QStringLiteral("HOZON")));
    QCOMPARE(board.Saved_Buttons()[size_t(CommandBoard::indexOf(QStringLiteral("STOP")))], qint16(0));
    QCOMPARE(board.Saved_Buttons()[size_t(CommandBoard::indexOf(QStringLiteral("DRIVE")))], qint16(1));
}

void tst_CommandBoard::leaveBusyTwiceIsHarmless()
{
    CommandBoard board;
    board.Apply_Startup();
    board.Enter_Busy();
    board.Leave_Busy();
    board.setEnabled(QStringLiteral("SEARCH"), false);
    board.Leave_Busy();
    // The second call enables again what the snapshot held: harmless, as the
    // snapshot is the state before the operation.
    QVERIFY(board.isEnabled(QStringLiteral("SEARCH")));
    QVERIFY(!board.isEnabled(QStringLiteral("STOP")));
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
    QVERIFY(store.importInstallFile(m_dir->path()));
    ViewFrame frame = ViewFrame::fitted(9000, true, true);
    const ViewFrame shown = frame;
    QString error;
    if (toolbarFirst) {
        QCOMPARE(MainCommands::Toggle_Tool_Bar(wb, frame, true, &error), false);
        QCOMPARE(MainCommands::Toggle_Status_Bar(wb, frame, true, &error), false);
    } else {
        QCOMPARE(MainCommands::Toggle_Status_Bar(wb, frame, true, &error), false);
        QCOMPARE(MainCommands::Toggle_Tool_Bar(wb, frame, true, &error), false);
    }
    QVERIFY(error.isEmpty());
    QCOMPARE(frame.top, 0);
    QCOMPARE(frame.height, shown.height + 790);
    QCOMPARE(wb.settings.T_Bar, 0);
    QCOMPARE(wb.settings.S_Bar, 0);
    // Written to the store at once.
    SettingsStore again;
    QVERIFY(again.load());
    QCOMPARE(again.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("T_Bar")).value(), 0);
    QCOMPARE(again.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("S_Bar")).value(), 0);

    QCOMPARE(MainCommands::Toggle_Tool_Bar(wb, frame, false, &error), true);
    QCOMPARE(MainCommands::Toggle_Status_Bar(wb, frame, false, &error), true);
    QCOMPARE(frame.top, shown.top);
    QCOMPARE(frame.height, shown.height);
    QCOMPARE(wb.settings.T_Bar, 1);
    QCOMPARE(wb.settings.S_Bar, 1);
}

void tst_CommandBoard::activation_data()
{
    QTest::addColumn<int>("paramCount");
    QTest::addColumn<int>("resultFlag");
    QTest::addColumn<bool>("listShown");
    QTest::addColumn<QString>("header");
    QTest::addColumn<bool>("fukusei");
    QTest::addColumn<bool>("update");
    QTest::addColumn<bool>("sort");
    QTest::newRow("parameters read enable duplication") << 3 << 0 << true << QString() << true << false << false;
    QTest::newRow("detail of a searched file") << 0 << 1 << false << QStringLiteral("SEARCH_FILE = /A.TXT")
                                               << false << true << false;
    QTest::newRow("detail of a template file") << 0 << 1 << false << QStringLiteral("ADD____FILE = /A.TXT")
                                               << false << true << true;
    QTest::newRow("detail of a generated file") << 1 << 1 << false << QStringLiteral("MAKE___FILE = /B.TXT")
                                                << true << true << true;
    QTest::newRow("list view shown") << 0 << 1 << true << QStringLiteral("ADD____FILE = /A.TXT") << false << false
                                     << false;
}

void tst_CommandBoard::activation()
{
    QFETCH(int, paramCount);
    QFETCH(int, resultFlag);
    QFETCH(bool, listShown);
    QFETCH(QString, header);
    QFETCH(bool, fukusei);
    QFETCH(bool, update);
    QFETCH(bool, sort);
    Workbench wb;
    wb.board.Apply_Startup();
    wb.Param_Count = paramCount;
    wb.work.Result_Flag = qint16(resultFlag);
    wb.display.Detail_Header = header;
    MainCommands::Activate(wb, listShown);
    QCOMPARE(wb.board.isEnabled(QStringLiteral("HINA_FUKUSEI")), fukusei);
    QCOMPARE(wb.board.isEnabled(QStringLiteral("UPDATE")), update);
    QCOMPARE(wb.board.isEnabled(QStringLiteral("SORT")), sort);
}

void tst_CommandBoard::fukuseiWithoutParameters()
{
    Workbench wb;
    ScriptedMessagePort port;
    wb.messages = &port;
    QVERIFY(!MainCommands::Check_Fukusei(wb));
    QCOMPARE(port.shown.size(), 1);
    QCOMPARE(port.shown[0].text, QStringLiteral("複製のためのパラメータが設定されていません。"));
    QCOMPARE(port.shown[0].caption, QStringLiteral("雛形複製"));
    wb.Param_Count = 2;
    QVERIFY(MainCommands::Check_Fukusei(wb));
    QCOMPARE(port.shown.size(), 1);
}

QTEST_GUILESS_MAIN(tst_CommandBoard)
#include "tst_commandboard.moc"
