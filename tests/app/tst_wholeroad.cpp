// The whole road from the window: SEARCH opens the dialog, a search fills the
// work area and shows the list view, a double-click shows the detail view,
// CLIP copies, CLEAR empties and offers SEARCH again. Files are shown and kept
// by their paths as on disk: a.txt beside A.TXT are two files. Then the roads
// a new user takes during a run: a common word refusing many files, a
// double-click on the view, the window closed.
#include "base/Workbench.h"
#include "DialogControls.h"
#include "edit/BatchUndo.h"
#include "edit/ReplaceForm.h"
#include "edit/SaveForm.h"
#include "platform/Cp932.h"
#include "app/widgets/KIHON.h"
#include "display/widgets/RichTextView.h"
#include "search/widgets/QUAV_SEARCH_SETTEI.h"
#include "platform/SettingsStore.h"

#include "../search/SearchTree.h"

#include "WindowFixture.h"
#include "CommandBoardTestAccess.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

QUAV_SEARCH_SETTEI *openSearchDialog()
{
    return DialogFixture::find<QUAV_SEARCH_SETTEI>();
}

// A window started over a folder of test files.
struct Road : WindowFixture
{
    bool start()
    {
        const bool exposed = WindowFixture::start();
        // A default word: the search dialog opens without its note.
        wb->settings.DATA[0] = QStringLiteral("word");
        wb->settings.DEFAULT_DATA = 0;
        return exposed;
    }
    // SEARCH, the word typed, サーチ開始: returns once the run has ended.
    bool search(const QString &word)
    {
        window->runCommand(Command::SEARCH, KIHON::Origin::Toolbar);
        QUAV_SEARCH_SETTEI *dialog = openSearchDialog();
        if (!dialog)
            return false;
        control<QComboBox>(dialog, "Combo_Search_Data")->setEditText(word);
        QTest::mouseClick(control<QPushButton>(dialog, "CMD_SEARCH"), Qt::LeftButton);
        return !openSearchDialog();
    }
    // Runs once, from inside the run, when the PATH panel shows the file name.
    void during(const QString &name, std::function<void()> action)
    {
        auto done = std::make_shared<bool>(false);
        QObject::connect(&wb->status, &StatusPanels::changed, window.get(),
                         [=](StatusPanel key, const QString &text) {
                             if (!*done && key == StatusPanels::kPath && text.endsWith(name)) {
                                 *done = true;
                                 action();
                             }
                         });
    }
};

// n small files B001.TXT ... each with the word on its second line.
bool writeSmallFiles(const Road &road, int n, const QString &word)
{
    for (int i = 1; i <= n; ++i)
        if (!SearchTree::writeNumbered(road.file(QStringLiteral("B%1.TXT").arg(i, 3, 10, QLatin1Char('0'))), 2, word,
                                       {2}))
            return false;
    return true;
}

const QList<Command> kIdleCommands{Command::DRIVE, Command::FOLDER, Command::CLEAR, Command::HINAGATA,
                                   Command::TIME,  Command::SETTEI, Command::END};

} // namespace

class tst_WholeRoad : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void searchShowCopyClear();
    void mixedEncodings();
    void manyRefusalsOneBoxOneSummary();
    void doubleClickDuringRun();
    void closedDuringRun(); // last: the program's exit ends every later event loop at once
};

void tst_WholeRoad::searchShowCopyClear()
{
    WindowFixture f;
    QVERIFY(SearchTree::writeLines(f.file(QStringLiteral("報告.TXT")), {QStringLiteral("第一行"), QStringLiteral("ここで検索する"),
                                                                      QStringLiteral("終わり")}));
    QVERIFY(SearchTree::writeLines(f.file(QStringLiteral("other.log")), {QStringLiteral("検索語")}));
    QVERIFY(SearchTree::writeLines(f.file(QStringLiteral("skip.txt")), {QStringLiteral("no hit")}));
    QVERIFY(SearchTree::writeLines(f.file(QStringLiteral("a.txt")), {QStringLiteral("小文字の検索")}));
    QVERIFY(SearchTree::writeLines(f.file(QStringLiteral("A.TXT")), {QStringLiteral("大文字"), QStringLiteral("大文字の検索")}));
    const QString root = QDir(f.tree.path()).absolutePath();
    QVERIFY(f.start());
    KIHON &window = *f.window;
    Workbench &wb = *f.wb;
    ScriptedMessagePort &port = f.port;
    window.runCommand(Command::SEARCH, KIHON::Origin::Toolbar);
    QUAV_SEARCH_SETTEI *dialog = openSearchDialog();
    QVERIFY(dialog);
    QVERIFY(!window.isEnabled());
    control<QComboBox>(dialog, "Combo_Search_Data")->setEditText(QStringLiteral("  検索  "));
    QTest::mouseClick(control<QPushButton>(dialog, "CMD_SEARCH"), Qt::LeftButton);
    QTRY_VERIFY(!openSearchDialog());

    QVERIFY(window.isEnabled());
    QCOMPARE(wb.work.Search_Word, QStringLiteral("検索"));
    QCOMPARE(wb.work.Search_Hit_File_List().count(), 4);
    QCOMPARE(wb.status.text(StatusPanels::kHitSu), QStringLiteral("対象数 =4ﾌｧｲﾙ"));
    // Neither a.txt nor A.TXT was refused as already open.
    QVERIFY(!port.texts().join(QLatin1Char('|')).contains(QStringLiteral("既に開かれています")));
    const QString list = window.listView()->plainText();
    QVERIFY(list.contains(QStringLiteral("SEARCH_FILE = ") + root + QStringLiteral("/a.txt ")));
    QVERIFY(list.contains(QStringLiteral("SEARCH_FILE = ") + root + QStringLiteral("/A.TXT ")));
    QVERIFY(window.listView()->isShown());
    QVERIFY(!wb.board.isEnabled(Command::SEARCH));
    QVERIFY(!wb.board.isEnabled(Command::STOP));
    QVERIFY(wb.board.isEnabled(Command::DISP));
    QVERIFY(window.listView()->plainText().contains(QStringLiteral("000002:ここで検索する")));

    // A double-click on the hit line of 報告.TXT shows the whole file.
    const int hitLine = window.listView()->plainText().indexOf(QStringLiteral("000002:ここで"));
    QVERIFY(hitLine > 0);
    QTest::mouseDClick(window.listView()->viewport(), Qt::LeftButton, {},
                       window.listView()->pointOf(hitLine + 3));
    QTRY_VERIFY(window.detailView()->isShown());
    QVERIFY(!window.listView()->isShown());
    const QString detail = window.detailView()->plainText();
    QVERIFY(detail.contains(QStringLiteral("第一行")));
    QVERIFY(detail.contains(QStringLiteral("終わり")));
    QVERIFY(detail.startsWith(root + QStringLiteral("/報告.TXT")));
    QCOMPARE(wb.status.text(StatusPanels::kPath), root + QStringLiteral("/報告.TXT"));

    // a.txt and A.TXT each show their own lines under their own path.
    for (const auto &[name, line] : {std::pair{QStringLiteral("a.txt"), QStringLiteral("000001:小文字の検索")},
                                     std::pair{QStringLiteral("A.TXT"), QStringLiteral("000002:大文字の検索")}}) {
        window.runCommand(Command::DISP_SEARCH, KIHON::Origin::Toolbar);
        const int at = window.listView()->plainText().indexOf(line);
        QVERIFY(at > 0);
        QTest::mouseDClick(window.listView()->viewport(), Qt::LeftButton, {}, window.listView()->pointOf(at + 3));
        QTRY_VERIFY(window.detailView()->isShown());
        const QString shown = window.detailView()->plainText();
        QVERIFY2(shown.startsWith(root + QLatin1Char('/') + name + QStringLiteral("\r\n")), qPrintable(shown));
        QVERIFY(shown.contains(line.mid(7)));
        QCOMPARE(shown.contains(QStringLiteral("大文字\r\n")), name == QLatin1String("A.TXT"));
    }

    // Back to the list; copy a selected line exactly, filling spaces too.
    window.runCommand(Command::DISP_SEARCH, KIHON::Origin::Toolbar);
    QVERIFY(window.listView()->isShown());
    window.listView()->setCaret(hitLine);
    window.listView()->selectToLineEnd();
    window.runCommand(Command::CLIP, KIHON::Origin::Toolbar);
    const QString copied = QGuiApplication::clipboard()->text();
    QVERIFY(copied.startsWith(QStringLiteral("000002:ここで検索する")));
    QVERIFY(copied.endsWith(QLatin1Char(' ')));

    port.answers.enqueue(MessagePort::Answer::Yes);
    window.runCommand(Command::CLEAR, KIHON::Origin::Toolbar);
    QCOMPARE(wb.work.Search_Hit_File_List().count(), 0);
    QVERIFY(!window.listView()->isShown());
    QVERIFY(!window.detailView()->isShown());
    QVERIFY(wb.board.isEnabled(Command::SEARCH));
    window.MENU_SETTEI();
    QVERIFY(window.menuEntry(MenuEntry::M_EDIT_SEARCH)->isEnabled());
}

void tst_WholeRoad::mixedEncodings()
{
    // One tree, six encodings of a file: each is searched and shown in its
    // own, and none is saved in another.
    Road f;
    const QString word = QStringLiteral("エラー");
    const QByteArray u16 = QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(u"前\r\nエラー16\r\n"), 20);
    const QList<std::pair<QString, QByteArray>> files = {
        {QStringLiteral("sj.TXT"), Cp932::encode(u"一行目\r\nエラー発生\r\n")},
        {QStringLiteral("u8.TXT"), QStringLiteral("先\nエラー8\n").toUtf8()},
        {QStringLiteral("bom.TXT"), QByteArray("\xEF\xBB\xBF") + QStringLiteral("エラー印\n").toUtf8()},
        {QStringLiteral("u16.TXT"), u16},
        {QStringLiteral("ascii.TXT"), QByteArray("error only\n")},
        {QStringLiteral("wide.TXT"), QStringLiteral("エラー𠮷한\n").toUtf8()},
    };
    for (const auto &[name, bytes] : files)
        QVERIFY(SearchTree::writeBytes(f.file(name), bytes));
    const QString root = QDir(f.tree.path()).absolutePath() + QLatin1Char('/');
    QVERIFY(f.start());
    QVERIFY(f.search(word));
    WorkArea &work = f.wb->work;
    QCOMPARE(work.Search_Hit_File_List().count(), 5);
    const QString list = f.window->listView()->plainText();
    for (const QString &hit : {QStringLiteral("000002:エラー発生"), QStringLiteral("000002:エラー8"),
                               QStringLiteral("000001:エラー印"), QStringLiteral("000002:エラー16"),
                               QStringLiteral("000001:エラー𠮷한")})
        QVERIFY2(list.contains(hit), qPrintable(hit));
    // A wide character takes two columns: the fitted line keeps 83.
    QVERIFY(list.contains(QStringLiteral("000001:エラー𠮷한") + QString(83 - 7 - 10, QLatin1Char(' ')) + QStringLiteral("\r\n")));
    const QMap<QString, TextEncoding> expected = {{QStringLiteral("sj.TXT"), TextEncoding::Cp932},
                                                   {QStringLiteral("u8.TXT"), TextEncoding::Utf8},
                                                   {QStringLiteral("bom.TXT"), TextEncoding::Utf8Bom},
                                                   {QStringLiteral("u16.TXT"), TextEncoding::Utf16LE},
                                                   {QStringLiteral("wide.TXT"), TextEncoding::Utf8}};
    for (int i = 0; i < work.Search_Hit_File_List().count(); ++i)
        QCOMPARE(work.fileOrigins().at(i).encoding, expected.value(work.File_Key(i).mid(root.size())));

    // The detail view: the whole file, the mark no part of its first line,
    // the encoding beside the path.
    for (const QString &name : {QStringLiteral("bom.TXT"), QStringLiteral("wide.TXT")}) {
        f.window->runCommand(Command::DISP_SEARCH, KIHON::Origin::Toolbar);
        const int at = f.window->listView()->plainText().indexOf(QStringLiteral("SEARCH_FILE = ") + root + name);
        QVERIFY(at >= 0);
        QTest::mouseDClick(f.window->listView()->viewport(), Qt::LeftButton, {},
                           f.window->listView()->pointOf(at + 3));
        QTRY_VERIFY(f.window->detailView()->isShown());
        const QString shown = f.window->detailView()->plainText();
        const QString first = name == QLatin1String("bom.TXT") ? QStringLiteral("エラー印") : QStringLiteral("エラー𠮷한");
        QVERIFY2(shown.startsWith(root + name + QStringLiteral("\r\n") + first + QStringLiteral("\r\n")),
                 qPrintable(shown));
        QVERIFY(f.wb->status.text(StatusPanels::kPath).endsWith(QStringLiteral("［UTF-8 (BOM)］"))
                == (name == QLatin1String("bom.TXT")));
    }

    // Replace and save: 😀 is refused for the Shift-JIS file alone; each
    // file keeps its encoding and bytes.
    QList<int> all, utf;
    for (int i = 0; i < work.Search_Hit_File_List().count(); ++i) {
        all.append(i);
        if (work.fileOrigins().at(i).encoding != TextEncoding::Cp932)
            utf.append(i);
    }
    f.window->runCommand(Command::DISP_SEARCH, KIHON::Origin::Toolbar);
    ReplaceForm replace(*f.wb);
    replace.Form_Load();
    QVERIFY(!replace.Cmd_Jikkou_Click(word, QStringLiteral("障害😀"), true, all));
    QVERIFY(f.port.texts().constLast().endsWith(QStringLiteral("入力できません。\r\n") + root + QStringLiteral("sj.TXT")));
    QVERIFY(replace.Cmd_Jikkou_Click(word, QStringLiteral("障害😀"), true, utf));
    replace.Form_Load();
    QVERIFY(replace.Cmd_Jikkou_Click(word, QStringLiteral("障害"), true, all));
    QCOMPARE(SaveForm::Cmd_Jikkou(*f.wb, QList<bool>(all.size(), true)).written, all.size());
    const QByteArray u16After = QByteArray("\xFF\xFE")
        + QByteArray(reinterpret_cast<const char *>(u"前\r\n障害😀16\r\n"), 22);
    const QMap<QString, QByteArray> after = {
        {QStringLiteral("sj.TXT"), Cp932::encode(u"一行目\r\n障害発生\r\n")},
        {QStringLiteral("u8.TXT"), QStringLiteral("先\n障害😀8\n").toUtf8()},
        {QStringLiteral("bom.TXT"), QByteArray("\xEF\xBB\xBF") + QStringLiteral("障害😀印\n").toUtf8()},
        {QStringLiteral("u16.TXT"), u16After},
        {QStringLiteral("ascii.TXT"), files.at(4).second},
        {QStringLiteral("wide.TXT"), QStringLiteral("障害😀𠮷한\n").toUtf8()},
    };
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        QFile disk(f.file(it.key()));
        QVERIFY(disk.open(QIODevice::ReadOnly));
        QVERIFY2(disk.readAll() == it.value(), qPrintable(it.key()));
    }

    // Reopened: each file read back in its encoding, the same lines.
    const QStringList stored = work.Search_Hit_All_Line_List().texts();
    f.port.answers.enqueue(MessagePort::Answer::Yes);
    f.window->runCommand(Command::CLEAR, KIHON::Origin::Toolbar);
    QVERIFY(f.search(QStringLiteral("障害")));
    QCOMPARE(work.Search_Hit_All_Line_List().texts(), stored);
    for (int i = 0; i < work.Search_Hit_File_List().count(); ++i)
        QCOMPARE(work.fileOrigins().at(i).encoding, expected.value(work.File_Key(i).mid(root.size())));

    // The save undone from the journal: every file as it was, mark and all.
    QCOMPARE(BatchUndo::run({}), 0);
    for (const auto &[name, bytes] : files) {
        QFile disk(f.file(name));
        QVERIFY(disk.open(QIODevice::ReadOnly));
        QVERIFY2(disk.readAll() == bytes, qPrintable(name));
    }
}

void tst_WholeRoad::manyRefusalsOneBoxOneSummary()
{
    Road road;
    // The first file fills the work area; the thirty after it overflow.
    QVERIFY(SearchTree::writeNumbered(road.file(QStringLiteral("A_BIG.TXT")), 32700, QStringLiteral("word"), {1}));
    QVERIFY(writeSmallFiles(road, 30, QStringLiteral("word")));
    QVERIFY(road.start());
    QStringList counts;
    QObject::connect(&road.wb->status, &StatusPanels::changed, road.window.get(),
                     [&](StatusPanel key, const QString &text) {
                         if (key == StatusPanels::kHitSu)
                             counts.append(text);
                     });
    QVERIFY(road.search(QStringLiteral("word")));
    const QString overflow = QStringLiteral("\r\nOver Flow しました。対象データが多すぎます。\r\n追加は中止しました。");
    QCOMPARE(road.port.texts(),
             QStringList({road.file(QStringLiteral("B001.TXT")) + overflow,
                          QStringLiteral("追加しなかったファイルがあります。\r\nOver Flow（追加中止）：30件")}));
    QVERIFY(counts.contains(QStringLiteral("追加中止 =30ﾌｧｲﾙ")));
    QCOMPARE(road.wb->status.text(StatusPanels::kHitSu), QStringLiteral("対象数 =1ﾌｧｲﾙ"));

    // Searching again without clearing: each file is already open.
    road.port.shown.clear();
    CommandBoardTestAccess::enable(road.wb->board, {Command::SEARCH});
    road.port.answers.enqueue(MessagePort::Answer::No);
    QVERIFY(road.search(QStringLiteral("word")));
    QCOMPARE(road.port.texts(),
             QStringList({QStringLiteral("既にワークエリアにデータが存在します。\r\nクリアしますか？"),
                          road.file(QStringLiteral("A_BIG.TXT"))
                              + QStringLiteral("\r\n上記ファイルは既に開かれています。\r\n追加は中止しました。"),
                          road.file(QStringLiteral("B001.TXT")) + overflow,
                          QStringLiteral("追加しなかったファイルがあります。\r\n既に開かれているファイル（追加中止）：1件\r\n"
                                         "Over Flow（追加中止）：30件")}));
    QCOMPARE(road.wb->work.Search_Hit_File_List().count(), 1);
}

void tst_WholeRoad::doubleClickDuringRun()
{
    Road road;
    QVERIFY(writeSmallFiles(road, 20, QStringLiteral("word")));
    QVERIFY(road.start());
    // A first search: the list view is in sight, and empty.
    road.during(QStringLiteral("B010.TXT"), [&] {
        QVERIFY(road.window->listView()->isShown());
        QTest::mouseDClick(road.window->listView()->viewport(), Qt::LeftButton, {}, QPoint(20, 8));
    });
    QVERIFY(road.search(QStringLiteral("word")));
    QVERIFY(road.port.texts().isEmpty());
    QCOMPARE(road.wb->work.Search_Hit_File_List().count(), 20);
    QVERIFY(road.window->listView()->isShown());
    QVERIFY(!road.window->detailView()->isShown());
    QVERIFY(!road.wb->board.isBusy());
    for (Command c : kIdleCommands)
        QVERIFY2(road.wb->board.isEnabled(c), Commands::info(c).key);
    QVERIFY(road.wb->board.isEnabled(Command::DISP));
    QVERIFY(!road.wb->board.isEnabled(Command::UPDATE));

    // After the run the same double-click works as ever.
    const int hit = road.window->listView()->plainText().indexOf(QStringLiteral("000002:"));
    QTest::mouseDClick(road.window->listView()->viewport(), Qt::LeftButton, {},
                       road.window->listView()->pointOf(hit + 3));
    QTRY_VERIFY(road.window->detailView()->isShown());
    QVERIFY(road.wb->board.isEnabled(Command::UPDATE));

    // CLEAR from the detail view and a new search: UPDATE stays off while
    // the list shows, whenever the window is activated.
    road.port.answers.enqueue(MessagePort::Answer::Yes);
    road.window->runCommand(Command::CLEAR, KIHON::Origin::Toolbar);
    auto activate = [&] {
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(road.window.get(), &activation);
    };
    road.during(QStringLiteral("B005.TXT"), activate);
    QVERIFY(road.search(QStringLiteral("word")));
    activate();
    QVERIFY(road.window->listView()->isShown());
    QVERIFY(!road.wb->board.isEnabled(Command::UPDATE));
}

void tst_WholeRoad::closedDuringRun()
{
    Road road;
    QVERIFY(writeSmallFiles(road, 40, QStringLiteral("word")));
    QVERIFY(road.start());
    road.window->resize(860, 610);
    bool shownAfterClose = false;
    road.during(QStringLiteral("B010.TXT"), [&] {
        road.window->close();
        shownAfterClose = road.window->isVisible();
    });
    QVERIFY(road.search(QStringLiteral("word")));
    // STOP's effect: the file begun is finished, no further one is read.
    QVERIFY(shownAfterClose);
    QVERIFY(road.wb->work.Search_Hit_File_List().count() >= 9);
    QVERIFY(road.wb->work.Search_Hit_File_List().count() <= 11);
    // Then the window closes and writes its configuration.
    QTRY_VERIFY(!road.window->isVisible());
    SettingsStore written;
    QVERIFY(written.load());
    QCOMPARE(written.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("Width")).value_or(-1),
             road.window->geometry().width() * 15);
}

QTEST_MAIN(tst_WholeRoad)
#include "tst_wholeroad.moc"
