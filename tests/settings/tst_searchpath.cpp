#include "settings/SearchPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using History = std::array<QString, SearchPath::kHistory>;
Q_DECLARE_METATYPE(DirEntry)

class tst_SearchPath : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void changeFolder();
    void changeFolderRefused_data();
    void changeFolderRefused();
    void removedLastFolderAtStartup();
    void recordFolder_data();
    void recordFolder();
    void historyLines();
    void folderListRules_data();
    void folderListRules();
    void folderListsOnDisk();
    void browsingIntoRemovedFolder();
    void driveList();

private:
    QString m_cwd;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_SearchPath::init()
{
    m_cwd = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
}

void tst_SearchPath::cleanup()
{
    QDir::setCurrent(m_cwd);
}

void tst_SearchPath::changeFolder()
{
    const QString target = m_dir->path();
    QCOMPARE(SearchPath::Change_Folder(target), qint16(0));
    QCOMPARE(QDir::currentPath(), QDir(target).canonicalPath());
    // Already current: still 0.
    QCOMPARE(SearchPath::Change_Folder(QDir::currentPath()), qint16(0));
}

void tst_SearchPath::changeFolderRefused_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("empty history line") << QString();
    QTest::newRow("missing folder") << "gone";
    QTest::newRow("a file") << "file.txt";
}

void tst_SearchPath::changeFolderRefused()
{
    QFETCH(QString, relative);
    QFile f(m_dir->filePath(QStringLiteral("file.txt")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QDir::setCurrent(m_dir->path());
    const QString before = QDir::currentPath();
    const QString target = relative.isEmpty() ? QString() : m_dir->filePath(relative);
    QCOMPARE(SearchPath::Change_Folder(target), qint16(9));
    QCOMPARE(QDir::currentPath(), before);
}

void tst_SearchPath::removedLastFolderAtStartup()
{
    const QString last = m_dir->filePath(QStringLiteral("lastFolder"));
    QVERIFY(QDir().mkpath(last));
    QVERIFY(QDir(last).removeRecursively());
    const QString before = QDir::currentPath();
    QCOMPARE(SearchPath::Change_Folder(last), qint16(9));
    QCOMPARE(QDir::currentPath(), before);
    QCOMPARE(SearchPath::currentDirectory(), before);
}

void tst_SearchPath::recordFolder_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("defaultBefore");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("defaultAfter");
    QTest::newRow("new folder at entry 0")
        << QStringList{"/a", "/b"} << 1 << "/c" << QStringList{"/c", "/a", "/b"} << 0;
    QTest::newRow("known folder: no duplicate")
        << QStringList{"/a", "/Data/Doc"} << 0 << "/Data/Doc" << QStringList{"/a", "/Data/Doc"} << 1;
    QTest::newRow("folder in other letter case is another folder")
        << QStringList{"/a", "/Data/Doc"} << 0 << "/DATA/doc" << QStringList{"/DATA/doc", "/a", "/Data/Doc"} << 0;
    QTest::newRow("last matching entry counts")
        << QStringList{"/x", "/a", "/x"} << 0 << "/x" << QStringList{"/x", "/a", "/x"} << 2;
    QStringList ten;
    for (int i = 0; i < 10; ++i)
        ten << QStringLiteral("/f%1").arg(i);
    QStringList shifted = QStringList{"/new"} + ten.mid(0, 9);
    QTest::newRow("eleventh drops the oldest") << ten << 5 << "/new" << shifted << 0;
}

void tst_SearchPath::recordFolder()
{
    QFETCH(QStringList, before);
    QFETCH(int, defaultBefore);
    QFETCH(QString, folder);
    QFETCH(QStringList, after);
    QFETCH(int, defaultAfter);
    History h;
    for (int i = 0; i < before.size(); ++i)
        h[size_t(i)] = before.at(i);
    qint32 d = defaultBefore;
    SearchPath::recordFolder(h, d, folder);
    QStringList got;
    for (const QString &s : h)
        if (!s.isEmpty())
            got << s;
    QCOMPARE(got, after);
    QCOMPARE(d, defaultAfter);
}

void tst_SearchPath::historyLines()
{
    History h;
    h[0] = QStringLiteral("/a");
    h[2] = QStringLiteral("/c");
    const QStringList lines = SearchPath::historyLines(h, 2);
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines[0], QStringLiteral("  /a"));
    QCOMPARE(lines[1], QStringLiteral("  "));
    QCOMPARE(lines[2], QStringLiteral("* /c"));
}

void tst_SearchPath::folderListRules_data()
{
    QTest::addColumn<DirEntry>("entry");
    QTest::addColumn<bool>("inFolders");
    QTest::addColumn<bool>("inFiles");
    auto dir = [](const char *name) {
        DirEntry e;
        e.name = QString::fromUtf8(name);
        e.directory = true;
        return e;
    };
    DirEntry plain = dir("Docs");
    DirEntry hidden = dir(".git");
    hidden.hidden = true;
    DirEntry readOnly = dir("Locked");
    readOnly.readOnly = true;
    DirEntry link = dir("Link");
    link.system = true;
    DirEntry file;
    file.name = QStringLiteral("A.TXT");
    file.regularFile = true;
    DirEntry recycledFile = file;
    recycledFile.name = QStringLiteral("RECYCLED");
    DirEntry recycledDir = dir("RECYCLED");
    recycledDir.hidden = true; // as a recycle folder copied from a Windows disk is
    QTest::newRow("plain folder") << plain << true << false;
    QTest::newRow("hidden folder") << hidden << false << true;
    QTest::newRow("read-only folder") << readOnly << false << true;
    QTest::newRow("link (system)") << link << false << true;
    QTest::newRow("file") << file << false << true;
    QTest::newRow("RECYCLED file skipped") << recycledFile << false << false;
    QTest::newRow("RECYCLED with attributes skipped") << recycledDir << false << false;
}

void tst_SearchPath::folderListRules()
{
    QFETCH(DirEntry, entry);
    QFETCH(bool, inFolders);
    QFETCH(bool, inFiles);
    const auto lists = SearchPath::Fill_Folder_Lists(QList<DirEntry>{entry}, false);
    QCOMPARE(lists.folders.first(), QStringLiteral(".."));
    QCOMPARE(lists.folders.contains(entry.name), inFolders);
    QCOMPARE(lists.files.contains(entry.name), inFiles);
}

void tst_SearchPath::folderListsOnDisk()
{
    QDir d(m_dir->path());
    for (const char *sub : {"b_sub", "A_sub", ".hidden", "locked"})
        QVERIFY(d.mkdir(QString::fromLatin1(sub)));
    QVERIFY(::chmod(QFile::encodeName(d.filePath(QStringLiteral("locked"))).constData(), 0555) == 0);
    QFile f(d.filePath(QStringLiteral("z.txt")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    SearchPath::FolderLists lists;
    QVERIFY(SearchPath::Fill_Folder_Lists(d.path(), lists, nullptr));
    QCOMPARE(lists.folders, (QStringList{"..", "A_sub", "b_sub"}));
    QCOMPARE(lists.files, (QStringList{".hidden", "locked", "z.txt"}));
    ::chmod(QFile::encodeName(d.filePath(QStringLiteral("locked"))).constData(), 0755);

    SearchPath::FolderLists root;
    QVERIFY(SearchPath::Fill_Folder_Lists(QStringLiteral("/"), root, nullptr));
    QVERIFY(!root.folders.contains(QStringLiteral("..")));
}

void tst_SearchPath::browsingIntoRemovedFolder()
{
    QDir::setCurrent(m_dir->path());
    const QString before = QDir::currentPath();
    QString why;
    QVERIFY(!SearchPath::enterForBrowsing(m_dir->filePath(QStringLiteral("vanished")), &why));
    QCOMPARE(QDir::currentPath(), before);
    QVERIFY(why.contains(QStringLiteral("見つかりません")));
}

void tst_SearchPath::driveList()
{
    const QStringList mounts{"/", "/proc", "/media/usb", "/mnt/nas", "/run/media/u/CARD", "/home", "/media/usb",
                             "/mnt/", "/media/a"};
    const QStringList drives = SearchPath::driveList(mounts);
    QCOMPARE(drives, (QStringList{"/", "/media/a", "/media/usb", "/mnt/nas", "/run/media/u/CARD"}));
    QCOMPARE(SearchPath::driveOf(drives, QStringLiteral("/media/usb/doc")), QStringLiteral("/media/usb"));
    QCOMPARE(SearchPath::driveOf(drives, QStringLiteral("/media/usbstick")), QStringLiteral("/"));
    QCOMPARE(SearchPath::driveOf(drives, QStringLiteral("/home/u")), QStringLiteral("/"));
}


QTEST_GUILESS_MAIN(tst_SearchPath)
#include "tst_searchpath.moc"
