#include "DisplayFixture.h"
#include "ScriptedMessagePort.h"

#include "display/DetailView.h"
#include "display/ListView.h"

#include <QFile>
#include "WorkAreaTestAccess.h"
#include "CommandBoardTestAccess.h"

#include <QTest>

class tst_DetailView : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void emptyListRefused();
    void hitLineShowsWholeFile();
    void headerLineShowsSameFile();
    void caretAtLineStartBelongsToThatLine();
    void detailDocumentCached();
    void columnHeaderMessages_data();
    void columnHeaderMessages();
    void rangeOnlyLocatesWithoutShowing();
    void sortFollowsHeaderKind_data();
    void sortFollowsHeaderKind();
    void longPathsSharingTheirHead();
    void cutHeaderWithoutKeptKeyNeverGuesses();
    void viewsIgnoredWhileBusy_data();
    void viewsIgnoredWhileBusy();

private:
    void setUp(Workbench &wb, const QList<TestFile> &files);
    // The caret somewhere inside display line k.
    void caretInLine(Workbench &wb, int k, int offset = 10);
    QTemporaryDir m_dir;
    FakeRichView m_list, m_detail;
    ScriptedMessagePort m_messages;
};

namespace {

QList<TestFile> twoFiles()
{
    return {{QStringLiteral("/data/a.txt"), {QStringLiteral("hit a1"), QStringLiteral("plain"), QStringLiteral("hit a3")}},
            {QStringLiteral("/data/b.txt"), {QStringLiteral("b1"), QStringLiteral("hit b2")}}};
}

} // namespace

void tst_DetailView::init()
{
    QVERIFY(m_dir.isValid());
    m_list = FakeRichView();
    m_detail = FakeRichView();
    m_messages.shown.clear();
}

void tst_DetailView::setUp(Workbench &wb, const QList<TestFile> &files)
{
    attachPorts(wb, m_dir, m_list, m_detail, m_messages);
    fillWorkArea(wb, files, QStringLiteral("hit"));
    QVERIFY(ListView::Build_List_View(wb));
    ListView::Show_Status_Counts(wb);
    CommandBoardTestAccess::enable(wb.board, {Command::DISP, Command::FILE_DELETE, Command::HINAGATA});
}

void tst_DetailView::caretInLine(Workbench &, int k, int offset)
{
    // Through the loaded text itself, not the line index under test.
    const QString text = m_list.plainText();
    int pos = 0;
    for (int i = 0; i < k; ++i)
        pos = int(text.indexOf(QStringLiteral("\r\n"), pos)) + 2;
    m_list.setCaret(pos + offset);
}

void tst_DetailView::emptyListRefused()
{
    Workbench wb;
    wb.messages = &m_messages;
    wb.listView = &m_list;
    wb.detailView = &m_detail;
    CommandBoardTestAccess::enable(wb.board, {Command::FILE_DELETE});
    DetailView::Show_Detail_View(wb, DetailView::Origin::Toolbar);
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown[0].text, QStringLiteral("一覧表にデータがありません。"));
    QCOMPARE(m_messages.shown[0].caption, QStringLiteral("詳細表示"));
    QCOMPARE(m_messages.shown[0].icon, MessagePort::Icon::Exclamation);
    QVERIFY(wb.board.isEnabled(Command::FILE_DELETE));
    QVERIFY(m_detail.loaded.isEmpty());
}

void tst_DetailView::hitLineShowsWholeFile()
{
    Workbench wb;
    setUp(wb, twoFiles());
    // Display lines: 0 column header, 1 a.txt, 2 hit a1, 3 hit a3, 4 b.txt, 5 hit b2.
    caretInLine(wb, 5);
    const int caret = m_list.caret();
    DetailView::Show_Detail_View(wb, DetailView::Origin::DoubleClick);
    QVERIFY(m_messages.shown.isEmpty());
    const DisplayState &d = wb.display;
    QCOMPARE(d.Detail_File_Key, QStringLiteral("/data/b.txt"));
    QCOMPARE(d.detailFileIndex, 1);
    QCOMPARE(d.Detail_First, 3);
    QCOMPARE(d.Detail_Last, 4);
    QVERIFY(d.Detail_Header.startsWith(QStringLiteral("SEARCH_FILE = /data/b.txt")));
    QCOMPARE(d.Clicked_Line_Index, 5);
    QCOMPARE(d.List_Caret_Pos, caret);
    QCOMPARE(m_detail.plainText(), QStringLiteral("/data/b.txt\r\nb1\r\nhit b2\r\n"));
    QCOMPARE(m_detail.caret(), 1);
    QVERIFY(m_detail.shown && m_detail.enabled);
    QVERIFY(!m_list.shown && !m_list.enabled);
    QCOMPARE(m_list.selectedText(), wb.work.Search_Hit_List().text(5));
    for (Command k : {Command::DISP_SEARCH, Command::UPDATE})
        QVERIFY(wb.board.isEnabled(k));
    for (Command k : {Command::DISP, Command::HINAGATA, Command::SORT, Command::FILE_DELETE})
        QVERIFY2(!wb.board.isEnabled(k), Commands::info(k).key);
    QCOMPARE(wb.status.text(StatusPanels::kSearch), QStringLiteral("Details"));
    QCOMPARE(wb.status.text(StatusPanels::kPath), QStringLiteral("/data/b.txt"));
    QCOMPARE(wb.status.text(StatusPanels::kHitSu), QString());
}

void tst_DetailView::headerLineShowsSameFile()
{
    Workbench wb;
    setUp(wb, twoFiles());
    caretInLine(wb, 1, 30);
    DetailView::Show_Detail_View(wb, DetailView::Origin::Menu);
    QCOMPARE(wb.display.Detail_File_Key, QStringLiteral("/data/a.txt"));
    QCOMPARE(wb.display.Detail_First, 0);
    QCOMPARE(wb.display.Detail_Last, 2);
    QString shown = wb.work.Search_Hit_List().text(1);
    shown.replace(shown.indexOf(QStringLiteral(":@:")), 3, QStringLiteral("   "));
    QCOMPARE(m_list.selectedText(), shown);
}

void tst_DetailView::caretAtLineStartBelongsToThatLine()
{
    Workbench wb;
    setUp(wb, twoFiles());
    caretInLine(wb, 4, 0); // first column of b.txt's header, just after a.txt's last hit
    DetailView::Show_Detail_View(wb, DetailView::Origin::Toolbar);
    QCOMPARE(wb.display.Clicked_Line_Index, 4);
    QCOMPARE(wb.display.Detail_File_Key, QStringLiteral("/data/b.txt"));
}

void tst_DetailView::detailDocumentCached()
{
    Workbench wb;
    setUp(wb, twoFiles());
    caretInLine(wb, 2);
    DetailView::Show_Detail_View(wb, DetailView::Origin::DoubleClick);
    QCOMPARE(m_detail.doc.paragraphs[0].text, QStringLiteral("/data/a.txt"));
    const QString path = wb.display.detailDocumentPath;

    // A stand-in on disk shows whether the same file is written again.
    auto plant = [&]() {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("{\\rtf1 STAND-IN}");
    };
    plant();
    ListView::Show_List_View(wb, true);
    caretInLine(wb, 3);
    DetailView::Show_Detail_View(wb, DetailView::Origin::DoubleClick);
    QCOMPARE(m_detail.plainText(), QStringLiteral("STAND-IN"));

    // After an edit the key is emptied: written again.
    ListView::Show_List_View(wb, true);
    wb.display.detailCacheKey.clear();
    caretInLine(wb, 3);
    DetailView::Show_Detail_View(wb, DetailView::Origin::DoubleClick);
    QCOMPARE(m_detail.doc.paragraphs[0].text, QStringLiteral("/data/a.txt"));

    // Another file is written without being asked.
    plant();
    ListView::Show_List_View(wb, false);
    caretInLine(wb, 5);
    DetailView::Show_Detail_View(wb, DetailView::Origin::DoubleClick);
    QCOMPARE(m_detail.doc.paragraphs[0].text, QStringLiteral("/data/b.txt"));
}

void tst_DetailView::columnHeaderMessages_data()
{
    QTest::addColumn<int>("rangeOnly");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::newRow("detail view") << 0 << QStringLiteral("見出し行では表示できません。") << QStringLiteral("詳細表示");
    QTest::newRow("deselect") << 1 << QStringLiteral("見出し行は取り消し処理できません。") << QStringLiteral("選択取り消し");
}

void tst_DetailView::columnHeaderMessages()
{
    QFETCH(int, rangeOnly);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    Workbench wb;
    setUp(wb, twoFiles());
    caretInLine(wb, 0, 20);
    wb.display.Range_Only_Flag = qint16(rangeOnly);
    if (rangeOnly) {
        wb.board.Enter_Busy();
        DetailView::Build_Detail_View(wb);
    } else {
        DetailView::Show_Detail_View(wb, DetailView::Origin::DoubleClick);
    }
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown[0].text, text);
    QCOMPARE(m_messages.shown[0].caption, caption);
    QCOMPARE(m_messages.shown[0].icon, MessagePort::Icon::Exclamation);
    QCOMPARE(wb.display.Range_Only_Flag, qint16(0));
    QVERIFY(wb.display.Detail_Header.isEmpty());
    QVERIFY(m_list.shown && m_list.enabled && !m_detail.shown);
    QCOMPARE(m_list.caret(), 0);
    QCOMPARE(m_list.selectedText(), wb.work.Search_Hit_List().text(0));
    QVERIFY(wb.board.isEnabled(Command::DISP));
    QVERIFY(wb.board.isEnabled(Command::FILE_DELETE));
    QVERIFY(!wb.board.isEnabled(Command::DISP_SEARCH));
    QCOMPARE(wb.status.text(StatusPanels::kHitSu), QStringLiteral("対象数 =2ﾌｧｲﾙ"));

    // The next double-click on a hit line shows its file as usual.
    m_messages.shown.clear();
    caretInLine(wb, 2);
    DetailView::Show_Detail_View(wb, DetailView::Origin::DoubleClick);
    QVERIFY(m_messages.shown.isEmpty());
    QVERIFY(m_detail.shown);
    QCOMPARE(wb.display.Detail_File_Key, QStringLiteral("/data/a.txt"));
}

void tst_DetailView::rangeOnlyLocatesWithoutShowing()
{
    Workbench wb;
    setUp(wb, twoFiles());
    caretInLine(wb, 5);
    wb.display.Range_Only_Flag = 1;
    QVERIFY(DetailView::Build_Detail_View(wb));
    QCOMPARE(wb.display.Range_Only_Flag, qint16(0));
    QCOMPARE(wb.display.Detail_File_Key, QStringLiteral("/data/b.txt"));
    QCOMPARE(wb.display.Detail_First, 3);
    QCOMPARE(wb.display.Detail_Last, 4);
    QVERIFY(m_detail.loaded.isEmpty());
    QVERIFY(!m_detail.shown);
    QVERIFY(m_list.shown);
}

void tst_DetailView::sortFollowsHeaderKind_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("sort");
    QTest::newRow("search") << LineFormat::kSearchPrefix << false;
    QTest::newRow("template") << LineFormat::kAddPrefix << true;
    QTest::newRow("duplicate") << LineFormat::kMakePrefix << true;
}

void tst_DetailView::sortFollowsHeaderKind()
{
    QFETCH(QString, prefix);
    QFETCH(bool, sort);
    Workbench wb;
    TestFile f{QStringLiteral("/t/x.txt"), {QStringLiteral("hit")}, prefix};
    setUp(wb, {f});
    CommandBoardTestAccess::setEnabled(wb.board, Command::SORT, !sort);
    caretInLine(wb, 2);
    DetailView::Show_Detail_View(wb, DetailView::Origin::DoubleClick);
    QCOMPARE(wb.board.isEnabled(Command::SORT), sort);
}

void tst_DetailView::longPathsSharingTheirHead()
{
    const QString dir = QStringLiteral("/home/user/projects/") + QString(60, QLatin1Char('x')) + QLatin1Char('/');
    Workbench wb;
    setUp(wb, {{dir + QStringLiteral("first.txt"), {QStringLiteral("hit 1")}},
               {dir + QStringLiteral("second.txt"), {QStringLiteral("x"), QStringLiteral("hit 2")}}});
    // Both headers are cut to the same display text.
    QCOMPARE(wb.work.Search_Hit_List().text(1), wb.work.Search_Hit_List().text(3));
    for (const auto &[line, name] : {std::pair{4, "second.txt"}, std::pair{3, "second.txt"}, std::pair{2, "first.txt"}, std::pair{1, "first.txt"}}) {
        ListView::Show_List_View(wb, true);
        caretInLine(wb, line);
        DetailView::Show_Detail_View(wb, DetailView::Origin::DoubleClick);
        QCOMPARE(wb.display.Detail_File_Key, dir + QString::fromLatin1(name));
        QCOMPARE(m_detail.doc.paragraphs[0].text, wb.display.Detail_File_Key);
    }
}

void tst_DetailView::cutHeaderWithoutKeptKeyNeverGuesses()
{
    const QString dir = QStringLiteral("/home/user/projects/") + QString(60, QLatin1Char('x')) + QLatin1Char('/');
    Workbench wb;
    setUp(wb, {{dir + QStringLiteral("first.txt"), {QStringLiteral("hit 1")}},
               {dir + QStringLiteral("second.txt"), {QStringLiteral("hit 2")}},
               {QStringLiteral("/other/") + QString(80, QLatin1Char('y')) + QStringLiteral(".txt"), {QStringLiteral("hit 3")}}});
    // As if a writer had stored the headers without their keys.
    for (int k = 0; k < wb.work.Search_Hit_List().count(); ++k)
        WorkAreaTestAccess::display(wb.work).setTag(k, QString());
    QCOMPARE(DetailView::locateHeaderFile(wb.work, 1), -1);
    QCOMPARE(DetailView::locateHeaderFile(wb.work, 3), -1);
    QCOMPARE(DetailView::locateHeaderFile(wb.work, 5), 2); // the only file with that head

    caretInLine(wb, 2);
    DetailView::Show_Detail_View(wb, DetailView::Origin::DoubleClick);
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown[0].caption, QStringLiteral("詳細表示"));
    QVERIFY(wb.display.Detail_Header.isEmpty());
    QVERIFY(!m_detail.shown);
    QVERIFY(m_list.shown && m_list.enabled);
}

void tst_DetailView::viewsIgnoredWhileBusy_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<int>("line");
    QTest::newRow("double-click on the column header") << true << 0;
    QTest::newRow("double-click on a hit line") << true << 2;
    QTest::newRow("click on a hit line") << false << 2;
}

// A search pumps the event loop with the list view in sight: a click or a
// double-click there must neither start a command nor touch the saved states.
void tst_DetailView::viewsIgnoredWhileBusy()
{
    QFETCH(bool, doubleClick);
    QFETCH(int, line);
    Workbench wb;
    setUp(wb, twoFiles());
    QList<Command> enabledBefore;
    for (int i = 0; i < Commands::kCount; ++i)
        if (wb.board.isEnabled(Command(i)))
            enabledBefore.append(Command(i));
    wb.display.Clicked_Line_Index = 7;
    m_detail.shown = false;

    QVERIFY(wb.board.Enter_Busy());
    CommandBoardTestAccess::enable(wb.board, {Command::STOP});
    caretInLine(wb, line);
    if (doubleClick)
        DetailView::Show_Detail_View(wb, DetailView::Origin::DoubleClick);
    else
        ListView::KIHON_RTB_Search_Kekka_Click(wb);
    QVERIFY(m_messages.shown.isEmpty());
    QVERIFY(m_list.shown && !m_detail.shown);
    QCOMPARE(wb.display.Clicked_Line_Index, 7);
    for (int i = 0; i < Commands::kCount; ++i)
        QCOMPARE(wb.board.isEnabled(Command(i)), Command(i) == Command::STOP);

    wb.board.Leave_Busy();
    for (Command c : std::as_const(enabledBefore))
        QVERIFY2(wb.board.isEnabled(c), Commands::info(c).key);
}

QTEST_GUILESS_MAIN(tst_DetailView)
#include "tst_detailview.moc"
