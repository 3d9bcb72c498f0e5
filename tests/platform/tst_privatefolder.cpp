#include "platform/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

// Files the program writes for itself go only where no one else can reach.
class tst_PrivateFolder : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void hostileSetups_data();
    void hostileSetups();
};

namespace {

// A user other than the one running the test.
constexpr uid_t kOtherUser = 65534;

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

} // namespace

void tst_PrivateFolder::hostileSetups_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<bool>("needsOtherUser");
    QTest::newRow("missing: created for the user alone") << QStringLiteral("missing") << true << false;
    QTest::newRow("the user's folder open to others is closed") << QStringLiteral("open") << true << false;
    QTest::newRow("a link of the user's own to the user's folder") << QStringLiteral("own link") << true << false;
    QTest::newRow("a file where the folder should be") << QStringLiteral("file") << false << false;
    QTest::newRow("a link planted at the document's name") << QStringLiteral("planted name") << true << true;
    QTest::newRow("the folder is another user's link") << QStringLiteral("foreign link") << false << true;
    QTest::newRow("the folder belongs to another user") << QStringLiteral("foreign folder") << false << true;
}

void tst_PrivateFolder::hostileSetups()
{
    QFETCH(QString, setup);
    QFETCH(bool, usable);
    QFETCH(bool, needsOtherUser);
    if (needsOtherUser && ::geteuid() != 0)
        QSKIP("making a file of another user needs root");
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("cache/quav"));
    // Another user's file that a planted link points at.
    const QString victimFolder = tmp.filePath(QStringLiteral("victim"));
    const QString victim = victimFolder + QStringLiteral("/report.txt");
    QVERIFY(QDir().mkpath(victimFolder));
    {
        QFile f(victim);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("another user's work");
    }
    QVERIFY(QDir().mkpath(tmp.filePath(QStringLiteral("cache"))));
    if (setup == QLatin1String("open")) {
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(::chmod(native(folder).constData(), 0777), 0);
    } else if (setup == QLatin1String("own link")) {
        QVERIFY(QDir().mkpath(tmp.filePath(QStringLiteral("mine"))));
        QVERIFY(QFile::link(tmp.filePath(QStringLiteral("mine")), folder));
    } else if (setup == QLatin1String("file")) {
        QFile f(folder);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (setup == QLatin1String("planted name")) {
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(::chmod(native(folder).constData(), 0777), 0);
        const QString name = folder + QStringLiteral("/~QUAV_SK.RTF");
        QVERIFY(QFile::link(victim, name));
        QCOMPARE(::lchown(native(name).constData(), kOtherUser, kOtherUser), 0);
    } else if (setup == QLatin1String("foreign link")) {
        QVERIFY(QFile::link(victimFolder, folder));
        QCOMPARE(::lchown(native(folder).constData(), kOtherUser, kOtherUser), 0);
        QCOMPARE(::chown(native(victimFolder).constData(), kOtherUser, kOtherUser), 0);
    } else if (setup == QLatin1String("foreign folder")) {
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(::chown(native(folder).constData(), kOtherUser, kOtherUser), 0);
    }

    QString error;
    const bool prepared = PrivateFolder::prepare(folder, &error);
    QCOMPARE(prepared, usable);
    if (!usable) {
        QVERIFY(error.startsWith(folder));
    } else {
        struct stat st{};
        QCOMPARE(::stat(native(folder).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0700));
        QVERIFY2(PrivateFolder::writeFile(folder, QStringLiteral("~QUAV_SK.RTF"), "{\\rtf1}", &error), qPrintable(error));
        const QString written = folder + QStringLiteral("/~QUAV_SK.RTF");
        QVERIFY(!QFileInfo(written).isSymLink());
        QCOMPARE(readAll(written), QByteArray("{\\rtf1}"));
        // Nothing but the document is left in the folder.
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 1);
    }
    QCOMPARE(readAll(victim), QByteArray("another user's work"));
    QCOMPARE(QDir(victimFolder).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 1);
}

QTEST_GUILESS_MAIN(tst_PrivateFolder)
#include "tst_privatefolder.moc"
