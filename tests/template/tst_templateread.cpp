#include "ScriptedMessagePort.h"
#include "TemplateFixture.h"

#include "template/FolderEntries.h"
#include "template/TemplateRead.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class tst_TemplateRead : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void header_data();
    void header();
    void lines_data();
    void lines();
    void threeLineTemplate();
    void admission_data();
    void admission();
    void readRun();
    void selection_data();
    void selection();
    void discard_data();
    void discard();
    void listing_data();
    void listing();
    void listingFromDisk();
};

namespace {

const QDateTime kModified(QDate(1999, 3, 15), QTime(14, 5, 9));
const QString kSuffix = QStringLiteral(":@:1999/03/15 14:05:09  2048ﾊﾞｲﾄ");

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray numberedLines(int n)
{
    QByteArray out;
    for (int i = 1; i <= n; ++i)
        out += "line" + QByteArray::number(i) + "\r\n";
    return out;
}

} // namespace

void tst_TemplateRead::header_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("short path filled to 50")
        << QStringLiteral("/tpl/t.txt") << QStringLiteral("ADD____FILE = /tpl/t.txt") + QString(26, u' ') + kSuffix;
    const QString p35 = QStringLiteral("/") + QString(34, u'a');
    QTest::newRow("49 characters get one space")
        << p35 << QStringLiteral("ADD____FILE = ") + p35 + QStringLiteral(" ") + kSuffix;
    const QString p36 = p35 + QLatin1Char('b');
    QTest::newRow("exactly 50 get one space")
        << p36 << QStringLiteral("ADD____FILE = ") + p36 + QStringLiteral(" ") + kSuffix;
    const QString p34 = QStringLiteral("/") + QString(33, u'a');
    QTest::newRow("48 characters get two spaces")
        << p34 << QStringLiteral("ADD____FILE = ") + p34 + QStringLiteral("  ") + kSuffix;
    QTest::newRow("letter case of the path kept")
        << QStringLiteral("/Tpl/t.TXT") << QStringLiteral("ADD____FILE = /Tpl/t.TXT") + QString(26, u' ') + kSuffix;
}

void tst_TemplateRead::header()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(TemplateRead::Template_Header(path, kModified, 2048), expected);
}

void tst_TemplateRead::lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("CR LF, last break kept out") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("LF only") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("CR only") << QByteArray("a\rb") << QStringList{"a", "b"};
    QTest::newRow("last line without break") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("one break alone is one empty line") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("Shift-JIS decoded") << QByteArray("\x82\xa0\r\n") << QStringList{QStringLiteral("あ")};
    QTest::newRow("separator inside a line") << QByteArray("x:@:y") << QStringList{"x:@:y"};
}

void tst_TemplateRead::lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, texts);
    const auto out = TemplateRead::Make_Template(QStringLiteral("/t/a.txt"), bytes, kModified, 0);
    QCOMPARE(out.status, TemplateRead::Status::Added);
    QCOMPARE(out.file.entries.size(), texts.size());
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString &entry = out.file.entries.at(i);
        QCOMPARE(LineFormat::Entry_Key(entry).toString(), QStringLiteral("/t/a.txt"));
        QCOMPARE(LineFormat::Entry_Line_No(entry).toString(), LineFormat::Line_No_10(i + 1));
        QCOMPARE(LineFormat::Entry_Text(entry).toString(), texts.at(i));
    }
}

void tst_TemplateRead::threeLineTemplate()
{
    QTemporaryDir tmp;
    const QString folder = TemplateRead::Template_Folder(tmp.path() + QStringLiteral("/Tpl"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("t.txt");
    QVERIFY(writeFile(path, "a\r\n\r\nc\r\n"));

    MemoryTemplateStore store;
    ScriptedMessagePort port;
    const auto summary = TemplateRead::Read_Templates({path}, store, port);
    QCOMPARE(summary.added, 1);
    QVERIFY(port.shown.isEmpty());
    QCOMPARE(store.files.size(), 1);
    const AddedFile &f = store.files.first();
    QCOMPARE(f.path, tmp.path() + QStringLiteral("/Tpl/t.txt"));
    QCOMPARE(f.entries, (QStringList{path + QStringLiteral(":@:000001.000:@:a"),
                                     path + QStringLiteral(":@:000002.000:@:"),
                                     path + QStringLiteral(":@:000003.000:@:c")}));
    QVERIFY(!f.changed);
    QCOMPARE(f.bytes, QByteArray("a\r\n\r\nc\r\n"));
    QCOMPARE(f.size, 8);
    const QString date = QFileInfo(path).lastModified().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    QVERIFY(f.header.startsWith(QStringLiteral("ADD____FILE = ") + path));
    QVERIFY(f.header.endsWith(QStringLiteral(":@:") + date + QStringLiteral("  8ﾊﾞｲﾄ")));
}

void tst_TemplateRead::admission_data()
{
    QTest::addColumn<qint64>("stored");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("admitted");
    QTest::newRow("brings the store to exactly 32700") << qint64(32650) << 50 << true;
    QTest::newRow("brings the store to 32701") << qint64(32650) << 51 << false;
    QTest::newRow("empty store, 32700 lines") << qint64(0) << 32700 << true;
    QTest::newRow("empty store, 32701 lines") << qint64(0) << 32701 << false;
}

void tst_TemplateRead::admission()
{
    QFETCH(qint64, stored);
    QFETCH(int, lines);
    QFETCH(bool, admitted);
    const auto out = TemplateRead::Make_Template(QStringLiteral("/t/big.txt"), numberedLines(lines), kModified, stored);
    QCOMPARE(out.status, admitted ? TemplateRead::Status::Added : TemplateRead::Status::Overflow);
    QCOMPARE(out.file.entries.size(), admitted ? lines : 0);
}

// Several files in one read: each is judged alone and the others go on.
void tst_TemplateRead::readRun()
{
    QTemporaryDir tmp;
    const QString folder = TemplateRead::Template_Folder(tmp.path());
    QVERIFY(writeFile(folder + "big.txt", numberedLines(4)));
    QVERIFY(writeFile(folder + "empty.txt", QByteArray()));
    QVERIFY(writeFile(folder + "small.txt", numberedLines(3)));
    QVERIFY(QDir().mkdir(folder + "dir.txt"));
    QVERIFY(::mkfifo(QFile::encodeName(folder + "fifo.txt").constData(), 0600) == 0);
    const QStringList paths{folder + "big.txt",  folder + "dir.txt",  folder + "empty.txt",
                            folder + "fifo.txt", folder + "gone.txt", folder + "small.txt"};

    MemoryTemplateStore store;
    store.otherLines = 32700 - 3; // room for three more lines
    ScriptedMessagePort port;
    const auto summary = TemplateRead::Read_Templates(paths, store, port);

    QCOMPARE(store.paths(), QStringList{folder + "small.txt"});
    QCOMPARE(summary.added, 1);
    QCOMPARE(summary.empty, 1);
    QCOMPARE(summary.refused, 4);
    QCOMPARE(port.shown.size(), 4);
    QCOMPARE(port.shown.at(0).text, folder + "big.txt\r\nOver Flow しました。対象データが多すぎます。\r\n雛形追加は中止しました。");
    QCOMPARE(port.shown.at(0).icon, MessagePort::Icon::Exclamation);
    for (int i = 0; i < port.shown.size(); ++i)
        QCOMPARE(port.shown.at(i).caption, QStringLiteral("雛形読み込み"));
    QVERIFY(port.shown.at(1).text.startsWith(folder + "dir.txt\r\n"));
    QVERIFY(port.shown.at(2).text.startsWith(folder + "fifo.txt\r\n"));
    QVERIFY(port.shown.at(3).text.startsWith(folder + "gone.txt\r\n"));
    QVERIFY(port.shown.at(3).text.endsWith(QStringLiteral("\r\n雛形追加は中止しました。")));
    QCOMPARE(port.shown.at(3).icon, MessagePort::Icon::Critical);

    // A full file list is the same overflow to the user, and nothing joins.
    MemoryTemplateStore full;
    full.fileRoom = 0;
    ScriptedMessagePort port2;
    TemplateRead::Read_Templates({folder + "small.txt"}, full, port2);
    QVERIFY(full.files.isEmpty());
    QCOMPARE(port2.texts(), QStringList{folder + "small.txt\r\nOver Flow しました。対象データが多すぎます。\r\n雛形追加は中止しました。"});
}

void tst_TemplateRead::selection_data()
{
    QTest::addColumn<QStringList>("open");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("nothing selected") << QStringList{} << QStringList{} << QStringLiteral("リストが選択されていません。");
    QTest::newRow("second selected file already open")
        << QStringList{"/t/b.txt"} << QStringList{"/t/a.txt", "/t/b.txt"}
        << QStringLiteral("同じファイルが既に開かれています。");
    QTest::newRow("same name in other letter case is another file")
        << QStringList{"/t/A.TXT"} << QStringList{"/t/a.txt"} << QString();
    QTest::newRow("none open") << QStringList{"/t/c.txt"} << QStringList{"/t/a.txt"} << QString();
}

void tst_TemplateRead::selection()
{
    QFETCH(QStringList, open);
    QFETCH(QStringList, selected);
    QFETCH(QString, refusal);
    MemoryTemplateStore store;
    for (const QString &p : std::as_const(open))
        store.files.append(AddedFile{p, {}, {}, false, {}, 0, {}});
    ScriptedMessagePort port;
    QCOMPARE(TemplateRead::Check_Selection(selected, store, port), refusal.isEmpty());
    QCOMPARE(port.texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
}

void tst_TemplateRead::discard_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<int>("resultFlag");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("asked");
    const int yes = int(MessagePort::Answer::Yes), no = int(MessagePort::Answer::No);
    QTest::newRow("ticked with a result, Yes") << true << 1 << yes << int(TemplateRead::Discard::Discard) << true;
    QTest::newRow("ticked with a result, No") << true << 1 << no << int(TemplateRead::Discard::Declined) << true;
    QTest::newRow("ticked without a result") << true << 0 << yes << int(TemplateRead::Discard::Keep) << false;
    QTest::newRow("not ticked") << false << 1 << yes << int(TemplateRead::Discard::Keep) << false;
}

void tst_TemplateRead::discard()
{
    QFETCH(bool, ticked);
    QFETCH(int, resultFlag);
    QFETCH(int, answer);
    QFETCH(int, expected);
    QFETCH(bool, asked);
    ScriptedMessagePort port;
    port.answers.enqueue(MessagePort::Answer(answer));
    QCOMPARE(int(TemplateRead::Ask_Discard(ticked, resultFlag, port)), expected);
    QCOMPARE(port.texts(), asked ? QStringList{"現在の検索編集内容は全て消去されます。\r\n続けますか？"} : QStringList());
}

void tst_TemplateRead::listing_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QList<DirEntry>>("entries");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("files");

    auto file = [](const char *name) {
        DirEntry e;
        e.name = QString::fromUtf8(name);
        e.regularFile = true;
        e.hidden = e.name.startsWith(u'.');
        return e;
    };
    auto dir = [](const char *name) {
        DirEntry e;
        e.name = QString::fromUtf8(name);
        e.directory = true;
        e.hidden = e.name.startsWith(u'.');
        return e;
    };
    QTest::newRow("identifier compared with letter case")
        << "/t" << QList<DirEntry>{file("README.TXT"), file("readme.txt"), file("a.Txt")} << QStringList{".."}
        << QStringList{"README.TXT"};
    QTest::newRow("identifier is all after the last dot")
        << "/t" << QList<DirEntry>{file("a.TXT.BAK"), file("b.HTML"), file("c.TXT"), file("TXT")}
        << QStringList{".."} << QStringList{"b.HTML", "c.TXT"};
    DirEntry readOnly = dir("ro.TXT");
    readOnly.readOnly = true;
    QTest::newRow("only a plain directory is a folder")
        << "/t" << QList<DirEntry>{dir(".hid.TXT"), dir("v1.2"), readOnly, dir("sub")}
        << QStringList{"..", "sub", "v1.2"} << QStringList{".hid.TXT", "ro.TXT"};
    QTest::newRow("RECYCLED left out") << "/t" << QList<DirEntry>{file("RECYCLED"), dir("Z")}
                                       << QStringList{"..", "Z"} << QStringList{};
    QTest::newRow("no way up from the root") << "/" << QList<DirEntry>{dir("home")} << QStringList{"home"}
                                             << QStringList{};
    QTest::newRow(".. sorted in with the folders")
        << "/t" << QList<DirEntry>{dir("!x"), dir("a")} << QStringList{"!x", "..", "a"} << QStringList{};
}

void tst_TemplateRead::listing()
{
    QFETCH(QString, folder);
    QFETCH(QList<DirEntry>, entries);
    QFETCH(QStringList, folders);
    QFETCH(QStringList, files);
    std::array<QString, 20> sikibetu;
    sikibetu[0] = QStringLiteral("TXT");
    sikibetu[3] = QStringLiteral("HTML");
    const FolderEntries out = FolderEntries::ListFolderEntries(folder, entries, sikibetu);
    QCOMPARE(out.folders, folders);
    QCOMPARE(out.files, files);
}

void tst_TemplateRead::listingFromDisk()
{
    QTemporaryDir tmp;
    QVERIFY(writeFile(tmp.path() + "/readme.txt", "x"));
    QVERIFY(writeFile(tmp.path() + "/README.TXT", "x"));
    QVERIFY(QDir().mkdir(tmp.path() + "/sub"));
    std::array<QString, 20> sikibetu;
    sikibetu[5] = QStringLiteral("TXT");
    FolderEntries out;
    QVERIFY(FolderEntries::ListFolderEntries(tmp.path(), sikibetu, out));
    QCOMPARE(out.folders, (QStringList{"..", "sub"}));
    QCOMPARE(out.files, QStringList{"README.TXT"});
    QString error;
    QVERIFY(!FolderEntries::ListFolderEntries(tmp.path() + "/none", sikibetu, out, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(tst_TemplateRead)
#include "tst_templateread.moc"
