#include "DisplayFixture.h"
#include "ScriptedMessagePort.h"

#include "display/ListView.h"
#include "CommandBoardTestAccess.h"

#include <QTest>

class tst_ListView : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void caretToLine_data();
    void caretToLine();
    void caretToLineEmptyList();
    void buildLoadsDocument_data();
    void buildLoadsDocument();
    void clickHighlightsWholeLine();
    void clickInColumnHeaderSelectsNothing();
    void clickPastHighlightLimit();
    void clickBelowLastLine();
    void statusCounts_data();
    void statusCounts();
    void showListView_data();
    void showListView();

private:
    void setUpWorkbench(Workbench &wb, int hitLines = 3);
    QTemporaryDir m_dir;
    FakeRichView m_list, m_detail;
    ScriptedMessagePort m_messages;
};

void tst_ListView::init()
{
    QVERIFY(m_dir.isValid());
    m_list = FakeRichView();
    m_detail = FakeRichView();
    m_messages.shown.clear();
}

void tst_ListView::setUpWorkbench(Workbench &wb, int hitLines)
{
    attachPorts(wb, m_dir, m_list, m_detail, m_messages);
    QStringList lines;
    for (int i = 0; i < hitLines; ++i)
        lines.append(QStringLiteral("hit %1").arg(i));
    fillWorkArea(wb, {{QStringLiteral("/data/a.txt"), lines}, {QStringLiteral("/data/b.txt"), {QStringLiteral("hit 漢字")}}},
                 QStringLiteral("hit"));
}

void tst_ListView::caretToLine_data()
{
    QTest::addColumn<QList<int>>("ends");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("line");
    // 85 = a single-byte line; 45 = a line of double-byte characters.
    const QList<int> mixed = {85, 170, 215, 300};
    QTest::newRow("inside the first line") << mixed << 10 << 0;
    QTest::newRow("last character of the first line") << mixed << 84 << 0;
    QTest::newRow("start of the second line") << mixed << 85 << 1;
    QTest::newRow("start of a short line") << mixed << 170 << 2;
    QTest::newRow("inside a short line") << mixed << 200 << 2;
    QTest::newRow("start of the line after a short line") << mixed << 215 << 3;
    QTest::newRow("exactly at the end") << mixed << 300 << 3;
    QTest::newRow("below the last line") << mixed << 5000 << 3;
    QTest::newRow("negative") << mixed << -5 << 0;
    const QList<int> wide = {45, 90, 135, 180};
    QTest::newRow("wide: start of line 1") << wide << 45 << 1;
    QTest::newRow("wide: start of line 2") << wide << 90 << 2;
    QTest::newRow("wide: estimate too low") << wide << 170 << 3;
    QTest::newRow("wide: between CR and LF") << wide << 44 << 0;
}

void tst_ListView::caretToLine()
{
    QFETCH(QList<int>, ends);
    QFETCH(int, position);
    QFETCH(int, line);
    ItemList counts(false);
    for (int e : ends)
        counts.setData(counts.add(QStringLiteral("0"), 0), e);
    QCOMPARE(ListView::Caret_To_Line(counts, position), line);
}

void tst_ListView::caretToLineEmptyList()
{
    ItemList counts(false);
    QCOMPARE(ListView::Caret_To_Line(counts, 100), 0);
}

void tst_ListView::buildLoadsDocument_data()
{
    QTest::addColumn<bool>("colour");
    QTest::addColumn<QString>("path");
    QTest::newRow("colouring on") << true << QStringLiteral("一覧表示画面作成中！");
    QTest::newRow("colouring off") << false << QStringLiteral("before");
}

void tst_ListView::buildLoadsDocument()
{
    QFETCH(bool, colour);
    QFETCH(QString, path);
    Workbench wb;
    setUpWorkbench(wb);
    wb.settings.Color_Set_Flg = colour ? 1 : 0;
    wb.status.setText(StatusPanels::kPath, QStringLiteral("before"));
    wb.display.detailCacheKey = QStringLiteral("/data/a.txt");
    QVERIFY(ListView::Build_List_View(wb));
    QCOMPARE(wb.status.text(StatusPanels::kSearch), QStringLiteral("Editing..."));
    QCOMPARE(wb.status.text(StatusPanels::kPath), path);
    QCOMPARE(m_list.loaded, QStringList{m_dir.path() + QStringLiteral("/~QUAV_SK.RTF")});
    QCOMPARE(m_list.caret(), 1);
    QVERIFY(m_list.shown);
    QCOMPARE(int(m_list.doc.paragraphs.size()), wb.work.Search_Hit_List().count() + 1);
    // The line index and the loaded text agree on where every line starts.
    const QString text = m_list.plainText();
    for (int k = 1; k < wb.work.Search_Hit_List().count(); ++k)
        QCOMPARE(text.mid(ListView::lineStart(wb.work.Mojisuu_Count_List(), k), 7),
                 wb.work.Search_Hit_List().text(k).left(7).replace(QStringLiteral(":@:"), QStringLiteral("   ")));
    QVERIFY(wb.display.detailCacheKey.isEmpty());
}

void tst_ListView::clickHighlightsWholeLine()
{
    Workbench wb;
    setUpWorkbench(wb);
    QVERIFY(ListView::Build_List_View(wb));
    const int line = 3; // second hit line of a.txt
    const qint32 start = ListView::lineStart(wb.work.Mojisuu_Count_List(), line);
    m_list.setCaret(start + 20);
    ListView::KIHON_RTB_Search_Kekka_Click(wb);
    QCOMPARE(wb.display.Clicked_Caret_Pos, start + 20);
    QCOMPARE(wb.display.Clicked_Line_Index, line);
    QCOMPARE(m_list.caret(), start);
    QCOMPARE(m_list.selectedText(), wb.work.Search_Hit_List().text(line));
}

void tst_ListView::clickInColumnHeaderSelectsNothing()
{
    Workbench wb;
    setUpWorkbench(wb);
    QVERIFY(ListView::Build_List_View(wb));
    m_list.setCaret(30);
    ListView::KIHON_RTB_Search_Kekka_Click(wb);
    QCOMPARE(wb.display.Clicked_Line_Index, 0);
    QCOMPARE(m_list.caret(), 0);
    QVERIFY(m_list.selectedText().isEmpty());
}

void tst_ListView::clickPastHighlightLimit()
{
    Workbench wb;
    setUpWorkbench(wb, 400);
    QVERIFY(ListView::Build_List_View(wb));
    const ItemList &counts = wb.work.Mojisuu_Count_List();
    int line = 1;
    while (ListView::lineStart(counts, line) < ListView::kHighlightLimit)
        ++line;
    // The last line below the limit is still highlighted, the first at it not.
    const qint32 below = ListView::lineStart(counts, line - 1);
    m_list.setCaret(below + 3);
    ListView::KIHON_RTB_Search_Kekka_Click(wb);
    QCOMPARE(m_list.caret(), below);
    QVERIFY(!m_list.selectedText().isEmpty());

    const qint32 at = ListView::lineStart(counts, line);
    m_list.setCaret(at + 3);
    ListView::KIHON_RTB_Search_Kekka_Click(wb);
    QCOMPARE(wb.display.Clicked_Line_Index, line);
    QCOMPARE(m_list.caret(), at + 3);
    QVERIFY(m_list.selectedText().isEmpty());
}

void tst_ListView::clickBelowLastLine()
{
    Workbench wb;
    setUpWorkbench(wb);
    QVERIFY(ListView::Build_List_View(wb));
    m_list.setCaret(1 << 20);
    ListView::KIHON_RTB_Search_Kekka_Click(wb);
    QCOMPARE(wb.display.Clicked_Line_Index, wb.work.Search_Hit_List().count() - 1);
}

void tst_ListView::statusCounts_data()
{
    QTest::addColumn<bool>("withFiles");
    QTest::addColumn<int>("hozon");
    QTest::addColumn<QString>("hitSu");
    QTest::addColumn<QList<Command>>("on");
    QTest::addColumn<QList<Command>>("off");
    QTest::newRow("files, unsaved change")
        << true << 1 << QStringLiteral("対象数 =2ﾌｧｲﾙ")
        << QList<Command> {Command::HOZON,     Command::SEARCH_SAVE, Command::CHANGE,     Command::CLIP,
                           Command::PARAMETER, Command::DISP,        Command::FILE_DELETE}
        << QList<Command> {Command::STOP, Command::SEARCH};
    QTest::newRow("files, saved") << true << 0 << QStringLiteral("対象数 =2ﾌｧｲﾙ")
                                  << QList<Command> {Command::SEARCH_SAVE, Command::DISP}
                                  << QList<Command> {Command::HOZON, Command::STOP};
    QTest::newRow("empty") << false << 1 << QStringLiteral("対象数 =0ﾌｧｲﾙ")
                           << QList<Command> {Command::SEARCH, Command::SEARCH_SAVE}
                           << QList<Command> {Command::HOZON,  Command::FILE_DELETE, Command::CHANGE,
                                              Command::UPDATE, Command::CLIP,        Command::PARAMETER,
                                              Command::DISP,   Command::STOP,        Command::HINA_FUKUSEI};
}

void tst_ListView::statusCounts()
{
    QFETCH(bool, withFiles);
    QFETCH(int, hozon);
    QFETCH(QString, hitSu);
    QFETCH(QList<Command>, on);
    QFETCH(QList<Command>, off);
    Workbench wb;
    if (withFiles)
        setUpWorkbench(wb);
    wb.work.Search_Path = QStringLiteral("/data");
    wb.work.Hozon_Flag = qint16(hozon);
    CommandBoardTestAccess::disable(wb.board, {Command::SEARCH, Command::SEARCH_SAVE, Command::DISP, Command::CHANGE});
    CommandBoardTestAccess::enable(wb.board, {Command::STOP, Command::UPDATE, Command::HINA_FUKUSEI});
    ListView::Show_Status_Counts(wb);
    QCOMPARE(wb.status.text(StatusPanels::kSearch), QStringLiteral("Ready"));
    QCOMPARE(wb.status.text(StatusPanels::kPath), QStringLiteral("/data"));
    QCOMPARE(wb.status.text(StatusPanels::kHitSu), hitSu);
    for (Command k : on)
        QVERIFY2(wb.board.isEnabled(k), Commands::info(k).key);
    for (Command k : off)
        QVERIFY2(!wb.board.isEnabled(k), Commands::info(k).key);
    if (withFiles)
        QVERIFY(wb.board.isEnabled(Command::UPDATE)); // left as it was
}

void tst_ListView::showListView_data()
{
    QTest::addColumn<bool>("fromToolbar");
    QTest::addColumn<bool>("farDown");
    QTest::addColumn<bool>("detailCleared");
    QTest::addColumn<bool>("caretRestored");
    QTest::newRow("toolbar") << true << false << true << true;
    QTest::newRow("menu") << false << false << false << true;
    QTest::newRow("toolbar, far down") << true << true << true << false;
    QTest::newRow("menu, far down") << false << true << false << true;
}

void tst_ListView::showListView()
{
    QFETCH(bool, fromToolbar);
    QFETCH(bool, farDown);
    QFETCH(bool, detailCleared);
    QFETCH(bool, caretRestored);
    Workbench wb;
    setUpWorkbench(wb, 400);
    QVERIFY(ListView::Build_List_View(wb));
    m_detail.doc.paragraphs.push_back(RtfParagraph{QStringLiteral("detail"), {}});
    m_list.shown = false;
    m_list.enabled = false;
    const qint32 pos = farDown ? ListView::kHighlightLimit + 100 : 200;
    wb.display.List_Caret_Pos = pos;
    m_list.setCaret(7);
    CommandBoardTestAccess::enable(wb.board, {Command::DISP_SEARCH, Command::SORT, Command::UPDATE});
    CommandBoardTestAccess::disable(wb.board, {Command::DISP, Command::HINAGATA, Command::FILE_DELETE});
    ListView::Show_List_View(wb, fromToolbar);
    QVERIFY(m_list.shown && m_list.enabled && m_list.focused);
    QVERIFY(!m_detail.shown);
    QCOMPARE(m_detail.plainText().isEmpty(), detailCleared);
    QCOMPARE(m_list.caret(), caretRestored ? pos : 7);
    if (caretRestored) {
        const QString rest = m_list.plainText().mid(pos);
        QCOMPARE(m_list.selectedText(), rest.left(rest.indexOf(QLatin1Char('\r'))));
    }
    for (Command k : {Command::DISP, Command::HINAGATA, Command::FILE_DELETE})
        QVERIFY(wb.board.isEnabled(k));
    for (Command k : {Command::DISP_SEARCH, Command::SORT, Command::UPDATE})
        QVERIFY(!wb.board.isEnabled(k));
    QCOMPARE(wb.status.text(StatusPanels::kHitSu), QStringLiteral("対象数 =2ﾌｧｲﾙ"));
    QCOMPARE(wb.status.text(StatusPanels::kSearch), QStringLiteral("Ready"));
}

QTEST_GUILESS_MAIN(tst_ListView)
#include "tst_listview.moc"
