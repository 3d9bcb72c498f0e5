#include "../search/SearchTree.h"

#include "platform/Cp932.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// "quav replace" run as a process over a small tree, its files compared byte
// for byte afterwards.
class tst_BatchReplace : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void treeAfterwards_data();
    void treeAfterwards();
    void unwritableFileOthersWritten();
    void fileNotSearchedIsNamed_data();
    void fileNotSearchedIsNamed();
    void moreLinesThanTheWorkAreaHolds();
    void standardOutputFull();
    void fileUnderTwoNamesReplacedOnce();
    void waitForAnotherSaveNamedOnce();

private:
    // false when the program is not built beside the tests.
    bool run(const QStringList &args, int &status, QByteArray &out, QByteArray &err,
             const QString &outFile = QString());
    QByteArray bytesOf(const QString &name) const;

    QTemporaryDir m_config;
    QTemporaryDir m_tmp;
    QString m_root;
};

void tst_BatchReplace::init()
{
    static int n = 0;
    m_root = m_tmp.path() + QStringLiteral("/t") + QString::number(++n);
    QVERIFY(SearchTree::writeBytes(m_root + "/A.TXT", Cp932::encode(QStringLiteral("前\r\nKey 検索 key\r\n"))));
    // Mixed breaks, a lone CR, bytes that are no text and ∵ as 87 9A (81 E6
    // is its other code).
    QVERIFY(SearchTree::writeBytes(m_root + "/B.CSV", "key,1\r\nkey key\x87\x9A\nother\x80\xFD\r"));
    QVERIFY(SearchTree::writeBytes(m_root + "/sub/C.TXT", "KEY"));
    QVERIFY(SearchTree::writeBytes(m_root + "/N.ZZZ", "key\r\n"));
}

bool tst_BatchReplace::run(const QStringList &args, int &status, QByteArray &out, QByteArray &err,
                           const QString &outFile)
{
    const QString quav = QCoreApplication::applicationDirPath() + QStringLiteral("/../src/quav");
    if (!QFile::exists(quav))
        return false;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.insert(QStringLiteral("QUAV_CONFIG_DIR"), m_config.path());
    env.remove(QStringLiteral("DISPLAY"));
    p.setProcessEnvironment(env);
    if (!outFile.isEmpty())
        p.setStandardOutputFile(outFile);
    p.start(quav, QStringList{QStringLiteral("replace"), QStringLiteral("--dir"), m_root} + args);
    if (!p.waitForFinished(60000))
        return false;
    status = p.exitCode();
    out = p.readAllStandardOutput().replace(QFile::encodeName(m_root + QLatin1Char('/')), "");
    err = p.readAllStandardError();
    return true;
}

QByteArray tst_BatchReplace::bytesOf(const QString &name) const
{
    QFile f(m_root + QLatin1Char('/') + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArrayLiteral("<missing>");
}

void tst_BatchReplace::treeAfterwards_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<QByteArray>("c");
    const QByteArray a0 = Cp932::encode(QStringLiteral("前\r\nKey 検索 key\r\n"));
    const QByteArray b0 = "key,1\r\nkey key\x87\x9A\nother\x80\xFD\r", c0 = "KEY";
    const QStringList all{"--ext", "txt,csv", "--subdirs"};
    QTest::newRow("ignoring case, longer text; breaks and bytes kept, no last break added")
        << all + QStringList{"--with", "KEYS", "key"} << 0 << QByteArray("A.TXT\t1\nB.CSV\t2\nsub/C.TXT\t1\n")
        << Cp932::encode(QStringLiteral("前\r\nKEYS 検索 KEYS\r\n")) << QByteArray("KEYS,1\r\nKEYS KEYS\x87\x9A\nother\x80\xFD\r")
        << QByteArray("KEYS");
    QTest::newRow("with case, same length")
        << all + QStringList{"--case", "--with", "k2y", "Key"} << 0 << QByteArray("A.TXT\t1\n")
        << Cp932::encode(QStringLiteral("前\r\nk2y 検索 key\r\n")) << b0 << c0;
    QTest::newRow("empty text deletes")
        << QStringList{"--ext", "csv", "--with", "", "key"} << 0 << QByteArray("B.CSV\t2\n") << a0
        << QByteArray(",1\r\n \x87\x9A\nother\x80\xFD\r") << c0;
    QTest::newRow("kanji replaced by kanji")
        << all + QStringList{"--with", "検査結果", "検索"} << 0 << QByteArray("A.TXT\t1\n")
        << Cp932::encode(QStringLiteral("前\r\nKey 検査結果 key\r\n")) << b0 << c0;
    QTest::newRow("dry run writes nothing")
        << all + QStringList{"--dry-run", "--with", "x", "key"} << 0
        << QByteArray("A.TXT\t1\nB.CSV\t2\nsub/C.TXT\t1\n") << a0 << b0 << c0;
    QTest::newRow("without subfolders") << QStringList{"--ext", "txt", "--no-subdirs", "--with", "K", "KEY"} << 0
                                        << QByteArray("A.TXT\t1\n")
                                        << Cp932::encode(QStringLiteral("前\r\nK 検索 K\r\n")) << b0 << c0;
    QTest::newRow("no hit") << all + QStringList{"--with", "x", "nothing"} << 1 << QByteArray() << a0 << b0 << c0;
    QTest::newRow("missing --with") << all + QStringList{"key"} << 2 << QByteArray() << a0 << b0 << c0;
    QTest::newRow("text without a Shift-JIS form, all read as Shift-JIS")
        << all + QStringList{"--encoding", "cp932", "--with", QStringLiteral("\U0001F600"), "key"} << 2 << QByteArray()
        << a0 << b0 << c0;
    QTest::newRow("text without a Shift-JIS form: each Shift-JIS file refused")
        << all + QStringList{"--with", QStringLiteral("\U0001F600"), "key"} << 2 << QByteArray() << a0 << b0 << c0;
    QTest::newRow("unknown option") << all + QStringList{"--bogus", "--with", "x", "key"} << 2 << QByteArray() << a0
                                    << b0 << c0;
}

void tst_BatchReplace::treeAfterwards()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    int got = -1;
    QByteArray stdOut, stdErr;
    if (!run(args, got, stdOut, stdErr))
        QSKIP("quav is not built beside the tests");
    QCOMPARE(got, status);
    QCOMPARE(stdOut, out);
    QTEST(bytesOf("A.TXT"), "a");
    QTEST(bytesOf("B.CSV"), "b");
    QTEST(bytesOf("sub/C.TXT"), "c");
    QCOMPARE(bytesOf("N.ZZZ"), QByteArray("key\r\n"));
    // An option refused, or the files one by one.
    if (status == 2)
        QVERIFY(stdErr.startsWith("quav replace: ") || stdErr.startsWith("保存: "));
}

void tst_BatchReplace::unwritableFileOthersWritten()
{
    QVERIFY(::chmod(QFile::encodeName(m_root + "/B.CSV").constData(), 0444) == 0);
    int got = -1;
    QByteArray stdOut, stdErr;
    if (!run({"--ext", "txt,csv", "--subdirs", "--with", "x", "key"}, got, stdOut, stdErr))
        QSKIP("quav is not built beside the tests");
    QCOMPARE(got, 2);
    QCOMPARE(stdOut, QByteArray("A.TXT\t1\nsub/C.TXT\t1\n"));
    QCOMPARE(bytesOf("B.CSV"), QByteArray("key,1\r\nkey key\x87\x9A\nother\x80\xFD\r"));
    QCOMPARE(bytesOf("sub/C.TXT"), QByteArray("x"));
    QVERIFY(QString::fromUtf8(stdErr).contains(m_root + "/B.CSV"));
}

void tst_BatchReplace::fileNotSearchedIsNamed_data()
{
    // A file that may hold the word but was not searched: not all was done.
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("unreadable");
    QTest::newRow("permission denied") << "D.TXT" << true;
    QTest::newRow("name holding the separator") << "a:@:b.TXT" << false;
}

void tst_BatchReplace::fileNotSearchedIsNamed()
{
    QFETCH(QString, name);
    QFETCH(bool, unreadable);
    if (unreadable && ::geteuid() == 0)
        QSKIP("root reads every file");
    QVERIFY(SearchTree::writeBytes(m_root + "/" + name, "key\n"));
    if (unreadable)
        QVERIFY(::chmod(QFile::encodeName(m_root + "/" + name).constData(), 0) == 0);
    int got = -1;
    QByteArray stdOut, stdErr;
    if (!run({"--ext", "txt", "--no-subdirs", "--with", "x", "key"}, got, stdOut, stdErr))
        QSKIP("quav is not built beside the tests");
    QCOMPARE(got, 2);
    QCOMPARE(stdOut, QByteArray("A.TXT\t1\n"));
    QVERIFY(QString::fromUtf8(stdErr).contains(m_root + "/" + name));
}

void tst_BatchReplace::moreLinesThanTheWorkAreaHolds()
{
    // Three files of 12,000 lines fill the work area twice over: every one
    // is replaced all the same, and listed in the search's order (files,
    // then subfolders), which the sorted work area does not keep. So is a
    // file longer than the whole work area, with a line longer than the
    // work area holds, which keeps its bytes.
    QByteArray big;
    for (int k = 0; k < 12000; ++k)
        big += "key " + QByteArray::number(k) + "\n";
    for (const char *name : {"/L1.TXT", "/L2.TXT", "/L3.TXT"})
        QVERIFY(SearchTree::writeBytes(m_root + name, big));
    QByteArray huge = QByteArray(40000, 'x') + "\n";
    for (int k = 0; k < 33000; ++k)
        huge += "key\n";
    QVERIFY(SearchTree::writeBytes(m_root + "/XL.TXT", huge));
    QVERIFY(SearchTree::writeBytes(m_root + "/Z.TXT", "key\n"));
    int got = -1;
    QByteArray stdOut, stdErr;
    if (!run({"--ext", "txt", "--subdirs", "--with", "door", "key"}, got, stdOut, stdErr))
        QSKIP("quav is not built beside the tests");
    QCOMPARE(got, 0);
    QByteArray expected = big;
    expected.replace("key", "door");
    for (const char *name : {"L1.TXT", "L2.TXT", "L3.TXT"})
        QCOMPARE(bytesOf(name), expected);
    QCOMPARE(bytesOf("XL.TXT"), huge.replace("key", "door"));
    QCOMPARE(stdOut, QByteArray("A.TXT\t1\nL1.TXT\t12000\nL2.TXT\t12000\nL3.TXT\t12000\nXL.TXT\t33000\nZ.TXT\t1\n"
                                "sub/C.TXT\t1\n"));
    QVERIFY(stdErr.isEmpty());
}

void tst_BatchReplace::standardOutputFull()
{
    // The files are saved, but a list of them that did not reach standard
    // output is not a success.
    struct stat full;
    if (::stat("/dev/full", &full) != 0 || !S_ISCHR(full.st_mode))
        QSKIP("no /dev/full here");
    int got = -1;
    QByteArray stdOut, stdErr;
    if (!run({"--ext", "txt", "--no-subdirs", "--with", "x", "key"}, got, stdOut, stdErr, QStringLiteral("/dev/full")))
        QSKIP("quav is not built beside the tests");
    QCOMPARE(got, 2);
    QCOMPARE(bytesOf("A.TXT"), Cp932::encode(QStringLiteral("前\r\nx 検索 x\r\n")));
    QVERIFY(QString::fromUtf8(stdErr).startsWith(QStringLiteral("quav replace: 標準出力に書き込めません。")));
}

void tst_BatchReplace::fileUnderTwoNamesReplacedOnce()
{
    // A link beside its target: the replacement holds the word again, yet the
    // file is replaced once, and listed once.
    QVERIFY(::symlink("A.TXT", QFile::encodeName(m_root + "/L.TXT").constData()) == 0);
    int got = -1;
    QByteArray stdOut, stdErr;
    if (!run({"--ext", "txt", "--no-subdirs", "--case", "--with", "key2", "key"}, got, stdOut, stdErr))
        QSKIP("quav is not built beside the tests");
    QCOMPARE(got, 0);
    QCOMPARE(stdOut, QByteArray("A.TXT\t1\n"));
    QCOMPARE(bytesOf("A.TXT"), Cp932::encode(QStringLiteral("前\r\nKey 検索 key2\r\n")));
    QVERIFY(QFileInfo(m_root + "/L.TXT").isSymLink());
}

void tst_BatchReplace::waitForAnotherSaveNamedOnce()
{
    // Another save holds B.CSV (a lock of another open file) until the
    // replace, before it waits, has put A.TXT in place.
    const int held = ::open(QFile::encodeName(m_root + "/B.CSV").constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
    const QByteArray a = bytesOf("A.TXT");
    std::thread release([&] {
        for (int i = 0; i < 3000 && bytesOf("A.TXT") == a; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ::close(held);
    });
    int got = -1;
    QByteArray stdOut, stdErr;
    const bool ran = run({"--ext", "txt,csv", "--subdirs", "--with", "x", "key"}, got, stdOut, stdErr);
    release.join();
    if (!ran)
        QSKIP("quav is not built beside the tests");
    QCOMPARE(got, 0);
    QCOMPARE(bytesOf("B.CSV"), QByteArray("x,1\r\nx x\x87\x9A\nother\x80\xFD\r"));
    QCOMPARE(QString::fromUtf8(stdErr), QStringLiteral("保存: ") + m_root + QStringLiteral("/B.CSV\nほかの保存の終了を待っています。\n"));
}

QTEST_GUILESS_MAIN(tst_BatchReplace)
#include "tst_batchreplace.moc"
