#include "SearchTree.h"
#include "StoredRequest.h"
#include "ScriptedMessagePort.h"

#include "base/Workbench.h"
#include "platform/EventPump.h"
#include "search/FolderWalk.h"
#include "search/ResultSink.h"
#include "search/ScanPool.h"
#include "search/SearchRun.h"
#include "search/SikibetuMatcher.h"
#include "workarea/LineFormat.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

Q_DECLARE_METATYPE(RunNotices::Boxes)

// A pump that presses STOP at its first yield once the work area holds n
// files, or once the status bar counts n refused files, and records what the buttons looked like while
// the run was going.
class StopPump : public EventPump
{
public:
    WorkArea *work = nullptr;
    CommandBoard *board = nullptr;
    int stopAtFiles = 0; // 0: never
    int stopAtRefused = 0; // 0: never; else once the status bar counts that many refusals
    StatusPanels *status = nullptr;
    int calls = 0;
    bool sawBusy = false;
    bool cursorBusy = false;
    void yield() override
    {
        ++calls;
        if (board) {
            bool othersOff = true;
            for (const CommandInfo &c : Commands::table())
                if (c.command != Command::STOP && board->isEnabled(c.command))
                    othersOff = false;
            sawBusy = othersOff && board->isEnabled(Command::STOP);
        }
        if ((stopAtFiles && work->Search_Hit_File_List().count() >= stopAtFiles) || (stopAtRefused && refusedSoFar() >= stopAtRefused))
            work->Search_Running = 0;
    }
    void yieldNow() override {}
    void setBusyCursor(bool busy) override { cursorBusy = busy; }
    int refusedSoFar() const
    {
        static const QString counted = QStringLiteral("追加中止 =");
        const QString text = status->text(StatusPanels::kHitSu);
        return text.startsWith(counted) ? text.mid(counted.size()).chopped(4).toInt() : 0;
    }
    void flushInput() override {}
};

class tst_SearchRun : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void identifier_data();
    void identifier();
    void onlyChosenIdentifiersAreRead();
    void compareModes_data();
    void compareModes();
    void threeOccurrencesOneHitLine();
    void allLinesAndHeaders();
    void foldersNotEntered_data();
    void foldersNotEntered();
    void duplicateRefusedWalkGoesOn();
    void namesDifferingInCase_data();
    void namesDifferingInCase();
    void namesNotUtf8_data();
    void namesNotUtf8();
    void namesShownAlike();
    void separatorInNameSkipped_data();
    void separatorInNameSkipped();
    void admissionLimit_data();
    void admissionLimit();
    void fileOver16BitLines();
    void displayListOverflow();
    void stopFinishesCurrentFile_data();
    void stopFinishesCurrentFile();
    void nothingFound();
    void boardAndFlagsAfterRun_data();
    void boardAndFlagsAfterRun();
    void resultFileBytes();
    void resultFileFailureIsReported();
    void unreadableFileSkipped();
    void longLines_data();
    void longLines();
    void windowServedInsideOneFile();
    void resultFileTargetRefused_data();
    void resultFileTargetRefused();
    void refusalStorm_data();
    void refusalStorm();
    void notStartedWhileBusy();

private:
    void prepare(const QString &word, int mode, const QStringList &ids = {QStringLiteral("TXT")});
    QStringList headers() const;

    QTemporaryDir m_tmp;
    QString m_root;
    std::unique_ptr<Workbench> m_wb;
    ScriptedMessagePort m_messages;
    StopPump m_pump;
};

void tst_SearchRun::init()
{
    m_wb = std::make_unique<Workbench>();
    m_messages = ScriptedMessagePort();
    m_pump = StopPump();
    m_wb->messages = &m_messages;
    m_wb->pump = &m_pump;
    m_pump.work = &m_wb->work;
    m_pump.board = &m_wb->board;
    m_pump.status = &m_wb->status;
    static int n = 0;
    m_root = m_tmp.path() + QStringLiteral("/run") + QString::number(++n);
    QDir().mkpath(m_root);
    // Two helpers read ahead, as on most machines; STOP is also tried
    // without them.
    SearchRun::scanHelpers = 2;
}

void tst_SearchRun::prepare(const QString &word, int mode, const QStringList &ids)
{
    Settings &s = m_wb->settings;
    s.SIKIBETU_ALL_FLG = 1;
    s.SIKIBETU.fill(QString());
    for (int i = 0; i < ids.size(); ++i)
        s.SIKIBETU[size_t(i)] = ids.at(i);
    s.SUB_DIR_FLG = 1;
    s.FILE_NAME_DISP = 0;
    s.FILE_OUT = 0;
    WorkArea &w = m_wb->work;
    w.Search_Word = word;
    w.Compare_Mode = qint16(mode);
    w.Search_Running = 1;
    w.Search_Path = m_root;
    w.Current_Dir = m_root + QLatin1Char('/');
}

QStringList tst_SearchRun::headers() const
{
    QStringList out;
    const ItemList &d = m_wb->work.Search_Hit_List();
    for (int i = 0; i < d.count(); ++i)
        if (LineFormat::Is_Header(d.text(i)))
            out.append(LineFormat::headerKey(d.text(i)));
    return out;
}

void tst_SearchRun::identifier_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("identifier");
    QTest::newRow("no extension") << "README" << "";
    QTest::newRow("four letters after the dot") << "DATA.HTML" << "";
    QTest::newRow("three letters") << "A.TXT" << "TXT";
    QTest::newRow("one letter") << "B.C" << "C";
    QTest::newRow("lower case name") << "a.txt" << "TXT";
    QTest::newRow("dot at the end") << "X.TX." << "";
    QTest::newRow("last of two dots") << "A.B.C" << "C";
    QTest::newRow("short name") << ".C" << "C";
}

void tst_SearchRun::identifier()
{
    QFETCH(QString, name);
    QFETCH(QString, identifier);
    QCOMPARE(SikibetuMatcher::identifierIn(LineFormat::Ucase(name)).toString(), identifier);
}

void tst_SearchRun::onlyChosenIdentifiersAreRead()
{
    for (const char *name : {"README", "DATA.HTML", "A.TXT", "B.C", "d.txt", "E.TX"})
        QVERIFY(SearchTree::writeLines(m_root + QLatin1Char('/') + QLatin1String(name), {QStringLiteral("key")}));
    // An empty identifier in the list never picks the files without one.
    prepare(QStringLiteral("key"), 0, {QStringLiteral("TXT"), QString(), QStringLiteral("C"), QStringLiteral("HTML")});
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    const QString dir = m_root + QLatin1Char('/');
    QCOMPARE(headers(), QStringList({dir + "A.TXT", dir + "B.C", dir + "d.txt"}));
    QVERIFY(m_wb->work.Search_Hit_File_List().texts().contains(m_root + QStringLiteral("/d.txt")));

    // A single identifier chosen (not the whole list): only that one.
    init();
    for (const char *name : {"A.TXT", "B.C"})
        QVERIFY(SearchTree::writeLines(m_root + QLatin1Char('/') + QLatin1String(name), {QStringLiteral("key")}));
    prepare(QStringLiteral("key"), 0);
    m_wb->settings.SIKIBETU_ALL_FLG = 0;
    m_wb->work.Search_Sikibetu = QStringLiteral("C");
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QCOMPARE(headers(), QStringList({m_root + QStringLiteral("/B.C")}));
}

void tst_SearchRun::compareModes_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("hit");
    QTest::newRow("abc in ABC, ignoring case") << "abc" << 1 << "xxABCxx" << true;
    QTest::newRow("abc in ABC, with case") << "abc" << 0 << "xxABCxx" << false;
    QTest::newRow("full-width letters fold") << "ａｂｃ" << 1 << "ＡＢＣです" << true;
    QTest::newRow("full-width and half-width differ") << "abc" << 1 << "ａｂｃ" << false;
    QTest::newRow("hiragana and katakana differ") << "あい" << 1 << "アイ" << false;
    QTest::newRow("kanji") << "検索" << 0 << "全文検索の結果" << true;
    QTest::newRow("Greek folds") << "ω" << 1 << "Ω値" << true;
    QTest::newRow("trail byte looks like the word") << "T" << 0 << "サ" << false;
    QTest::newRow("word after a straddling copy") << "Timeout" << 1 << "サimeout と timeout" << true;
}

void tst_SearchRun::compareModes()
{
    QFETCH(QString, word);
    QFETCH(int, mode);
    QFETCH(QString, line);
    QFETCH(bool, hit);
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/A.TXT"), {QStringLiteral("first"), line}));
    prepare(word, mode);
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QCOMPARE(m_wb->work.Search_Hit_File_List().count(), hit ? 1 : 0);
    if (hit)
        QCOMPARE(m_wb->work.Search_Hit_List().text(2).left(7 + line.size()), QStringLiteral("000002:") + line);
}

void tst_SearchRun::threeOccurrencesOneHitLine()
{
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/A.TXT"), {QStringLiteral("ab ab ab"), QStringLiteral("x")}));
    prepare(QStringLiteral("ab"), 0);
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QCOMPARE(m_wb->work.Search_Hit_List().count(), 3); // column header, file header, one hit line
    QVERIFY(m_wb->work.Search_Hit_List().text(2).startsWith(QStringLiteral("000001:ab ab ab")));
}

void tst_SearchRun::allLinesAndHeaders()
{
    // Line ends of every kind, an empty line and a last line without a break.
    QByteArray bytes = Cp932::encode(QStringLiteral("一行目")) + "\r\n\r\n" + "key\n" + "cr only\r"
        + Cp932::encode(QStringLiteral("最後 key"));
    QVERIFY(SearchTree::writeBytes(m_root + QStringLiteral("/sub/m.txt"), bytes));
    prepare(QStringLiteral("KEY"), 1);
    m_wb->settings.FILE_NAME_DISP = 1;
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));

    const QString key = m_root + QStringLiteral("/sub/m.txt");
    const ItemList &all = m_wb->work.Search_Hit_All_Line_List();
    QCOMPARE(all.count(), 5);
    QCOMPARE(all.text(0), key + QStringLiteral(":@:000001.000:@:一行目"));
    QCOMPARE(all.text(1), key + QStringLiteral(":@:000002.000:@:"));
    QCOMPARE(all.text(3), key + QStringLiteral(":@:000004.000:@:cr only"));
    QCOMPARE(all.text(4), key + QStringLiteral(":@:000005.000:@:最後 key"));
    QCOMPARE(m_wb->work.Search_Hit_File_List().text(0), m_root + QStringLiteral("/sub/m.txt"));
    QCOMPARE(m_wb->work.Search_Hit_File_Change().text(0), m_root + QStringLiteral("/sub/m.txt"));

    const ItemList &d = m_wb->work.Search_Hit_List();
    QCOMPARE(d.count(), 4);
    const QFileInfo info(m_root + QStringLiteral("/sub/m.txt"));
    QVERIFY(d.text(1).startsWith(QStringLiteral("SEARCH_FILE = ") + key));
    // A long temporary path pushes the size out of the 83 columns; the
    // date still shows.
    QVERIFY2(d.text(1).contains(QStringLiteral(" :@:") + info.lastModified().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))
                                + QStringLiteral("  ") + QString::number(bytes.size()).left(1)),
             qPrintable(d.text(1)));
    // The header's full key is kept beside it, whatever the 83 columns cut.
    QCOMPARE(m_wb->work.headerFileKey(1), key);
    QVERIFY(d.text(2).startsWith(QStringLiteral("000003:key ")));
    QVERIFY(d.text(3).startsWith(QStringLiteral("000005:最後 key")));
    QCOMPARE(m_wb->work.Mojisuu_Count_List().count(), 4);
    // The line index was rebuilt: running totals of the character counts.
    QCOMPARE(m_wb->work.Mojisuu_Count_List().data(0), 85);
    QCOMPARE(m_wb->work.Search_Hit_File_List().data(0), 0);
    // The walk's changes to the folders are undone.
    QCOMPARE(m_wb->work.Search_Path, m_root);
    QCOMPARE(m_wb->work.Current_Dir, m_root + QLatin1Char('/'));
    QVERIFY(m_wb->work.Search_List().isEmpty());
}

void tst_SearchRun::foldersNotEntered_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("subDirs");
    QTest::addColumn<bool>("entered");
    QTest::newRow("plain folder") << "plain" << 1 << true;
    QTest::newRow("plain folder, no subfolders") << "plain" << 0 << false;
    QTest::newRow("hidden folder") << ".hidden" << 1 << false;
    QTest::newRow("read-only folder") << "readonly" << 1 << false;
    QTest::newRow("link to a folder") << "link" << 1 << false;
}

void tst_SearchRun::foldersNotEntered()
{
    QFETCH(QString, folder);
    QFETCH(int, subDirs);
    QFETCH(bool, entered);
    const QString outside = m_root + QStringLiteral("_target");
    QVERIFY(SearchTree::writeLines(outside + QStringLiteral("/IN.TXT"), {QStringLiteral("word")}));
    const QString path = m_root + QLatin1Char('/') + folder;
    if (folder == QLatin1String("link"))
        QVERIFY(QFile::link(outside, path));
    else
        QVERIFY(SearchTree::writeLines(path + QStringLiteral("/IN.TXT"), {QStringLiteral("word")}));
    if (folder == QLatin1String("readonly"))
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0555) == 0);
    prepare(QStringLiteral("word"), 0);
    m_wb->settings.SUB_DIR_FLG = subDirs;
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    if (folder == QLatin1String("readonly"))
        ::chmod(QFile::encodeName(path).constData(), 0755);
    QCOMPARE(m_wb->work.Search_Hit_File_List().count(), entered ? 1 : 0);
}

void tst_SearchRun::duplicateRefusedWalkGoesOn()
{
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/a.txt"), {QStringLiteral("word")}));
    prepare(QStringLiteral("word"), 0);
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QCOMPARE(m_wb->work.Search_Hit_File_List().count(), 1);

    // Searching again without clearing: the file already there is refused,
    // a new one after it in the walk is still added; Return keeps unsaved changes.
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/b.txt"), {QStringLiteral("x"), QStringLiteral("word")}));
    m_wb->work.Hozon_Flag = 1;
    m_messages.shown.clear();
    m_messages.answers.enqueue(MessagePort::Answer::No);
    m_wb->work.Search_Running = 1;
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));

    QCOMPARE(m_messages.shown.size(), 2);
    QCOMPARE(m_messages.shown[0].text, QStringLiteral("既にワークエリアにデータが存在します。\r\nクリアしますか？"));
    QCOMPARE(m_messages.shown[0].caption, QStringLiteral("検索"));
    QCOMPARE(m_messages.shown[0].buttons, MessagePort::Buttons::YesNoDefaultNo);
    QCOMPARE(m_messages.shown[1].text, m_root + QStringLiteral("/a.txt\r\n上記ファイルは既に開かれています。\r\n追加は中止しました。"));
    QCOMPARE(m_messages.shown[1].caption, QStringLiteral("検索"));
    QCOMPARE(m_messages.shown[1].icon, MessagePort::Icon::Exclamation);

    const WorkArea &w = m_wb->work;
    QCOMPARE(w.Search_Hit_File_List().texts(), QStringList({m_root + "/a.txt", m_root + "/b.txt"}));
    QCOMPARE(w.Search_Hit_All_Line_List().count(), 3);
    // One column header only; the refused file's header and hit are gone.
    QCOMPARE(w.Search_Hit_List().count(), 5);
    QCOMPARE(w.Mojisuu_Count_List().count(), 5);
    QCOMPARE(headers(), QStringList({m_root + "/a.txt", m_root + "/b.txt"}));

    // Yes clears first: nothing is refused.
    m_messages.shown.clear();
    m_messages.answers.enqueue(MessagePort::Answer::Yes);
    m_wb->work.Search_Running = 1;
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_wb->work.Search_Hit_List().count(), 5);
}

void tst_SearchRun::namesDifferingInCase_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("name in two cases") << QStringList{QStringLiteral("a.txt"), QStringLiteral("A.TXT")};
    QTest::newRow("folder in two cases") << QStringList{QStringLiteral("sub/x.txt"), QStringLiteral("SUB/x.txt")};
    QTest::newRow("three spellings")
        << QStringList{QStringLiteral("Read.txt"), QStringLiteral("read.TXT"), QStringLiteral("READ.txt")};
}

void tst_SearchRun::namesDifferingInCase()
{
    QFETCH(QStringList, names);
    // File k has k + 1 lines, every one a hit, so that each file's lines can
    // be told apart.
    QStringList expected;
    for (qsizetype k = 0; k < names.size(); ++k) {
        QStringList lines;
        for (qsizetype i = 0; i <= k; ++i)
            lines.append(QStringLiteral("word ") + names.at(k));
        QVERIFY(SearchTree::writeLines(m_root + QLatin1Char('/') + names.at(k), lines));
        expected.append(m_root + QLatin1Char('/') + names.at(k));
    }
    prepare(QStringLiteral("word"), 0);
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));

    // Both are found, each under its real path, nothing refused.
    const WorkArea &w = m_wb->work;
    QVERIFY(m_messages.shown.isEmpty());
    const QSet<QString> wanted(expected.begin(), expected.end());
    const QStringList files = w.Search_Hit_File_List().texts();
    const QStringList shown = headers();
    QCOMPARE(QSet<QString>(files.begin(), files.end()), wanted);
    QCOMPARE(QSet<QString>(shown.begin(), shown.end()), wanted);
    // Each file's lines stand under its own key and hold its own text.
    for (int i = 0; i < w.Search_Hit_File_List().count(); ++i) {
        const QString path = w.Search_Hit_File_List().text(i);
        const int first = w.Search_Hit_File_List().data(i);
        const int end = i + 1 < w.Search_Hit_File_List().count() ? w.Search_Hit_File_List().data(i + 1)
                                                                 : w.Search_Hit_All_Line_List().count();
        QCOMPARE(end - first, int(expected.indexOf(path)) + 1);
        for (int k = first; k < end; ++k) {
            QCOMPARE(LineFormat::Entry_Key(w.Search_Hit_All_Line_List().text(k)).toString(), path);
            QVERIFY(LineFormat::Entry_Text(w.Search_Hit_All_Line_List().text(k)).endsWith(path.mid(m_root.size() + 1)));
        }
    }
}

void tst_SearchRun::namesNotUtf8_data()
{
    // Shift-JIS bytes: 報告 (0x95F1 0x8D90) and テスト (0x8365 0x8358 0x8367).
    QTest::addColumn<QByteArray>("relative");
    QTest::addColumn<QString>("shown");
    QTest::newRow("file name") << QByteArray("\x95\xf1\x8d\x90.TXT") << QStringLiteral("報告.TXT");
    QTest::newRow("folder name") << QByteArray("\x83\x65\x83\x58\x83\x67/a.txt") << QStringLiteral("テスト/a.txt");
    QTest::newRow("both, below a UTF-8 folder")
        << QByteArray("\xe6\x97\xa5/\x83\x65\x83\x58\x83\x67/\x95\xf1\x8d\x90.TXT")
        << QStringLiteral("日/テスト/報告.TXT");
    QTest::newRow("invalid Shift-JIS as well") << QByteArray("a\xff\x80.txt") << QStringLiteral("a\uf7ff\uf780.txt");
}

void tst_SearchRun::namesNotUtf8()
{
    QFETCH(QByteArray, relative);
    QFETCH(QString, shown);
    const QByteArray native = QFile::encodeName(m_root) + '/' + relative;
    const QByteArray bytes = Cp932::encode(QStringLiteral("一行目\r\n検索語あり\r\n"));
    QVERIFY(SearchTree::writeBytesAt(native, bytes));
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/z.txt"), {QStringLiteral("検索語")}));
    prepare(QStringLiteral("検索語"), 0);
    const SearchOutcome outcome = SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));

    QVERIFY2(outcome.skipped.isEmpty(), qPrintable(outcome.skipped.join(QLatin1Char('|'))));
    const QString path = m_root + QLatin1Char('/') + shown;
    const WorkArea &w = m_wb->work;
    QCOMPARE(w.Search_Hit_File_List().count(), 2);
    const int file = w.Search_Hit_File_List().indexOf(path);
    QVERIFY(file >= 0);
    // Shown decoded, kept by its bytes, with size and time as read.
    QVERIFY(headers().contains(path));
    QCOMPARE(w.nativePath(file), native);
    QCOMPARE(w.fileOrigins().at(file).size, bytes.size());
    struct stat st;
    QVERIFY(::stat(native.constData(), &st) == 0);
    QCOMPARE(w.fileOrigins().at(file).modifiedNsecs,
             qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec);
    const int first = w.Search_Hit_File_List().data(file);
    QCOMPARE(w.Search_Hit_All_Line_List().text(first + 1), path + QStringLiteral(":@:000002.000:@:検索語あり"));
}

void tst_SearchRun::namesShownAlike()
{
    // テ.txt in UTF-8 (E3 83 86) and in Shift-JIS (83 65): two files, one
    // shown name. The first in byte order is searched, the other noted.
    const QByteArray dir = QFile::encodeName(m_root) + '/';
    QVERIFY(SearchTree::writeBytesAt(dir + "\x83\x65.txt", "word sjis\r\n"));
    QVERIFY(SearchTree::writeBytesAt(dir + "\xe3\x83\x86.txt", "word utf8\r\n"));
    prepare(QStringLiteral("word"), 0);
    const SearchOutcome outcome = SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    const QString path = m_root + QStringLiteral("/テ.txt");
    QCOMPARE(outcome.skipped, QStringList{path + QStringLiteral("\r\n") + FolderWalk::kNameShownTwice});
    QCOMPARE(m_wb->work.Search_Hit_File_List().texts(), QStringList{path});
    QCOMPARE(m_wb->work.nativePath(0), dir + "\x83\x65.txt");
    QCOMPARE(LineFormat::Entry_Text(m_wb->work.Search_Hit_All_Line_List().text(0)).toString(), QStringLiteral("word sjis"));
    // The note reaches the user once, in the run's closing summary.
    QCOMPARE(m_messages.texts().size(), 1);
    QVERIFY(m_messages.texts().first().contains(path));
}

void tst_SearchRun::separatorInNameSkipped_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("noted");
    QTest::newRow("file name") << QStringLiteral("a:@:b.txt") << QStringLiteral("a:@:b.txt");
    QTest::newRow("folder name") << QStringLiteral("x:@:y/in.txt") << QStringLiteral("x:@:y");
}

void tst_SearchRun::separatorInNameSkipped()
{
    QFETCH(QString, relative);
    QFETCH(QString, noted);
    QVERIFY(SearchTree::writeLines(m_root + QLatin1Char('/') + relative, {QStringLiteral("word")}));
    // Beside it, files sorting before and after, with their own lines.
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/a.txt"), {QStringLiteral("word"), QStringLiteral("two")}));
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/z.txt"), {QStringLiteral("word")}));
    prepare(QStringLiteral("word"), 0);
    const SearchOutcome outcome = SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));

    QCOMPARE(outcome.skipped, QStringList{m_root + QLatin1Char('/') + noted + QStringLiteral("\r\n")
                                          + FolderWalk::kNameNotHeld});
    const WorkArea &w = m_wb->work;
    QCOMPARE(w.Search_Hit_File_List().texts(), (QStringList{m_root + "/a.txt", m_root + "/z.txt"}));
    QCOMPARE(w.Search_Hit_All_Line_List().count(), 3);
    QCOMPARE(w.Search_Hit_File_List().data(0), 0);
    QCOMPARE(w.Search_Hit_File_List().data(1), 2);
    QCOMPARE(LineFormat::Entry_Key(w.Search_Hit_All_Line_List().text(2)).toString(), m_root + "/z.txt");
}

void tst_SearchRun::admissionLimit_data()
{
    QTest::addColumn<int>("secondLines");
    QTest::addColumn<QStringList>("admitted");
    QTest::addColumn<QStringList>("refused");
    QTest::newRow("32,700 in all: admitted, the next refused")
        << 100 << QStringList({"A_BIG.TXT", "B_MID.TXT"}) << QStringList({"C_SMALL.TXT"});
    QTest::newRow("32,701: refused, a smaller one later admitted")
        << 101 << QStringList({"A_BIG.TXT", "C_SMALL.TXT"}) << QStringList({"B_MID.TXT"});
}

void tst_SearchRun::admissionLimit()
{
    QFETCH(int, secondLines);
    QFETCH(QStringList, admitted);
    QFETCH(QStringList, refused);
    QVERIFY(SearchTree::writeNumbered(m_root + QStringLiteral("/A_BIG.TXT"), 32600, QStringLiteral("hit"), {32600}));
    QVERIFY(SearchTree::writeNumbered(m_root + QStringLiteral("/B_MID.TXT"), secondLines, QStringLiteral("hit"), {1}));
    QVERIFY(SearchTree::writeNumbered(m_root + QStringLiteral("/C_SMALL.TXT"), 2, QStringLiteral("hit"), {2}));
    prepare(QStringLiteral("hit"), 0);
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));

    QStringList files;
    for (const QString &f : m_wb->work.Search_Hit_File_List().texts())
        files.append(QFileInfo(f).fileName());
    QCOMPARE(files, admitted);
    QStringList expected;
    for (const QString &r : refused)
        expected.append(m_root + QLatin1Char('/') + r
                        + QStringLiteral("\r\nOver Flow しました。対象データが多すぎます。\r\n追加は中止しました。"));
    QCOMPARE(m_messages.texts(), expected);
    QCOMPARE(m_messages.shown.at(0).caption, QStringLiteral("検索"));
    QVERIFY(m_wb->work.Search_Hit_All_Line_List().count() <= 32700);
    QCOMPARE(m_wb->work.Search_Hit_List().count(), 1 + 2 * 2);
}

void tst_SearchRun::fileOver16BitLines()
{
    QVERIFY(SearchTree::writeNumbered(m_root + QStringLiteral("/HUGE.TXT"), 70000, QStringLiteral("hit"), {69999}));
    QVERIFY(SearchTree::writeNumbered(m_root + QStringLiteral("/SMALL.TXT"), 3, QStringLiteral("hit"), {1}));
    prepare(QStringLiteral("hit"), 0);
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QCOMPARE(m_messages.texts(),
             QStringList({m_root + QStringLiteral("/HUGE.TXT\r\nOver Flow しました。対象データが多すぎます。\r\n追加は中止しました。")}));
    QCOMPARE(m_wb->work.Search_Hit_All_Line_List().count(), 3);
}

void tst_SearchRun::displayListOverflow()
{
    // Every line a hit: each file of 327 lines takes 328 display lines. 99
    // files fill the display list to 32,473 items; the 100th would bring it
    // to 32,801, beyond what the list holds, though the store could take it.
    for (int i = 0; i < 100; ++i)
        QVERIFY(SearchTree::writeNumbered(m_root + QStringLiteral("/F%1.TXT").arg(i, 3, 10, QLatin1Char('0')), 327,
                                          QStringLiteral("hit"), [] {
                                              QList<int> all;
                                              for (int k = 1; k <= 327; ++k)
                                                  all.append(k);
                                              return all;
                                          }()));
    QVERIFY(SearchTree::writeNumbered(m_root + QStringLiteral("/G.TXT"), 1, QStringLiteral("hit"), {1}));
    prepare(QStringLiteral("hit"), 0);
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QCOMPARE(m_messages.texts(),
             QStringList({m_root + QStringLiteral("/F099.TXT\r\nOver Flow しました。対象データが多すぎます。\r\n追加は中止しました。")}));
    QCOMPARE(m_wb->work.Search_Hit_File_List().count(), 100); // 99 and G.TXT
    QCOMPARE(m_wb->work.Search_Hit_List().count(), 1 + 99 * 328 + 2);
    QCOMPARE(m_wb->work.Mojisuu_Count_List().count(), m_wb->work.Search_Hit_List().count());
}

void tst_SearchRun::stopFinishesCurrentFile_data()
{
    QTest::addColumn<int>("helpers");
    QTest::newRow("on the calling thread") << 0;
    QTest::newRow("with helper threads") << 2;
}

void tst_SearchRun::stopFinishesCurrentFile()
{
    QFETCH(int, helpers);
    SearchRun::scanHelpers = helpers;
    // STOP comes with the first yield after A.TXT was taken, whether in
    // B.TXT or before it: B, already begun, is still finished; C.TXT and the
    // subfolder are not visited.
    QVERIFY(SearchTree::writeNumbered(m_root + QStringLiteral("/A.TXT"), 3, QStringLiteral("hit"), {1}));
    QVERIFY(SearchTree::writeNumbered(m_root + QStringLiteral("/B.TXT"), 2000, QStringLiteral("hit"), {1999}));
    QVERIFY(SearchTree::writeNumbered(m_root + QStringLiteral("/C.TXT"), 3, QStringLiteral("hit"), {1}));
    QVERIFY(SearchTree::writeNumbered(m_root + QStringLiteral("/sub/D.TXT"), 3, QStringLiteral("hit"), {1}));
    prepare(QStringLiteral("hit"), 0);
    m_wb->settings.FILE_OUT = 1;
    m_wb->settings.FILE_OUT_NAME = m_root + QStringLiteral("_result.txt");
    m_pump.stopAtFiles = 1;
    const SearchOutcome outcome = SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QVERIFY(outcome.stopped);
    QCOMPARE(m_wb->work.Search_Hit_File_List().count(), 2);
    QCOMPARE(m_wb->work.Search_Hit_All_Line_List().count(), 2003);
    QCOMPARE(m_wb->work.Result_Flag, qint16(1));
    QCOMPARE(m_messages.texts(), QStringList({QStringLiteral("サーチ実行は中断されました。\r\n") + m_root
                                               + QStringLiteral("_result.txtへ結果を出力しました。")}));
    QCOMPARE(m_messages.shown.at(0).caption, QStringLiteral("サーチ実行"));
    QCOMPARE(m_messages.shown.at(0).icon, MessagePort::Icon::Information);
    // What was admitted is indexed like a complete result.
    QCOMPARE(m_wb->work.Search_Hit_File_List().data(1), 3);
}

void tst_SearchRun::nothingFound()
{
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/A.TXT"), {QStringLiteral("nothing here")}));
    prepare(QStringLiteral("absent"), 0);
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QCOMPARE(m_wb->work.Search_Hit_List().texts(), QStringList({LineFormat::kColumnHeader + QStringLiteral("  ")}));
    QCOMPARE(m_wb->work.Mojisuu_Count_List().data(0), 85);
    QCOMPARE(m_wb->work.Result_Flag, qint16(0));
    QVERIFY(m_messages.shown.isEmpty());
}

void tst_SearchRun::boardAndFlagsAfterRun_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("resultFlag");
    QTest::addColumn<QList<Command>>("on");
    QTest::addColumn<QList<Command>>("off");
    QTest::newRow("found") << "word" << 1
                           << QList<Command>({Command::DISP, Command::CHANGE, Command::CLIP, Command::PARAMETER,
                                              Command::SEARCH_SAVE, Command::FILE_DELETE, Command::DRIVE,
                                              Command::FOLDER, Command::CLEAR, Command::HINAGATA, Command::TIME,
                                              Command::SETTEI, Command::END})
                           << QList<Command>({Command::SEARCH, Command::STOP, Command::DISP_SEARCH, Command::HOZON});
    QTest::newRow("nothing found") << "absent" << 0
                                   << QList<Command>({Command::SEARCH, Command::SEARCH_SAVE, Command::DRIVE,
                                                      Command::FOLDER, Command::CLEAR, Command::HINAGATA, Command::TIME,
                                                      Command::SETTEI, Command::END})
                                   << QList<Command>({Command::STOP, Command::DISP, Command::FILE_DELETE,
                                                      Command::CHANGE, Command::HOZON});
}

void tst_SearchRun::boardAndFlagsAfterRun()
{
    QFETCH(QString, word);
    QFETCH(int, resultFlag);
    QFETCH(QList<Command>, on);
    QFETCH(QList<Command>, off);
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/A.TXT"), {QStringLiteral("word")}));
    m_wb->board.applyStartup();
    // The search dialog turns SEARCH off and STOP on before the run.
    m_wb->board.searchStarting();
    prepare(word, 0);
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    // While the run went on, every button but STOP was off.
    QVERIFY(m_pump.sawBusy);
    QVERIFY(!m_pump.cursorBusy);
    QCOMPARE(m_wb->work.Result_Flag, qint16(resultFlag));
    for (Command key : on)
        QVERIFY2(m_wb->board.isEnabled(key), Commands::info(key).key);
    for (Command key : off)
        QVERIFY2(!m_wb->board.isEnabled(key), Commands::info(key).key);
}

void tst_SearchRun::resultFileBytes()
{
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/A.TXT"),
                                   {QStringLiteral("前"), QStringLiteral("こんにちは\t世界 key"), QStringLiteral("a:@:b key")}));
    prepare(QStringLiteral("key"), 0);
    m_wb->settings.FILE_OUT = 1;
    m_wb->settings.FILE_OUT_NAME = m_root + QStringLiteral("_out.txt");
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));

    QFile f(m_root + QStringLiteral("_out.txt"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString path = m_root + QStringLiteral("/A.TXT");
    // Columns: the header pads "SEARCH_FILE = " + path to 50 (at least one
    // space), its ":@:" becomes three spaces; kanji and hiragana take two
    // columns, the tab runs to column 24; every line is 83 columns wide.
    const QString prefix = QStringLiteral("SEARCH_FILE = ") + path;
    const QString header = prefix + QString(std::max<qsizetype>(1, 50 - prefix.size()), QLatin1Char(' '));
    const QByteArray expected = Cp932::encode(QStringLiteral("        Path-File                                     File-Date-Time      Size     \r\n")
                                              + header + QString(std::max<qsizetype>(0, 83 - header.size()), QLatin1Char(' '))
                                              + QStringLiteral("\r\n")
                                              + QStringLiteral("000002:こんにちは\t世界 key") + QString(51, QLatin1Char(' '))
                                              + QStringLiteral("\r\n")
                                              + QStringLiteral("000003:a   b key") + QString(67, QLatin1Char(' '))
                                              + QStringLiteral("\r\n"));
    QCOMPARE(f.readAll(), expected);
    QCOMPARE(m_messages.texts(), QStringList({m_root + QStringLiteral("_out.txtへ結果を出力しました。")}));
}

void tst_SearchRun::resultFileFailureIsReported()
{
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/A.TXT"), {QStringLiteral("key")}));
    prepare(QStringLiteral("key"), 0);
    m_wb->settings.FILE_OUT = 1;
    m_wb->settings.FILE_OUT_NAME = m_root + QStringLiteral("/no/such/folder/out.txt");
    const SearchOutcome outcome = SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QVERIFY(!outcome.resultWritten);
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown[0].icon, MessagePort::Icon::Critical);
    QVERIFY(!m_messages.shown[0].text.contains(QStringLiteral("結果を出力しました")));
    QCOMPARE(m_wb->work.Search_Hit_File_List().count(), 1);
}

void tst_SearchRun::unreadableFileSkipped()
{
    if (::geteuid() == 0)
        QSKIP("root reads files without read permission");
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/A.TXT"), {QStringLiteral("key")}));
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/B.TXT"), {QStringLiteral("key")}));
    QVERIFY(::chmod(QFile::encodeName(m_root + QStringLiteral("/A.TXT")).constData(), 0) == 0);
    prepare(QStringLiteral("key"), 0);
    const SearchOutcome outcome = SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QCOMPARE(outcome.skipped.size(), 1);
    QVERIFY(outcome.skipped[0].startsWith(m_root + QStringLiteral("/A.TXT\r\n")));
    QCOMPARE(m_wb->work.Search_Hit_File_List().count(), 1);
}

void tst_SearchRun::longLines_data()
{
    // A line may hold 32,767 characters; a file with a longer one is refused
    // as a file with too many lines is, when it has a hit.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("admitted");
    QTest::addColumn<bool>("refused");
    const QByteArray huge(5 * 1024 * 1024, 'x');
    QTest::newRow("32,767 characters with the hit: admitted")
        << "hit" + QByteArray(32764, 'x') + "\r\nend\r\n" << true << false;
    QTest::newRow("32,768 characters with the hit: refused")
        << "hit" + QByteArray(32765, 'x') + "\r\nend\r\n" << false << true;
    QTest::newRow("32,765 kanji after the hit, 65,533 bytes: refused")
        << "hit" + Cp932::encode(QString(32765, QChar(u'漢'))) + "\r\n" << false << true;
    QTest::newRow("32,764 kanji after the hit: admitted")
        << "hit" + Cp932::encode(QString(32764, QChar(u'漢'))) + "\r\n" << true << false;
    QTest::newRow("the hit on the first line, then a line without end: refused")
        << "hit\r\n" + huge << false << true;
    QTest::newRow("the hit at the end of a line without end: refused") << huge + "hit" << false << true;
    QTest::newRow("a line without end and no hit: nothing said") << huge << false << false;
}

void tst_SearchRun::longLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, admitted);
    QFETCH(bool, refused);
    QVERIFY(SearchTree::writeBytes(m_root + QStringLiteral("/LONG.TXT"), bytes));
    QVERIFY(SearchTree::writeNumbered(m_root + QStringLiteral("/SMALL.TXT"), 3, QStringLiteral("hit"), {1}));
    prepare(QStringLiteral("hit"), 0);
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QCOMPARE(m_wb->work.Is_File_Open(m_root + QStringLiteral("/LONG.TXT")) == 1, admitted);
    QCOMPARE(m_wb->work.Is_File_Open(m_root + QStringLiteral("/SMALL.TXT")), 1);
    const QStringList expected = refused ? QStringList({m_root + QStringLiteral("/LONG.TXT\r\nOver Flow しました。"
                                                                                "対象データが多すぎます。\r\n追加は中止しました。")})
                                         : QStringList();
    QCOMPARE(m_messages.texts(), expected);
}

void tst_SearchRun::windowServedInsideOneFile()
{
    // One file of 8 MiB without a line break, read on the calling thread:
    // the window is offered a turn between the read steps, not only between
    // files.
    SearchRun::scanHelpers = 0;
    QVERIFY(SearchTree::writeBytes(m_root + QStringLiteral("/ONE.TXT"), QByteArray(8 * 1024 * 1024, 'x')));
    prepare(QStringLiteral("hit"), 0);
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QVERIFY2(m_pump.calls >= 8 * 1024 * 1024 / ScanPool::kMaxRead - 2, qPrintable(QString::number(m_pump.calls)));
}

void tst_SearchRun::resultFileTargetRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("a folder") << "folder";
}

void tst_SearchRun::resultFileTargetRefused()
{
    // What is not a regular file is never replaced by the result file.
    QFETCH(QString, kind);
    const QString target = m_root + QStringLiteral("_target");
    if (kind == QLatin1String("fifo"))
        QVERIFY(::mkfifo(QFile::encodeName(target).constData(), 0600) == 0);
    else
        QVERIFY(QDir().mkpath(target));
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/A.TXT"), {QStringLiteral("key")}));
    prepare(QStringLiteral("key"), 0);
    m_wb->settings.FILE_OUT = 1;
    m_wb->settings.FILE_OUT_NAME = target;
    const SearchOutcome outcome = SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QVERIFY(!outcome.resultWritten);
    QCOMPARE(m_messages.texts(), QStringList({target + QStringLiteral("\r\n通常のファイルではないため、書き込みません。")}));
    QCOMPARE(m_messages.shown[0].icon, MessagePort::Icon::Critical);
    struct stat st;
    QVERIFY(::stat(QFile::encodeName(target).constData(), &st) == 0);
    QVERIFY(kind == QLatin1String("fifo") ? S_ISFIFO(st.st_mode) : S_ISDIR(st.st_mode));
}

void tst_SearchRun::refusalStorm_data()
{
    QTest::addColumn<bool>("overflow");      // else: a second search without clearing
    QTest::addColumn<RunNotices::Boxes>("boxes");
    QTest::addColumn<int>("stopAt");         // refusals counted when STOP is pressed; 0: never
    QTest::newRow("overflows: one box, one summary") << true << RunNotices::Boxes::FirstOfEachKind << 0;
    QTest::newRow("already open: one box, one summary") << false << RunNotices::Boxes::FirstOfEachKind << 0;
    QTest::newRow("batch: every refusal") << true << RunNotices::Boxes::Every << 0;
    QTest::newRow("STOP amid the refusals") << true << RunNotices::Boxes::FirstOfEachKind << 5;
}

// A common word over many files: thirty files refused for the same reason.
void tst_SearchRun::refusalStorm()
{
    QFETCH(bool, overflow);
    QFETCH(RunNotices::Boxes, boxes);
    QFETCH(int, stopAt);
    constexpr int kRefused = 30;
    if (overflow)
        QVERIFY(SearchTree::writeNumbered(m_root + QStringLiteral("/A_BIG.TXT"), 32700, QStringLiteral("hit"), {1}));
    for (int i = 1; i <= kRefused; ++i)
        QVERIFY(SearchTree::writeNumbered(m_root + QStringLiteral("/B%1.TXT").arg(i, 3, 10, QLatin1Char('0')), 2,
                                          QStringLiteral("hit"), {2}));
    prepare(QStringLiteral("hit"), 0);
    QString first = m_root + QStringLiteral("/B001.TXT\r\n");
    QStringList expected;
    if (overflow) {
        first += QStringLiteral("Over Flow しました。対象データが多すぎます。\r\n追加は中止しました。");
    } else {
        SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
        QCOMPARE(m_wb->work.Search_Hit_File_List().count(), kRefused);
        m_messages.answers.enqueue(MessagePort::Answer::No);
        m_wb->work.Search_Running = 1;
        first += QStringLiteral("上記ファイルは既に開かれています。\r\n追加は中止しました。");
        expected.append(SearchRun::kClearQuestion);
    }
    QSignalSpy panels(&m_wb->status, &StatusPanels::changed);
    m_pump.stopAtRefused = stopAt;
    const SearchOutcome outcome = SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb), {}, boxes);

    const int refused = overflow ? outcome.overflow : outcome.alreadyOpen;
    QCOMPARE(overflow ? outcome.alreadyOpen : outcome.overflow, 0);
    QCOMPARE(outcome.stopped, stopAt != 0);
    if (stopAt) {
        // STOP had its chance between the refused files.
        QVERIFY2(refused > 1 && refused < kRefused, qPrintable(QString::number(refused)));
    } else {
        QCOMPARE(refused, kRefused);
    }
    expected.append(first);
    if (boxes == RunNotices::Boxes::Every) {
        for (int i = 2; i <= kRefused; ++i)
            expected.append(first.replace(QRegularExpression(QStringLiteral("/B\\d+")),
                                          QStringLiteral("/B%1").arg(i, 3, 10, QLatin1Char('0'))));
    } else {
        expected.append(QStringLiteral("追加しなかったファイルがあります。\r\n")
                        + (overflow ? QStringLiteral("Over Flow（追加中止）：%1件")
                                    : QStringLiteral("既に開かれているファイル（追加中止）：%1件"))
                              .arg(refused));
        // The running count went to the status bar as the run went on.
        QStringList counts;
        for (const QList<QVariant> &change : std::as_const(panels))
            if (change.at(0).value<StatusPanel>() == StatusPanels::kHitSu && change.at(1).toString().startsWith(QStringLiteral("追加中止")))
                counts.append(change.at(1).toString());
        QCOMPARE(counts.size(), refused);
        QCOMPARE(counts.last(), QStringLiteral("追加中止 =%1ﾌｧｲﾙ").arg(refused));
    }
    QCOMPARE(m_messages.texts(), expected);
    QCOMPARE(m_messages.shown.last().caption, QStringLiteral("検索"));
    QCOMPARE(m_messages.shown.last().icon, MessagePort::Icon::Exclamation);
    // The work area holds what it held before the refusals.
    QCOMPARE(m_wb->work.Search_Hit_File_List().count(), overflow ? 1 : kRefused);
    QCOMPARE(m_wb->work.Search_Hit_List().count(), overflow ? 3 : 1 + 2 * kRefused);
}

void tst_SearchRun::notStartedWhileBusy()
{
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/A.TXT"), {QStringLiteral("key")}));
    prepare(QStringLiteral("key"), 0);
    m_wb->board.applyStartup();
    QVERIFY(m_wb->board.Enter_Busy());
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QCOMPARE(m_wb->work.Search_Hit_File_List().count(), 0);
    QVERIFY(m_wb->board.isBusy());
    QVERIFY(!m_wb->board.isEnabled(Command::SEARCH));
    m_wb->board.Leave_Busy();
    QVERIFY(m_wb->board.isEnabled(Command::SEARCH));
}

QTEST_GUILESS_MAIN(tst_SearchRun)
#include "tst_searchrun.moc"
