#include "SearchTree.h"
#include "StoredRequest.h"
#include "ScriptedMessagePort.h"

#include "base/Workbench.h"
#include "search/BatchSearch.h"
#include "search/SearchRun.h"
#include "workarea/LineFormat.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>
#include <sys/sysmacros.h>

class tst_BatchSearch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void exitStatus_data();
    void exitStatus();
    void resultFileExpectedBytes();
    void resultFileEqualsWorkArea();
    void storedSettingsAreDefaults();
    void storedResultFileIsNotWritten();
    void standardOutput();
    void standardOutputNativeBytes_data();
    void standardOutputNativeBytes();
    void folderNamedInShiftJis_data();
    void folderNamedInShiftJis();
    void listDocument();
    void wordPrepared_data();
    void wordPrepared();
    void standardOutputWriteError();
    void outputTargets_data();
    void outputTargets();

private:
    QString quavProgram() const;
    int run(const QStringList &args) { return BatchSearch::run(args); }
    // The program itself, for what only a process shows; false when it is
    // not built beside the tests.
    bool start(QProcess &p, const QStringList &args);
    void writeStore(const QString &text);

    QTemporaryDir m_config;
    QTemporaryDir m_tmp;
    QString m_root;
};

void tst_BatchSearch::initTestCase()
{
    qputenv("QUAV_CONFIG_DIR", QFile::encodeName(m_config.path()));
}

void tst_BatchSearch::init()
{
    QFile::remove(m_config.path() + QStringLiteral("/QUAV.REG"));
    static int n = 0;
    m_root = m_tmp.path() + QStringLiteral("/t") + QString::number(++n);
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/A.TXT"), {QStringLiteral("前"), QStringLiteral("Key 検索")}));
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/B.CSV"), {QStringLiteral("key,1")}));
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/sub/C.TXT"), {QStringLiteral("KEY")}));
    QVERIFY(SearchTree::writeLines(m_root + QStringLiteral("/N.ZZZ"), {QStringLiteral("key")}));
}

bool tst_BatchSearch::start(QProcess &p, const QStringList &args)
{
    const QString quav = QCoreApplication::applicationDirPath() + QStringLiteral("/../src/quav");
    if (!QFile::exists(quav))
        return false;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM")); // no display is needed at all
    p.setProcessEnvironment(env);
    p.start(quav, QStringList{QStringLiteral("search")} + args);
    return p.waitForFinished(30000);
}

void tst_BatchSearch::writeStore(const QString &text)
{
    QVERIFY(SearchTree::writeBytes(m_config.path() + QStringLiteral("/QUAV.REG"), text.toUtf8()));
}

void tst_BatchSearch::exitStatus_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::newRow("found") << QStringList({"--dir", "@", "key"}) << 0;
    QTest::newRow("found, with case") << QStringList({"--dir", "@", "--case", "Key"}) << 0;
    QTest::newRow("nothing with case") << QStringList({"--dir", "@", "--case", "kEY"}) << 1;
    QTest::newRow("nothing in the identifiers") << QStringList({"--dir", "@", "--ext", "log", "key"}) << 1;
    QTest::newRow("option after the word, value with =") << QStringList({"key", "--dir=@"}) << 0;
    QTest::newRow("word that looks like an option") << QStringList({"--dir", "@", "--", "--x"}) << 1;
    QTest::newRow("help") << QStringList({"--help"}) << 0;
    QTest::newRow("unknown option") << QStringList({"--dir", "@", "--bogus", "key"}) << 2;
    QTest::newRow("missing folder") << QStringList({"--dir", "@/nowhere", "key"}) << 2;
    QTest::newRow("no word") << QStringList({"--dir", "@"}) << 2;
    QTest::newRow("only spaces") << QStringList({"--dir", "@", "   "}) << 2;
    QTest::newRow("two words") << QStringList({"--dir", "@", "a", "b"}) << 2;
    QTest::newRow("option without its value") << QStringList({"key", "--dir"}) << 2;
    QTest::newRow("identifier too long") << QStringList({"--dir", "@", "--ext", "HTML", "key"}) << 2;
    QTest::newRow("result file cannot be written")
        << QStringList({"--dir", "@", "--out", "@/no/such/folder/out.txt", "key"}) << 2;
}

void tst_BatchSearch::exitStatus()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    for (QString &a : args)
        a.replace(QLatin1Char('@'), m_root);
    QCOMPARE(run(args), status);
}

void tst_BatchSearch::resultFileExpectedBytes()
{
    const QString out = m_root + QStringLiteral("_out.txt");
    QCOMPARE(run({"--dir", m_root, "--ext", "txt, csv", "--no-subdirs", "--no-timestamps", "--out", out, "key"}), 0);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    auto header = [](const QString &path) {
        QString h = QStringLiteral("SEARCH_FILE = ") + path;
        h += QString(std::max<qsizetype>(1, 50 - h.size()), QLatin1Char(' ')) + QStringLiteral("   ");
        return h.size() >= 83 ? h.left(82) + QLatin1Char(' ') : h + QString(83 - h.size(), QLatin1Char(' '));
    };
    const QString text = QStringLiteral("        Path-File                                     File-Date-Time      Size     \r\n")
        + header(m_root + QStringLiteral("/A.TXT")) + QStringLiteral("\r\n")
        + QStringLiteral("000002:Key 検索") + QString(83 - 15, QLatin1Char(' ')) + QStringLiteral("\r\n")
        + header(m_root + QStringLiteral("/B.CSV")) + QStringLiteral("\r\n")
        + QStringLiteral("000001:key,1") + QString(83 - 12, QLatin1Char(' ')) + QStringLiteral("\r\n");
    QCOMPARE(f.readAll(), Cp932::encode(text));
}

void tst_BatchSearch::resultFileEqualsWorkArea()
{
    // The batch search and a run from the window, on the same tree with the
    // same choices, give the same result file byte for byte.
    const QString batchOut = m_root + QStringLiteral("_batch.txt");
    QCOMPARE(run({"--dir", m_root, "--ext", "TXT,CSV", "--subdirs", "--timestamps", "--out", batchOut, "key"}), 0);

    Workbench wb;
    ScriptedMessagePort messages;
    wb.messages = &messages;
    wb.settings.SIKIBETU_ALL_FLG = 1;
    wb.settings.SIKIBETU[0] = QStringLiteral("TXT");
    wb.settings.SIKIBETU[1] = QStringLiteral("CSV");
    wb.settings.SUB_DIR_FLG = 1;
    wb.settings.FILE_NAME_DISP = 1;
    wb.settings.FILE_OUT = 1;
    wb.settings.FILE_OUT_NAME = m_root + QStringLiteral("_window.txt");
    wb.work.Search_Word = QStringLiteral("key");
    wb.work.Compare_Mode = 1;
    wb.work.Search_Running = 1;
    wb.work.Search_Path = m_root;
    wb.work.Current_Dir = m_root + QLatin1Char('/');
    SearchRun::Search_Execute(wb, storedRequest(wb));
    QCOMPARE(wb.work.Search_Hit_File_List().count(), 3);

    QFile a(batchOut), b(wb.settings.FILE_OUT_NAME);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), b.readAll());
}

void tst_BatchSearch::storedSettingsAreDefaults()
{
    // Without a store: the factory identifiers (TXT, CSV, ...) and subfolders.
    const QString out = m_root + QStringLiteral("_out.txt");
    QCOMPARE(run({"--dir", m_root, "--out", out, "key"}), 0);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = Cp932::decode(f.readAll());
    QVERIFY(text.contains(m_root + QStringLiteral("/sub/C.TXT")));
    QVERIFY(!text.contains(QStringLiteral("N.ZZZ")));
    f.close();

    // A store that chooses ZZZ only and no subfolders.
    writeStore(QStringLiteral("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV]\r\n\r\n"
                              "[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\SEARCH_SIKIBETU]\r\n"
                              "\"SIKIBETU_ALL_FLG\"=dword:00000000\r\n\"SIKIBETU00\"=\"ZZZ\"\r\n\r\n"
                              "[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\EXECUTE]\r\n"
                              "\"SUB_DIR_FLG\"=dword:00000000\r\n\"FILE_NAME_DISP\"=dword:00000000\r\n"));
    QCOMPARE(run({"--dir", m_root, "--out", out, "key"}), 0);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString stored = Cp932::decode(f.readAll());
    QVERIFY(stored.contains(QStringLiteral("N.ZZZ")));
    QVERIFY(!stored.contains(QStringLiteral("A.TXT")));
    QVERIFY(!stored.contains(QStringLiteral("ﾊﾞｲﾄ")));
    f.close();
    // Options win over the store, and leave it as it was.
    QFile store(m_config.path() + QStringLiteral("/QUAV.REG"));
    QVERIFY(store.open(QIODevice::ReadOnly));
    const QByteArray storeBefore = store.readAll();
    store.close();
    QCOMPARE(run({"--dir", m_root, "--ext", "TXT", "--subdirs", "--encoding", "cp932", "--timestamps", "--out", out,
                  "key"}),
             0);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(Cp932::decode(f.readAll()).contains(QStringLiteral("/sub/C.TXT")));
    QVERIFY(store.open(QIODevice::ReadOnly));
    QCOMPARE(store.readAll(), storeBefore);
}

void tst_BatchSearch::storedResultFileIsNotWritten()
{
    const QString stored = m_root + QStringLiteral("_stored.txt");
    writeStore(QStringLiteral("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV]\r\n\r\n"
                              "[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\EXECUTE]\r\n"
                              "\"FILE_OUT\"=dword:00000001\r\n\"FILE_OUT_NAME\"=\"")
               + stored + QStringLiteral("\"\r\n"));
    QCOMPARE(run({"--dir", m_root, "--ext", "TXT", "key"}), 0);
    QVERIFY(!QFile::exists(stored));
}

void tst_BatchSearch::standardOutput()
{
    QProcess p;
    if (!start(p, {"--dir", m_root, "--ext", "TXT", "--no-subdirs", "--no-timestamps", "検索"}))
        QSKIP("the quav program is not built beside the tests");
    QCOMPARE(p.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 4); // three lines, each ended by LF
    QVERIFY(lines[1].startsWith(QStringLiteral("SEARCH_FILE = ") + m_root + QStringLiteral("/A.TXT ")));
    QVERIFY(lines[2].startsWith(QStringLiteral("000002:Key 検索 ")));
    QCOMPARE(lines[3], QString());

    // Messages go to standard error as "caption: text"; the run goes on.
    QVERIFY(start(p, {"--dir", m_root, "--ext", "TXT", "--out", m_root + QStringLiteral("_o.txt"), "key"}));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(p.readAllStandardError()),
             QStringLiteral("サーチ実行: ") + m_root + QStringLiteral("_o.txtへ結果を出力しました。\n"));

    // -n and -l: whole paths, each file read in its own encoding, the text
    // as UTF-8 without its mark.
    const QString mixed = m_root + QStringLiteral("/mixed");
    QVERIFY(SearchTree::writeBytes(mixed + QStringLiteral("/S.TXT"), Cp932::encode(QStringLiteral("エラー\r\n"))));
    QVERIFY(SearchTree::writeBytes(mixed + QStringLiteral("/U8.TXT"),
                                   "\xEF\xBB\xBF" + QStringLiteral("x\nエラー 1\n").toUtf8()));
    QVERIFY(SearchTree::writeBytes(mixed + QStringLiteral("/U16.TXT"),
                                   QByteArray("\xFF\xFE", 2)
                                       + QByteArray(reinterpret_cast<const char *>(u"警告\r\nエラー 2\r\n"), 22)));
    auto stdoutLines = [&](const QStringList &args) {
        QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
        lines.sort();
        return p.exitCode() == 0 ? lines.join(QLatin1Char('|')) : QStringLiteral("exit ") + args.join(u' ');
    };
    const QStringList hitLines{"--dir", mixed, "--ext", "TXT", "-n", "エラー"};
    QVERIFY(start(p, hitLines));
    QCOMPARE(stdoutLines(hitLines), QStringList({QString(), mixed + QStringLiteral("/S.TXT:1:エラー"),
                                                 mixed + QStringLiteral("/U16.TXT:2:エラー 2"),
                                                 mixed + QStringLiteral("/U8.TXT:2:エラー 1")})
                                        .join(QLatin1Char('|')));
    for (const QString &encoding : {QStringLiteral("auto"), QStringLiteral("cp932")}) {
        const QStringList files{"--dir", mixed, "--ext", "TXT", "-l", "--encoding", encoding, "エラー"};
        QVERIFY(start(p, files));
        QStringList expected{QString(), mixed + QStringLiteral("/S.TXT")};
        if (encoding == QStringLiteral("auto"))
            expected << mixed + QStringLiteral("/U16.TXT") << mixed + QStringLiteral("/U8.TXT");
        QCOMPARE(stdoutLines(files), expected.join(QLatin1Char('|')));
    }
}

QString tst_BatchSearch::quavProgram() const
{
    const QString quav = QCoreApplication::applicationDirPath() + QStringLiteral("/../src/quav");
    return QFile::exists(quav) ? quav : QString();
}

void tst_BatchSearch::standardOutputNativeBytes_data()
{
    // Shift-JIS names below the root: 報告 = 95F1 8D90, テスト = 8365 8358 8367.
    QTest::addColumn<QByteArray>("relative");
    QTest::newRow("name shown whole") << QByteArray("\x95\xf1\x8d\x90.TXT");
    QByteArray deep;
    for (int i = 0; i < 12; ++i)
        deep += "\x83\x65\x83\x58\x83\x67/";
    QTest::newRow("path longer than the header's columns") << deep + "\x95\xf1\x8d\x90.TXT";
}

void tst_BatchSearch::standardOutputNativeBytes()
{
    QFETCH(QByteArray, relative);
    const QString quav = quavProgram();
    if (quav.isEmpty())
        QSKIP("the quav program is not built beside the tests");
    const QByteArray native = QFile::encodeName(m_root) + '/' + relative;
    QVERIFY(SearchTree::writeBytesAt(native, Cp932::encode(QStringLiteral("x\r\nKey 検索\r\n"))));
    QProcess p;
    p.start(quav, {"search", "--dir", m_root, "--ext", "TXT", "--subdirs", "--no-timestamps", "検索"});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QList<QByteArray> lines = p.readAllStandardOutput().split('\n');
    QByteArray header;
    for (const QByteArray &line : lines)
        if (line.startsWith("SEARCH_FILE = ") && !line.contains("/A.TXT") && !line.contains("/sub/C.TXT"))
            header = line.mid(14);
    QVERIFY(!header.isEmpty());
    // The path as a shell can use it: the bytes on disk, whole.
    QVERIFY2(header.startsWith(native + ' '), header.constData());
}

void tst_BatchSearch::folderNamedInShiftJis_data()
{
    // The folder's name is not UTF-8 (報告 = 95F1 8D90): given by its bytes,
    // or the current folder.
    QTest::addColumn<bool>("current");
    QTest::newRow("--dir") << false;
    QTest::newRow("current folder") << true;
}

void tst_BatchSearch::folderNamedInShiftJis()
{
    QFETCH(bool, current);
    const QByteArray folder = QFile::encodeName(m_root) + "_\x95\xf1\x8d\x90";
    QVERIFY(SearchTree::writeBytesAt(folder + "/D.TXT", "key\r\n"));
    const QString out = m_root + QStringLiteral("_o.txt");
    QList<QByteArray> args{"--ext", "TXT", "--no-timestamps", "--out", QFile::encodeName(out), "key"};
    const QString before = QDir::currentPath();
    if (current)
        QVERIFY(::chdir(folder.constData()) == 0);
    else
        args << "--dir" << folder;
    const int status = BatchSearch::run(args);
    QDir::setCurrent(before);
    QCOMPARE(status, 0);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(Cp932::decode(f.readAll()).contains(m_root + QStringLiteral("_報告/D.TXT")));
}

void tst_BatchSearch::listDocument()
{
    const QString rtf = m_root + QStringLiteral("_list.rtf");
    QCOMPARE(run({"--dir", m_root, "--ext", "TXT", "--out", m_root + QStringLiteral("_o.txt"), "--rtf", rtf, "検索"}), 0);
    QFile f(rtf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray doc = f.readAll();
    QVERIFY(doc.startsWith("{\\rtf1"));
    QVERIFY(doc.contains("\\colortbl"));
    // Kanji travel as \'hh pairs: the document is 7-bit.
    for (char ch : doc)
        QVERIFY(uchar(ch) < 0x80);
    QVERIFY(doc.contains("\\'8C\\'9F\\'8D\\'F5")); // 検索, marked as a hit
    // The temporary list document stays out of the caller's folder.
    QVERIFY(!QFile::exists(QDir::currentPath() + QStringLiteral("/~QUAV_SK.RTF")));

    // Nothing found: no list view is built, no document written.
    QFile::remove(rtf);
    QCOMPARE(run({"--dir", m_root, "--ext", "TXT", "--rtf", rtf, "absent"}), 1);
    QVERIFY(!QFile::exists(rtf));
}

void tst_BatchSearch::wordPrepared_data()
{
    // The word is prepared as the search dialog prepares it: what a Linux
    // input method types finds its code page 932 look-alike.
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("encoding"); // --encoding; empty: not given (the stored choice)
    QTest::addColumn<int>("status");
    QTest::newRow("wave dash finds the full-width tilde") << QStringLiteral("1\u301C2") << "" << 0;
    QTest::newRow("minus sign finds the full-width hyphen-minus") << QStringLiteral("3\u22124") << "" << 0;
    QTest::newRow("em dash finds the horizontal bar") << QStringLiteral("5\u20146") << "" << 0;
    QTest::newRow("full-width spaces around are trimmed") << QStringLiteral("　1～2　") << "" << 0;
    QTest::newRow("full-width space inside is kept") << QStringLiteral("1　～2") << "" << 1;
    QTest::newRow("emoji refused as cp932") << QStringLiteral("1😀") << "cp932" << 2;
    QTest::newRow("emoji found in a UTF-8 file") << QStringLiteral("1😀") << "auto" << 0;
    QTest::newRow("UTF-8 Japanese found by default") << QStringLiteral("エラー") << "" << 0;
    QTest::newRow("UTF-8 Japanese not found as cp932") << QStringLiteral("エラー") << "cp932" << 1;
    QTest::newRow("UTF-16 Japanese found") << QStringLiteral("警告") << "auto" << 0;
    QTest::newRow("unknown encoding refused") << QStringLiteral("1") << "utf8" << 2;
    QTest::newRow("line break refused") << QStringLiteral("1\n2") << "" << 2;
}

void tst_BatchSearch::wordPrepared()
{
    QFETCH(QString, word);
    QFETCH(QString, encoding);
    QFETCH(int, status);
    const QString dir = m_root + QStringLiteral("_words");
    QVERIFY(SearchTree::writeLines(dir + QStringLiteral("/W.TXT"),
                                   {QStringLiteral("1\uFF5E2"), QStringLiteral("3\uFF0D4"), QStringLiteral("5\u20156")}));
    QVERIFY(SearchTree::writeBytes(dir + QStringLiteral("/U.TXT"), QStringLiteral("エラー 1😀\n").toUtf8()));
    QVERIFY(SearchTree::writeBytes(dir + QStringLiteral("/V.TXT"),
                                   QByteArray("\xFF\xFE", 2)
                                       + QByteArray(reinterpret_cast<const char *>(u"警告\r\n"), 8)));
    QStringList args = {"--dir", dir, "--ext", "TXT", "--out", dir + QStringLiteral("_o.txt")};
    if (!encoding.isEmpty())
        args << QStringLiteral("--encoding=") + encoding;
    QCOMPARE(run(args + QStringList{"--", word}), status);
}

void tst_BatchSearch::standardOutputWriteError()
{
    // A result that standard output did not take whole is an error, and
    // the refusal of a word reads as in the window.
    struct stat full;
    if (::stat("/dev/full", &full) != 0 || !S_ISCHR(full.st_mode))
        QSKIP("no /dev/full here"); // never made a regular file by opening it
    QProcess p;
    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    if (!start(p, {"--dir", m_root, "--ext", "TXT", "key"}))
        QSKIP("the quav program is not built beside the tests");
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("標準出力に書き込めません。")));

    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    QVERIFY(start(p, {"--help"}));
    QCOMPARE(p.exitCode(), 2);

    QProcess q;
    QVERIFY(start(q, {"--dir", m_root, "--encoding", "cp932", QStringLiteral("😀")}));
    QCOMPARE(q.exitCode(), 2);
    QCOMPARE(QString::fromUtf8(q.readAllStandardError()),
             QStringLiteral("quav search: サーチ文字にシフトJISで表せない文字が含まれています。\n（😀）\n"
                            "この文字はシフトJISのファイルの中に現れないため、検索できません。\n"));
}

void tst_BatchSearch::outputTargets_data()
{
    // @: a folder holding FIFO (a FIFO), DIR (a folder), OLD.TXT (a file),
    // LINK.TXT (a link to OLD.TXT) and, when the tests may make one, DEV (a
    // copy of the null device). No device outside the folder is ever named:
    // a faulty build run by root would replace it.
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("rtf");
    QTest::addColumn<int>("status");
    QTest::newRow("--out a FIFO") << "@/FIFO" << "" << 2;
    QTest::newRow("--out a folder") << "@/DIR" << "" << 2;
    QTest::newRow("--out a device") << "@/DEV" << "" << 2;
    QTest::newRow("--rtf a FIFO") << "@/NEW.TXT" << "@/FIFO" << 2;
    QTest::newRow("--out and --rtf one new name") << "@/NEW.TXT" << "@/NEW.TXT" << 2;
    QTest::newRow("--out and --rtf one new name, spelled twice") << "@/NEW.TXT" << "@/DIR/../NEW.TXT" << 2;
    QTest::newRow("--out and --rtf one file through a link") << "@/OLD.TXT" << "@/LINK.TXT" << 2;
    QTest::newRow("--out and --rtf two files") << "@/NEW.TXT" << "@/OLD.TXT" << 0;
    QTest::newRow("--out an existing file") << "@/OLD.TXT" << "" << 0;
}

void tst_BatchSearch::outputTargets()
{
    QFETCH(QString, out);
    QFETCH(QString, rtf);
    QFETCH(int, status);
    const QString at = m_root + QStringLiteral("_targets");
    QVERIFY(QDir().mkpath(at + QStringLiteral("/DIR")));
    QVERIFY(::mkfifo(QFile::encodeName(at + QStringLiteral("/FIFO")).constData(), 0600) == 0);
    QVERIFY(SearchTree::writeBytes(at + QStringLiteral("/OLD.TXT"), "old\r\n"));
    QVERIFY(QFile::link(at + QStringLiteral("/OLD.TXT"), at + QStringLiteral("/LINK.TXT")));
    const QByteArray device = QFile::encodeName(at + QStringLiteral("/DEV"));
    if (out.endsWith(QLatin1String("/DEV")) && ::mknod(device.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
        QSKIP("only root makes a device node");
    out.replace(QLatin1Char('@'), at);
    rtf.replace(QLatin1Char('@'), at);
    QStringList args{"--dir", m_root, "--ext", "TXT", "--out", out};
    if (!rtf.isEmpty())
        args << "--rtf" << rtf;
    QCOMPARE(run(args << "key"), status);
    // What is not a regular file is left as it was.
    struct stat st;
    QVERIFY(::stat(QFile::encodeName(at + QStringLiteral("/FIFO")).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    QVERIFY(QFileInfo(at + QStringLiteral("/DIR")).isDir());
    QVERIFY(QFileInfo(at + QStringLiteral("/LINK.TXT")).isSymLink());
    if (out.endsWith(QLatin1String("/DEV")))
        QVERIFY(::stat(device.constData(), &st) == 0 && S_ISCHR(st.st_mode));
    if (status != 0) {
        QVERIFY(!QFile::exists(at + QStringLiteral("/NEW.TXT")));
        QFile old(at + QStringLiteral("/OLD.TXT"));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old\r\n"));
    }
}

QTEST_GUILESS_MAIN(tst_BatchSearch)
#include "tst_batchsearch.moc"
