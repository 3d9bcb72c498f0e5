#include "template/BatchDuplicate.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <sys/stat.h>

// "quav duplicate" on a small tree: the files it writes, byte for byte, what
// it prints, and its exit status.
class tst_BatchDuplicate : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void run_data();
    void run();
    void standardOutputFull();
};

namespace {

// Lines of "name=bytes" for the tree; "-" alone for none.
using Files = QMap<QString, QByteArray>;

QByteArray readAll(std::FILE *f)
{
    std::fflush(f);
    std::rewind(f);
    QByteArray out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        out.append(buffer, qsizetype(n));
    return out;
}

// A name of the tree as bytes on disk: "報告" stands for its Shift-JIS bytes,
// a name that is not UTF-8.
QByteArray onDisk(const QString &name)
{
    return name.toUtf8().replace(QStringLiteral("報告").toUtf8(), "\x95\xf1\x8d\x90");
}

bool writeFile(const QByteArray &path, const QByteArray &bytes)
{
    ::mkdir(path.left(path.lastIndexOf('/')).constData(), 0777); // one level: it may be there
    std::FILE *f = std::fopen(path.constData(), "wb");
    const bool written = f && std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f) == size_t(bytes.size());
    return f && std::fclose(f) == 0 && written;
}

const QByteArray kForm = "ID=XX\r\nkeep xx\r\nXX-XX\r\n";
// A Shift-JIS line of its own bytes: kept as it was where nothing is replaced.
const QByteArray kSjis = "\x83\x65\x83\x58\x83\x67 XX\n";

} // namespace

void tst_BatchDuplicate::run_data()
{
    QTest::addColumn<QStringList>("args");     // "@" stands for the tree's folder
    QTest::addColumn<Files>("before");         // files of the tree before the run; "->name": a link
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("printed");  // standard output, names in the tree
    QTest::addColumn<Files>("after");          // files that must then hold these bytes
    QTest::addColumn<QStringList>("absent");   // files that must not exist

    const Files base{{"FORM.TXT", kForm}, {"card", "B2\nA1\n"}};
    const QStringList common{"--params", "@/card", "--search", "XX"};

    QTest::newRow("pattern 1 by default, every parameter")
        << common + QStringList{"@/FORM.TXT"} << base << 0 << QStringList{"FORM_A1.TXT", "FORM_B2.TXT"}
        << Files{{"FORM_A1.TXT", "ID=A1\r\nkeep xx\r\nA1-A1\r\n"}, {"FORM_B2.TXT", "ID=B2\r\nkeep xx\r\nB2-B2\r\n"},
                 {"FORM.TXT", kForm}}
        << QStringList();
    QTest::newRow("pattern 2, Shift-JIS text, the template's LF kept")
        << common + QStringList{"--pattern", "2", "@/s.txt"} << Files{{"s.txt", kSjis}, {"card", "Q\n"}} << 0
        << QStringList{"s.txt_Q"} << Files{{"s.txt_Q", "\x83\x65\x83\x58\x83\x67 Q\n"}} << QStringList();
    // ∵ as 87 9A, ⅰ as EE EF, a UTF-8 line, mixed breaks, no final break.
    const QByteArray odd = "\x87\x9A XX \xEE\xEF\r\n\xED\x95\x9C\nlast XX";
    QTest::newRow("the template's bytes and breaks kept, only the text replaced")
        << common + QStringList{"@/odd.txt"} << Files{{"odd.txt", odd}, {"card", "Q\n"}} << 0
        << QStringList{"odd_Q.txt"} << Files{{"odd_Q.txt", "\x87\x9A Q \xEE\xEF\r\n\xED\x95\x9C\nlast Q"}}
        << QStringList();
    QTest::newRow("UTF-8 template, LF: duplicates in UTF-8 with LF")
        << common + QStringList{"@/u.txt"} << Files{{"u.txt", "\xF0\xA0\xAE\xB7 XX\n\xE5\x90\x8D\n"}, {"card", "Q\n"}}
        << 0 << QStringList{"u_Q.txt"} << Files{{"u_Q.txt", "\xF0\xA0\xAE\xB7 Q\n\xE5\x90\x8D\n"}} << QStringList();
    // 名前 in UTF-8 is no code page 932 text: read as such, it is not found.
    const QByteArray named = "\xE5\x90\x8D\xE5\x89\x8D=1\n";
    const QStringList byName{"--params", "@/card", "--search", QStringLiteral("名前")};
    QTest::newRow("--encoding auto finds a UTF-8 word")
        << byName + QStringList{"--encoding", "auto", "@/n.txt"} << Files{{"n.txt", named}, {"card", "Q\n"}} << 0
        << QStringList{"n_Q.txt"} << Files{{"n_Q.txt", "Q=1\n"}} << QStringList();
    QTest::newRow("--encoding cp932 reads a UTF-8 template as Shift-JIS")
        << byName + QStringList{"--encoding", "cp932", "@/n.txt"} << Files{{"n.txt", named}, {"card", "Q\n"}} << 0
        << QStringList{"n_Q.txt"} << Files{{"n_Q.txt", named}} << QStringList();
    QTest::newRow("Shift-JIS names of the folder, the template and the card are kept")
        << QStringList{"--params", "@/報告/c報告", "--search", "XX", "@/報告/F報告.TXT"}
        << Files{{"報告/F報告.TXT", kForm}, {"報告/c報告", "A1\n"}} << 0 << QStringList{"報告/F報告_A1.TXT"}
        << Files{{"報告/F報告_A1.TXT", "ID=A1\r\nkeep xx\r\nA1-A1\r\n"}} << QStringList();
    QTest::newRow("pattern 3 names the file after the parameter")
        << common + QStringList{"--pattern=3", "@/FORM.TXT"} << base << 0 << QStringList{"A1", "B2"}
        << Files{{"A1", "ID=A1\r\nkeep xx\r\nA1-A1\r\n"}} << QStringList();
    QTest::newRow("existing file refused, the others written")
        << common + QStringList{"@/FORM.TXT"} << Files{{"FORM.TXT", kForm}, {"card", "B2\nA1\n"}, {"FORM_A1.TXT", "old\n"}}
        << 2 << QStringList{"FORM_B2.TXT"} << Files{{"FORM_A1.TXT", "old\n"}, {"FORM_B2.TXT", "ID=B2\r\nkeep xx\r\nB2-B2\r\n"}}
        << QStringList();
    QTest::newRow("--force replaces an existing file")
        << common + QStringList{"--force", "@/FORM.TXT"}
        << Files{{"FORM.TXT", kForm}, {"card", "A1\n"}, {"FORM_A1.TXT", "old\n"}} << 0 << QStringList{"FORM_A1.TXT"}
        << Files{{"FORM_A1.TXT", "ID=A1\r\nkeep xx\r\nA1-A1\r\n"}} << QStringList();
    QTest::newRow("a dangling link is an existing name")
        << common + QStringList{"@/FORM.TXT"} << Files{{"FORM.TXT", kForm}, {"card", "A1\n"}, {"FORM_A1.TXT", "->gone"}}
        << 2 << QStringList() << Files() << QStringList{"gone"};
    QTest::newRow("a dangling link is an existing name, --dry-run")
        << common + QStringList{"--dry-run", "@/FORM.TXT"}
        << Files{{"FORM.TXT", kForm}, {"card", "A1\n"}, {"FORM_A1.TXT", "->gone"}} << 2 << QStringList() << Files()
        << QStringList{"gone"};
    QTest::newRow("--dry-run writes nothing")
        << common + QStringList{"--dry-run", "@/FORM.TXT"} << base << 0 << QStringList{"FORM_A1.TXT", "FORM_B2.TXT"}
        << Files() << QStringList{"FORM_A1.TXT", "FORM_B2.TXT"};
    QTest::newRow("letter case significant")
        << QStringList{"--params", "@/card", "--search", "xx", "@/FORM.TXT"} << Files{{"FORM.TXT", kForm}, {"card", "A1\n"}}
        << 0 << QStringList{"FORM_A1.TXT"} << Files{{"FORM_A1.TXT", "ID=XX\r\nkeep A1\r\nXX-XX\r\n"}} << QStringList();
    QTest::newRow("parameter holding a slash refuses the run")
        << common + QStringList{"@/FORM.TXT"} << Files{{"FORM.TXT", kForm}, {"card", "A1\n../x\n"}} << 2 << QStringList()
        << Files() << QStringList{"FORM_A1.TXT"};
    QTest::newRow("duplicate parameters refused")
        << common + QStringList{"@/FORM.TXT"} << Files{{"FORM.TXT", kForm}, {"card", "A1\nA1\n"}} << 2 << QStringList()
        << Files() << QStringList{"FORM_A1.TXT"};
    QTest::newRow("unreadable card") << QStringList{"--params", "@/none", "--search", "XX", "@/FORM.TXT"} << base << 2
                                     << QStringList() << Files() << QStringList{"FORM_A1.TXT"};
    QTest::newRow("missing template, the other still made")
        << common + QStringList{"@/none.TXT", "@/FORM.TXT"} << base << 2 << QStringList{"FORM_A1.TXT", "FORM_B2.TXT"}
        << Files{{"FORM_A1.TXT", "ID=A1\r\nkeep xx\r\nA1-A1\r\n"}} << QStringList();
    QTest::newRow("pattern 3 with two templates")
        << common + QStringList{"--pattern", "3", "@/FORM.TXT", "@/G.TXT"}
        << Files{{"FORM.TXT", kForm}, {"G.TXT", "XX\n"}, {"card", "A1\n"}} << 2 << QStringList() << Files()
        << QStringList{"A1"};
    QTest::newRow("bad pattern") << common + QStringList{"--pattern", "4", "@/FORM.TXT"} << base << 2 << QStringList()
                                 << Files() << QStringList{"FORM_A1.TXT"};
    QTest::newRow("unknown option") << common + QStringList{"--colour", "@/FORM.TXT"} << base << 2 << QStringList()
                                    << Files() << QStringList{"FORM_A1.TXT"};
    QTest::newRow("no search text") << QStringList{"--params", "@/card", "@/FORM.TXT"} << base << 2 << QStringList()
                                    << Files() << QStringList{"FORM_A1.TXT"};
}

void tst_BatchDuplicate::run()
{
    QFETCH(QStringList, args);
    QFETCH(Files, before);
    QFETCH(int, status);
    QFETCH(QStringList, printed);
    QFETCH(Files, after);
    QFETCH(QStringList, absent);

    QTemporaryDir dir;
    const QString root = QDir(dir.path()).canonicalPath();
    const QByteArray rootBytes = QFile::encodeName(root) + '/';
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (it.value().startsWith("->")) {
            QVERIFY(QFile::link(QString::fromUtf8(it.value().mid(2)), root + QLatin1Char('/') + it.key()));
            continue;
        }
        QVERIFY(writeFile(rootBytes + onDisk(it.key()), it.value()));
    }
    QList<QByteArray> argv;
    for (const QString &a : std::as_const(args))
        argv.append(onDisk(a).replace("@/", rootBytes));

    std::FILE *out = std::tmpfile();
    std::FILE *err = std::tmpfile();
    QCOMPARE(BatchDuplicate::run(argv, out, err), status);
    QByteArray expectedOut;
    for (const QString &name : std::as_const(printed))
        expectedOut += rootBytes + onDisk(name) + '\n';
    QCOMPARE(readAll(out), expectedOut);
    const QByteArray messages = readAll(err);
    QCOMPARE(messages.isEmpty(), status == 0);
    std::fclose(out);
    std::fclose(err);

    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        std::FILE *f = std::fopen((rootBytes + onDisk(it.key())).constData(), "rb");
        QVERIFY2(f, qPrintable(it.key()));
        QCOMPARE(readAll(f), it.value());
        std::fclose(f);
    }
    for (const QString &name : std::as_const(absent)) {
        struct stat st;
        QVERIFY2(::lstat((rootBytes + onDisk(name)).constData(), &st) != 0, qPrintable(name));
    }
}

void tst_BatchDuplicate::standardOutputFull()
{
    // The new files are written, but their list did not reach standard
    // output: not a success.
    std::FILE *out = std::fopen("/dev/full", "w");
    if (!out)
        QSKIP("no /dev/full here");
    QTemporaryDir dir;
    const QString root = QDir(dir.path()).canonicalPath();
    for (const auto &[name, bytes] : {std::pair<QString, QByteArray>{"FORM.TXT", kForm}, {"card", "A1\n"}}) {
        QFile f(root + QLatin1Char('/') + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    std::FILE *err = std::tmpfile();
    QCOMPARE(BatchDuplicate::run({"--params", root + "/card", "--search", "XX", root + "/FORM.TXT"}, out, err), 2);
    std::fclose(out);
    QVERIFY(QString::fromUtf8(readAll(err)).contains(QStringLiteral("標準出力に書き込めません。")));
    std::fclose(err);
    QVERIFY(QFile::exists(root + "/FORM_A1.TXT"));
}

QTEST_GUILESS_MAIN(tst_BatchDuplicate)
#include "tst_batchduplicate.moc"
