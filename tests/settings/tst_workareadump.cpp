#include "platform/Cp932.h"
#include "settings/WorkAreaDump.h"
#include "workarea/WorkArea.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include "WorkAreaTestAccess.h"

#include <QTest>

class tst_WorkAreaDump : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void emptyWorkArea();
    void sections();
    void fileName_data();
    void fileName();
    void sameSecondReplaces();
    void missingFolder();
    void plantedLinkNotFollowed();

private:
    static const QString kRule;
    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

const QString tst_WorkAreaDump::kRule = QString(54, QLatin1Char('-'));

void tst_WorkAreaDump::emptyWorkArea()
{
    const WorkArea w;
    QCOMPARE(WorkAreaDump::dumpLines(w),
             (QStringList{QStringLiteral("KIHON.Search_Hit_File_List"), kRule, QStringLiteral("KIHON.mojisuu_count_list"),
                          kRule, QStringLiteral("KIHON.Search_Hit_File_Change.List"), kRule,
                          QStringLiteral("KIHON.SEARCH_HIT_LIST.List"), kRule,
                          QStringLiteral("KIHON.Search_Hit_ALL_LINE_LIST")}));
}

void tst_WorkAreaDump::sections()
{
    WorkArea w;
    WorkAreaTestAccess::files(w).add(QStringLiteral("/d/A.TXT"), 0);
    WorkAreaTestAccess::files(w).add(QStringLiteral("/d/B.TXT"), 7);
    WorkAreaTestAccess::changes(w).add(QStringLiteral("/d/A.TXT"), 1);
    for (int i = 0; i < 4; ++i)
        WorkAreaTestAccess::counts(w).add(QStringLiteral("85"), 1234 - 3 + i);
    WorkAreaTestAccess::display(w).add(QStringLiteral("見出し"));
    WorkAreaTestAccess::allLines(w).add(QStringLiteral("/d/A.TXT:@:000001.000:@:一行目"));

    QTemporaryDir dir;
    const QDateTime when(QDate(2024, 12, 6), QTime(22, 44, 31));
    const WriteResult r = WorkAreaDump::writeDump(w, dir.path(), when);
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(r.path, dir.filePath(QStringLiteral("ListData_Output_1206224431.txt")));
    const QByteArray bytes = read(r.path);
    QVERIFY(bytes.endsWith("\r\n"));
    const QList<QByteArray> raw = bytes.chopped(1).split('\n');
    QStringList lines;
    for (const QByteArray &l : raw) {
        QVERIFY(l.endsWith('\r'));
        lines.append(Cp932::decode(l.chopped(1)));
    }
    QCOMPARE(lines.mid(0, 5), (QStringList{QStringLiteral("KIHON.Search_Hit_File_List"), QStringLiteral("/d/A.TXT"),
                                           QStringLiteral("0"), QStringLiteral("/d/B.TXT"), QStringLiteral("7")}));
    QCOMPARE(lines[5], kRule);
    QCOMPARE(lines.mid(7, 4), (QStringList{QStringLiteral("0 85 1231"), QStringLiteral("1 85 1232"),
                                           QStringLiteral("2 85 1233"), QStringLiteral("3 85 1234")}));
    QCOMPARE(lines.mid(13, 1), QStringList{QStringLiteral("0 /d/A.TXT 1")});
    QCOMPARE(lines.mid(16, 1), QStringList{QStringLiteral("見出し")});
    QCOMPARE(lines.mid(19), QStringList{QStringLiteral("/d/A.TXT:@:000001.000:@:一行目")});
    QVERIFY(bytes.contains(QByteArray("\x8C\xA9\x8F\x6F\x82\xB5\r\n"))); // 見出し in code page 932
    // The dump only reads.
    QCOMPARE(w.Search_Hit_File_List().count(), 2);
}

void tst_WorkAreaDump::fileName_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("name");
    QTest::newRow("6 December 22:44:31") << QDateTime(QDate(2023, 12, 6), QTime(22, 44, 31))
                                         << "ListData_Output_1206224431.txt";
    QTest::newRow("one-digit fields padded") << QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5))
                                             << "ListData_Output_0102030405.txt";
}

void tst_WorkAreaDump::fileName()
{
    QFETCH(QDateTime, when);
    QFETCH(QString, name);
    QCOMPARE(WorkAreaDump::File_Name(when), name);
}

void tst_WorkAreaDump::sameSecondReplaces()
{
    QTemporaryDir dir;
    const QDateTime when(QDate(2024, 5, 1), QTime(8, 0, 0));
    WorkArea w;
    WorkAreaTestAccess::display(w).add(QStringLiteral("first"));
    WorkAreaTestAccess::display(w).add(QStringLiteral("second"));
    const WriteResult a = WorkAreaDump::writeDump(w, dir.path(), when);
    WorkAreaTestAccess::display(w).clear();
    const WriteResult b = WorkAreaDump::writeDump(w, dir.path(), when);
    QVERIFY(a.ok() && b.ok());
    QCOMPARE(b.path, a.path);
    QCOMPARE(read(b.path).count("\r\n"), 9);
}

void tst_WorkAreaDump::missingFolder()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("gone"));
    const WriteResult r = WorkAreaDump::writeDump(WorkArea(), folder, QDateTime::currentDateTime());
    QVERIFY(!r.ok());
    QVERIFY(r.error.contains(r.path));
    QVERIFY(r.path.startsWith(folder + QLatin1Char('/')));
}

void tst_WorkAreaDump::plantedLinkNotFollowed()
{
    // Another user of the shared folder may plant a link under the coming
    // name; the dump must neither write through it nor be readable by others.
    QTemporaryDir dir;
    const QDateTime when(QDate(2024, 5, 1), QTime(8, 0, 0));
    const QString victim = dir.filePath(QStringLiteral("victim"));
    {
        QFile v(victim);
        QVERIFY(v.open(QIODevice::WriteOnly));
        v.write("keep");
    }
    const QString name = dir.filePath(WorkAreaDump::File_Name(when));
    QVERIFY(QFile::link(victim, name));
    const WriteResult r = WorkAreaDump::writeDump(WorkArea(), dir.path(), when);
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(read(victim), QByteArray("keep"));
    QVERIFY(!QFileInfo(name).isSymLink());
    QCOMPARE(read(name).count("\r\n"), 9);
    QCOMPARE(QFileInfo(name).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporary file left
}

QTEST_MAIN(tst_WorkAreaDump)
#include "tst_workareadump.moc"
