#include "ScriptedMessagePort.h"
#include "TemplateFixture.h"

#include "template/FolderEntries.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class tst_TemplateRead : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void header_data();
    void header();
    void threeLineTemplate();
    void admission_data();
    void admission();
    void eachFileAlone();
    void selection_data();
    void selection();
    void listing_data();
    void listing();
};

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray linesOf(int n)
{
    return QByteArray("x\r\n").repeated(n);
}

const QString kOverflow = QStringLiteral("\r\nOver Flow しました。対象データが多すぎます。\r\n雛形追加は中止しました。");

} // namespace

void tst_TemplateRead::header_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("fill");
    QTest::newRow("short path filled to 50") << QStringLiteral("/Tpl/t.TXT") << QString(26, u' ');
    QTest::newRow("49 characters get one space") << QStringLiteral("/") + QString(34, u'a') << QStringLiteral(" ");
    QTest::newRow("50 characters get one space") << QStringLiteral("/") + QString(35, u'a') << QStringLiteral(" ");
}

void tst_TemplateRead::header()
{
    QFETCH(QString, path);
    QFETCH(QString, fill);
    QCOMPARE(TemplateRead::templateHeader(path, QDateTime(QDate(1999, 3, 15), QTime(14, 5, 9)), 2048),
             QStringLiteral("ADD____FILE = ") + path + fill + QStringLiteral(":@:1999/03/15 14:05:09  2048ﾊﾞｲﾄ"));
}

void tst_TemplateRead::threeLineTemplate()
{
    QTemporaryDir tmp;
    const QString folder = DirectoryListing::withSeparator(tmp.path() + QStringLiteral("/Tpl"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("t.txt");
    QVERIFY(writeFile(path, "a\r\n\r\nc\r\n"));

    MemoryTemplateStore store;
    ScriptedMessagePort port;
    QCOMPARE(TemplateRead::readTemplates({QFile::encodeName(path)}, store, port).added, 1);
    QVERIFY(port.shown.isEmpty());
    const AddedFile &f = store.files.value(0);
    QCOMPARE(f.path, tmp.path() + QStringLiteral("/Tpl/t.txt"));
    QCOMPARE(f.entries, (QStringList{path + ":@:000001.000:@:a", path + ":@:000002.000:@:", path + ":@:000003.000:@:c"}));
    QVERIFY(!f.changed);
    QCOMPARE(f.bytes, QByteArray("a\r\n\r\nc\r\n"));
    const QString date = QFileInfo(path).lastModified().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    QCOMPARE(f.header, TemplateRead::templateHeader(path, QFileInfo(path).lastModified(), 8));
    QVERIFY(f.header.endsWith(QStringLiteral(":@:") + date + QStringLiteral("  8ﾊﾞｲﾄ")));
}

void tst_TemplateRead::admission_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("admitted");
    QTest::newRow("store brought to exactly 32700") << 50 << true;
    QTest::newRow("store brought to 32701") << 51 << false;
}

void tst_TemplateRead::admission()
{
    QFETCH(int, lines);
    QFETCH(bool, admitted);
    const auto out = TemplateRead::makeTemplate(QStringLiteral("/t/b.txt"), linesOf(lines), QDateTime(), 32650);
    QCOMPARE(out.status, admitted ? TemplateRead::Status::Added : TemplateRead::Status::Overflow);
    QCOMPARE(out.file.entries.size(), admitted ? lines : 0);
}

// Overflow, empty and unreadable files are each judged alone; a smaller file
// after them is still added. One box, then a summary of the rest.
void tst_TemplateRead::eachFileAlone()
{
    QTemporaryDir tmp;
    const QString f = DirectoryListing::withSeparator(tmp.path());
    QVERIFY(writeFile(f + "big.txt", linesOf(4)) && writeFile(f + "big2.txt", linesOf(4)) && writeFile(f + "empty.txt", {})
            && writeFile(f + "small.txt", linesOf(3)));
    QVERIFY(QDir().mkdir(f + "dir.txt"));
    QVERIFY(::mkfifo(QFile::encodeName(f + "fifo.txt").constData(), 0600) == 0); // never opened: it would block
    QList<QByteArray> paths;
    for (const char *name : {"big.txt", "big2.txt", "dir.txt", "empty.txt", "fifo.txt", "gone.txt", "small.txt"})
        paths.append(QFile::encodeName(f + name));

    MemoryTemplateStore store;
    store.otherLines = 32700 - 3;
    ScriptedMessagePort port;
    const auto summary = TemplateRead::readTemplates(paths, store, port);
    QCOMPARE(store.paths(), QStringList{f + "small.txt"});
    QCOMPARE(summary.empty, 1);
    QCOMPARE(port.shown.size(), 2);
    QCOMPARE(port.shown.at(0).text, f + "big.txt" + kOverflow);
    QCOMPARE(port.shown.at(0).caption, QStringLiteral("雛形読み込み"));
    for (const QString &told : {QStringLiteral("Over Flow（追加中止）：2件\r\n読み込めなかった、またはスキップしたファイル・フォルダ：3件"),
                                "\r\n　" + f + "dir.txt　通常のファイルではありません。", "\r\n　" + f + "gone.txt　ファイルを開けません。"})
        QVERIFY2(port.texts().last().contains(told), qPrintable(port.texts().last()));

    // A file list with no room left is the same overflow, and nothing joins.
    MemoryTemplateStore full;
    full.fileRoom = 0;
    port.shown.clear();
    TemplateRead::readTemplates({QFile::encodeName(f + "small.txt")}, full, port);
    QVERIFY(full.files.isEmpty());
    QCOMPARE(port.texts(), QStringList{f + "small.txt" + kOverflow});
}

void tst_TemplateRead::selection_data()
{
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("nothing selected") << QStringList{} << QStringLiteral("リストが選択されていません。");
    QTest::newRow("a selected file already open") << QStringList{"/t/a.txt", "/t/B.TXT"}
                                                  << QStringLiteral("同じファイルが既に開かれています。");
    QTest::newRow("other letter case is another file") << QStringList{"/t/b.txt"} << QString();
}

void tst_TemplateRead::selection()
{
    QFETCH(QStringList, selected);
    QFETCH(QString, refusal);
    MemoryTemplateStore store;
    store.addSource(QStringLiteral("/t/B.TXT"), {});
    ScriptedMessagePort port;
    QCOMPARE(TemplateRead::checkSelection(selected, store, port), refusal.isEmpty());
    QCOMPARE(port.texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
}

void tst_TemplateRead::listing_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QList<DirEntry>>("entries");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("files");
    auto entry = [](const char *name, bool dir, bool readOnly = false) {
        DirEntry e;
        e.name = QString::fromUtf8(name);
        e.directory = dir;
        e.regularFile = !dir;
        e.hidden = e.name.startsWith(u'.');
        e.readOnly = readOnly;
        return e;
    };
    QTest::newRow("identifier compared without letter case, after the last dot")
        << "/t" << QList<DirEntry>{entry("readme.txt", false), entry("README.TXT", false), entry("a.TXT.BAK", false)}
        << QStringList{".."} << QStringList{"README.TXT", "readme.txt"};
    QTest::newRow("hidden or read-only folder treated as a file")
        << "/t" << QList<DirEntry>{entry(".h.TXT", true), entry("v1.2", true), entry("ro.TXT", true, true)}
        << QStringList{"..", "v1.2"} << QStringList{".h.TXT", "ro.TXT"};
    QTest::newRow("RECYCLED left out") << "/t" << QList<DirEntry>{entry("RECYCLED", false)} << QStringList{".."}
                                       << QStringList{};
    QTest::newRow("no way up from the root, folders sorted")
        << "/" << QList<DirEntry>{entry("usr", true), entry("!x", true)} << QStringList{"!x", "usr"} << QStringList{};
}

void tst_TemplateRead::listing()
{
    QFETCH(QString, folder);
    QFETCH(QList<DirEntry>, entries);
    QFETCH(QStringList, folders);
    QFETCH(QStringList, files);
    std::array<QString, 20> sikibetu;
    sikibetu[3] = QStringLiteral("TXT");
    const FolderEntries out = FolderEntries::ListFolderEntries(folder, entries, sikibetu);
    QCOMPARE(out.folders, folders);
    QCOMPARE(out.files, files);
}

QTEST_GUILESS_MAIN(tst_TemplateRead)
#include "tst_templateread.moc"
