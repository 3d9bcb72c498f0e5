#include "edit/FileSave.h"
#include "edit/SaveQueue.h"
#include "edit/UndoRestore.h"
#include "platform/SaveBatch.h"
#include "platform/UndoStore.h"
#include "platform/Cp932.h"
#include "platform/FileReplacer.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <dirent.h>
#include <fcntl.h>
#include <csignal>
#include <sys/mount.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

QByteArray bytesOf(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0)
        return QByteArrayLiteral("<missing>");
    QByteArray all;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        all.append(buffer, n);
    ::close(fd);
    return all;
}

void put(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    ::close(fd);
}

// A file as the work area holds it after reading it, and the request to save
// it with some lines changed.
struct ReadFile
{
    QStringList numbers, texts;
    std::optional<DiskStamp> stamp;

    explicit ReadFile(const QByteArray &path)
    {
        QVERIFY(TextFile::readLines(QFile::decodeName(path), texts));
        for (qsizetype i = 1; i <= texts.size(); ++i)
            numbers.append(QStringLiteral("%1.000").arg(i, 6, 10, QLatin1Char('0')));
        stamp = DiskStamp::of(path);
    }
    SaveRequest request(const QByteArray &path) const
    {
        SaveRequest r;
        r.path = path;
        r.readStamp = stamp;
        for (qsizetype i = 0; i < numbers.size(); ++i)
            r.lines.append({numbers.at(i), texts.at(i)});
        return r;
    }
};

// Nothing of a save is left behind in the folder.
bool noTemporaryFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral(".quav-*")}, QDir::Hidden | QDir::Files).isEmpty();
}

// The newest batch of the journal and the previous content of its file n.
QByteArray keptInJournal(int index)
{
    const QList<UndoStore::Batch> all = UndoStore::list();
    QByteArray bytes;
    if (all.isEmpty() || !UndoStore::Hold(all.last().id).previous(index, bytes))
        return QByteArrayLiteral("<none>");
    return bytes;
}

// A child that inherits no open file: a lock taken through an inherited
// descriptor would be the parent's too.
pid_t forkAlone()
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (int fd = 3; fd < 1024; ++fd)
            ::close(fd);
        FileReplacer::testStep = nullptr;
    }
    return pid;
}

} // namespace

class tst_FileSave : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void unchangedSave_data();
    void unchangedSave();
    void editKeepsModeAndOwner_data();
    void editKeepsModeAndOwner();
    void linkFollowed_data();
    void linkFollowed();
    void hardLinksAllSeeTheContent();
    void anotherUsersFileKeepsItsOwner();
    void refused_data();
    void refused();
    void diskFull_data();
    void diskFull();
    void changedOnDisk_data();
    void changedOnDisk();
    void newFile();
    void nameThatIsNotUtf8();
    void disturbedSave_data();
    void disturbedSave();
    void folderPathNearTheLimit();
    void leftoversOfACrash();
    void crashThenRollback_data();
    void crashThenRollback();
    void pruning_data();
    void pruning();
};

void tst_FileSave::unchangedSave_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray kanji("\xED\x40\xFA\x5C\x87\x40\r\n\x82\xA0\r\n");
    QTest::newRow("NEC-selected and IBM codes") << kanji << kanji;
    const QByteArray invalid("\x80\xA0\xFD\xFE\xFF\r\n\x81\x20x\r\n\x82\r\n");
    QTest::newRow("invalid bytes") << invalid << invalid;
    QTest::newRow("LF only") << QByteArray("a\n\x82\xA0\n\n") << QByteArray("a\n\x82\xA0\n\n");
    QTest::newRow("CR only") << QByteArray("a\rb\r") << QByteArray("a\rb\r");
    QTest::newRow("mixed breaks") << QByteArray("a\r\nb\nc\rd\r\n") << QByteArray("a\r\nb\nc\rd\r\n");
    QTest::newRow("no final break stays without") << QByteArray("a\nb") << QByteArray("a\nb");
    QTest::newRow("one line without a break") << QByteArray("\x82\xA0") << QByteArray("\x82\xA0");
}

void tst_FileSave::unchangedSave()
{
    QFETCH(QByteArray, original);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("a.txt")));
    put(path, original);
    const ReadFile read(path);
    const SaveResult first = FileSave::save(read.request(path));
    QVERIFY2(first.written(), qPrintable(first.message));
    QCOMPARE(bytesOf(path), expected);
    // The stamp returned is the file's new read stamp: a second save is no
    // "changed by someone else".
    SaveRequest again = read.request(path);
    again.readStamp = first.stamp;
    QVERIFY(FileSave::save(again).written());
    QVERIFY(noTemporaryFiles(dir.path()));
}

void tst_FileSave::editKeepsModeAndOwner_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("private") << 0600;
    QTest::newRow("group-readable") << 0640;
    QTest::newRow("executable") << 0755;
}

void tst_FileSave::editKeepsModeAndOwner()
{
    QFETCH(int, mode);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("a.txt")));
    put(path, "one\n\xED\x40\nthree\n");
    QCOMPARE(::chmod(path.constData(), mode_t(mode)), 0);
    const bool root = ::geteuid() == 0;
    if (root)
        QCOMPARE(::chown(path.constData(), 4321, 4322), 0);
    // Where the file system keeps user attributes, they are kept too.
    const bool attributes = ::setxattr(path.constData(), "user.quav", "kept", 4, 0) == 0;
    ReadFile read(path);
    read.texts[0] = QStringLiteral("ONE");
    read.numbers.insert(2, QStringLiteral("000002.500"));
    read.texts.insert(2, QStringLiteral("\u3042"));
    const SaveResult r = FileSave::save(read.request(path));
    QVERIFY2(r.written(), qPrintable(r.message));
    QCOMPARE(bytesOf(path), QByteArray("ONE\n\xED\x40\n\x82\xA0\nthree\n"));
    struct stat st;
    QCOMPARE(::stat(path.constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 07777), mode);
    if (root) {
        QCOMPARE(int(st.st_uid), 4321);
        QCOMPARE(int(st.st_gid), 4322);
    }
    char value[8] = {};
    if (attributes)
        QCOMPARE(QByteArray(value, int(::getxattr(path.constData(), "user.quav", value, sizeof value))), "kept");
}

void tst_FileSave::linkFollowed_data()
{
    QTest::addColumn<QString>("linkTo"); // from the folder "links"
    QTest::addColumn<bool>("chain");
    QTest::newRow("relative link from another folder") << "../data/a.txt" << false;
    QTest::newRow("absolute link") << "" << false;
    QTest::newRow("link to a link") << "../data/a.txt" << true;
}

void tst_FileSave::linkFollowed()
{
    QFETCH(QString, linkTo);
    QFETCH(bool, chain);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("data")) && QDir(dir.path()).mkpath(QStringLiteral("links")));
    const QByteArray target = QFile::encodeName(dir.filePath(QStringLiteral("data/a.txt")));
    const QByteArray dest = linkTo.isEmpty() ? target : QFile::encodeName(linkTo);
    QByteArray link = QFile::encodeName(dir.filePath(QStringLiteral("links/l.txt")));
    put(target, "old\n");
    QCOMPARE(::symlink(dest.constData(), link.constData()), 0);
    if (chain) {
        const QByteArray second = QFile::encodeName(dir.filePath(QStringLiteral("links/m.txt")));
        QCOMPARE(::symlink("l.txt", second.constData()), 0);
        link = second;
    }
    ReadFile read(link);
    read.texts[0] = QStringLiteral("new");
    const SaveResult r = FileSave::save(read.request(link));
    QVERIFY2(r.written(), qPrintable(r.message));
    QCOMPARE(bytesOf(target), QByteArray("new\n"));
    struct stat st;
    QCOMPARE(::lstat(link.constData(), &st), 0);
    QVERIFY(S_ISLNK(st.st_mode));
    QVERIFY(noTemporaryFiles(dir.filePath(QStringLiteral("data"))));
    QVERIFY(noTemporaryFiles(dir.filePath(QStringLiteral("links"))));
}

void tst_FileSave::hardLinksAllSeeTheContent()
{
    QTemporaryDir dir;
    const QByteArray a = QFile::encodeName(dir.filePath(QStringLiteral("a.txt")));
    const QByteArray b = QFile::encodeName(dir.filePath(QStringLiteral("b.txt")));
    put(a, "a much longer old line\r\n");
    QCOMPARE(::link(a.constData(), b.constData()), 0);
    ReadFile read(a);
    read.texts[0] = QStringLiteral("short");
    const SaveResult r = FileSave::save(read.request(a));
    QVERIFY2(r.written(), qPrintable(r.message));
    QCOMPARE(bytesOf(a), QByteArray("short\r\n"));
    QCOMPARE(bytesOf(b), QByteArray("short\r\n"));
    struct stat sa, sb;
    QVERIFY(::stat(a.constData(), &sa) == 0 && ::stat(b.constData(), &sb) == 0);
    QCOMPARE(sa.st_ino, sb.st_ino);
    QCOMPARE(int(sa.st_nlink), 2);
    QVERIFY(r.stamp.sameAs(*DiskStamp::of(a)));
    QVERIFY(noTemporaryFiles(dir.path()));
}

void tst_FileSave::anotherUsersFileKeepsItsOwner()
{
    // A file this user may write but not own: a renamed copy would become
    // this user's, so the file is written in place.
    if (::geteuid() != 0)
        QSKIP("needs root to act as another user");
    QTemporaryDir dir;
    QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("a.txt")));
    put(path, "old\n");
    QVERIFY(::chown(path.constData(), 4322, 4322) == 0 && ::chmod(path.constData(), 0666) == 0);
    ReadFile read(path);
    read.texts[0] = QStringLiteral("new");
    // That user's own journal.
    const QByteArray state = QFile::encodeName(dir.filePath(QStringLiteral("state")));
    QVERIFY(::mkdir(state.constData(), 0700) == 0 && ::chown(state.constData(), 4321, 4321) == 0);
    const QByteArray home = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", state);
    QCOMPARE(::seteuid(4321), 0);
    const SaveResult r = FileSave::save(read.request(path));
    QCOMPARE(::seteuid(0), 0);
    qputenv("XDG_STATE_HOME", home);
    QVERIFY2(r.written(), qPrintable(r.message));
    QCOMPARE(bytesOf(path), QByteArray("new\n"));
    struct stat st;
    QVERIFY(::stat(path.constData(), &st) == 0);
    QCOMPARE(int(st.st_uid), 4322);
    QCOMPARE(int(st.st_gid), 4322);
    QVERIFY(noTemporaryFiles(dir.path()));
}

enum class Setup { ReadOnlyFile, ReadOnlyFolder, Fifo, FolderGone, NameTooLong, ForeignLink, NotShiftJis };

void tst_FileSave::refused_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only file") << int(Setup::ReadOnlyFile) << "読み取り専用のファイル";
    QTest::newRow("read-only folder") << int(Setup::ReadOnlyFolder) << "フォルダーが読み取り専用";
    QTest::newRow("FIFO") << int(Setup::Fifo) << "通常のファイルではありません";
    QTest::newRow("folder gone") << int(Setup::FolderGone) << "フォルダーが見つかりません";
    QTest::newRow("name too long") << int(Setup::NameTooLong) << "長すぎます";
    QTest::newRow("another user's link in a shared folder") << int(Setup::ForeignLink) << "他のユーザーのシンボリックリンク";
    QTest::newRow("text without a Shift-JIS form") << int(Setup::NotShiftJis) << "（😀）";
}

void tst_FileSave::refused()
{
    QFETCH(int, setup);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("f"));
    QVERIFY(QDir().mkpath(folder));
    const QByteArray file = QFile::encodeName(folder + QStringLiteral("/a.txt"));
    put(file, "old\r\n");
    ReadFile read(file);
    read.texts[0] = QStringLiteral("new");
    QByteArray saved = file;
    switch (Setup(setup)) {
    case Setup::ReadOnlyFile:
        QCOMPARE(::chmod(file.constData(), 0444), 0);
        break;
    case Setup::ReadOnlyFolder:
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
        break;
    case Setup::Fifo:
        saved = QFile::encodeName(folder + QStringLiteral("/pipe.txt"));
        QCOMPARE(::mkfifo(saved.constData(), 0644), 0);
        break;
    case Setup::FolderGone:
        QVERIFY(QDir(folder).removeRecursively());
        break;
    case Setup::NameTooLong:
        saved = QFile::encodeName(folder + QLatin1Char('/') + QString(300, QLatin1Char('n')));
        break;
    case Setup::ForeignLink: {
        // Someone else's link in a sticky world-writable folder, pointing at
        // a file this user may write.
        if (::geteuid() != 0)
            QSKIP("needs root to give the link another owner");
        const QByteArray shared = QFile::encodeName(dir.filePath(QStringLiteral("shared")));
        QVERIFY(::mkdir(shared.constData(), 0777) == 0 && ::chmod(shared.constData(), 01777) == 0);
        saved = shared + "/a.txt";
        QCOMPARE(::symlink(file.constData(), saved.constData()), 0);
        QCOMPARE(::lchown(saved.constData(), 4321, 4321), 0);
        break;
    }
    case Setup::NotShiftJis:
        read.texts[0] = QStringLiteral("new😀");
        break;
    }
    const SaveResult r = FileSave::save(read.request(saved));
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    QCOMPARE(int(r.outcome), int(SaveResult::Outcome::Failed));
    QVERIFY2(r.message.startsWith(QFile::decodeName(saved) + QStringLiteral("\r\n")), qPrintable(r.message));
    QVERIFY2(r.message.contains(reason), qPrintable(r.message));
    QCOMPARE(bytesOf(file), Setup(setup) == Setup::FolderGone ? QByteArray("<missing>") : QByteArray("old\r\n"));
    struct stat st;
    QVERIFY(Setup(setup) != Setup::Fifo || (::lstat(saved.constData(), &st) == 0 && S_ISFIFO(st.st_mode)));
    QVERIFY(noTemporaryFiles(folder));
}

void tst_FileSave::diskFull_data()
{
    QTest::addColumn<bool>("hardLinked");
    QTest::newRow("replaced by rename") << false;
    QTest::newRow("written in place") << true;
}

void tst_FileSave::diskFull()
{
    QFETCH(bool, hardLinked);
    if (::geteuid() != 0)
        QSKIP("needs root to mount a small file system");
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("cannot mount a tmpfs here");
    struct Unmount
    {
        QByteArray at;
        ~Unmount() { ::umount(at.constData()); }
    } unmount{mountPoint};

    const QByteArray path = mountPoint + "/a.txt";
    const QByteArray old = QByteArray(24 * 1024 - 2, 'o') + "\r\n";
    put(path, old);
    if (hardLinked)
        QCOMPARE(::link(path.constData(), QByteArray(mountPoint + "/b.txt").constData()), 0);
    ReadFile read(path);
    // Larger than the whole file system, whichever way it is written.
    read.texts[0] = QString(72 * 1024, QLatin1Char('n'));
    const SaveResult r = FileSave::save(read.request(path));
    QCOMPARE(int(r.outcome), int(SaveResult::Outcome::Failed));
    QVERIFY2(r.message.contains(QStringLiteral("空き容量")), qPrintable(r.message));
    QVERIFY(bytesOf(path) == old);
    QVERIFY(noTemporaryFiles(dir.path()));
}

void tst_FileSave::changedOnDisk_data()
{
    QTest::addColumn<QByteArray>("meanwhile"); // what someone else writes; empty: removes the file
    QTest::addColumn<bool>("sameTimeAgain");
    QTest::newRow("longer") << QByteArray("other text\n") << false;
    QTest::newRow("same size, newer time") << QByteArray("OLD\n") << false;
    QTest::newRow("same size, same time to the second") << QByteArray("OLD\n") << true;
    QTest::newRow("removed") << QByteArray() << false;
}

void tst_FileSave::changedOnDisk()
{
    QFETCH(QByteArray, meanwhile);
    QFETCH(bool, sameTimeAgain);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("a.txt")));
    put(path, "old\n");
    struct timespec times[2] = {{1700000000, 100000000}, {1700000000, 100000000}};
    QCOMPARE(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);
    ReadFile read(path);
    read.texts[0] = QStringLiteral("new");
    if (meanwhile.isEmpty()) {
        QCOMPARE(::unlink(path.constData()), 0);
    } else {
        put(path, meanwhile);
        times[1].tv_nsec = sameTimeAgain ? 900000000 : 0;
        times[1].tv_sec += sameTimeAgain ? 0 : 5;
        QCOMPARE(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);
    }
    SaveRequest request = read.request(path);
    const SaveResult asked = FileSave::save(request);
    QCOMPARE(int(asked.outcome), int(meanwhile.isEmpty() ? SaveResult::Outcome::RemovedOnDisk
                                                         : SaveResult::Outcome::ChangedOnDisk));
    QVERIFY(asked.message.startsWith(QFile::decodeName(path)));
    QVERIFY(asked.message.contains(meanwhile.isEmpty() ? QStringLiteral("削除") : QStringLiteral("変更")));
    QCOMPARE(bytesOf(path), meanwhile.isEmpty() ? QByteArray("<missing>") : meanwhile);
    request.overwriteAgreed = true;
    QVERIFY(FileSave::save(request).written());
    QCOMPARE(bytesOf(path), meanwhile.isEmpty() ? QByteArray("new\r\n") : QByteArray("new\n"));
}

void tst_FileSave::newFile()
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("new.txt")));
    const QStringList numbers{QStringLiteral("000001.000"), QStringLiteral("000002.000")};
    const QStringList texts{QStringLiteral("\u3042"), QStringLiteral("b")};
    SaveRequest request;
    request.path = path;
    for (int i = 0; i < 2; ++i)
        request.lines.append({numbers.at(i), texts.at(i)});

    const mode_t mask = ::umask(022);
    const SaveResult created = FileSave::save(request);
    ::umask(mask);
    QVERIFY2(created.written(), qPrintable(created.message));
    QCOMPARE(bytesOf(path), QByteArray("\x82\xA0\r\nb\r\n"));
    struct stat st;
    QVERIFY(::stat(path.constData(), &st) == 0);
    QCOMPARE(int(st.st_mode & 07777), 0644);

    // Saved once, the name is taken: a second new file of that name asks.
    put(path, "someone's\n");
    const SaveResult asked = FileSave::save(request);
    QCOMPARE(int(asked.outcome), int(SaveResult::Outcome::AlreadyExists));
    QCOMPARE(bytesOf(path), QByteArray("someone's\n"));
    request.overwriteAgreed = true;
    QVERIFY(FileSave::save(request).written());
    QCOMPARE(bytesOf(path), QByteArray("\x82\xA0\r\nb\r\n"));
    QVERIFY(noTemporaryFiles(dir.path()));
}

void tst_FileSave::nameThatIsNotUtf8()
{
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray path = folder + "/\x83\x65\x83\x58\x83\x67.txt"; // "テスト.txt" in Shift-JIS
    put(path, "old\n");
    SaveRequest request;
    request.path = path;
    request.readStamp = DiskStamp::of(path);
    const QString number = QStringLiteral("000001.000"), text = QStringLiteral("new");
    request.lines.append({number, text});
    QVERIFY(FileSave::save(request).written());
    QCOMPARE(bytesOf(path), QByteArray("new\n"));
    QCOMPARE(FileReplacer::displayName(path), QFile::decodeName(folder) + QStringLiteral("/テスト.txt"));
    // The name itself, and nothing beside it (QDir cannot list such names).
    QList<QByteArray> names;
    if (DIR *d = ::opendir(folder.constData())) {
        while (const dirent *e = ::readdir(d))
            if (qstrcmp(e->d_name, ".") != 0 && qstrcmp(e->d_name, "..") != 0)
                names.append(e->d_name);
        ::closedir(d);
    }
    ::unlink(path.constData());
    QCOMPARE(names, QList<QByteArray>{path.mid(folder.size() + 1)});
}

enum class Disturbance { Append, Chmod, ReadOnly, SecondSave };

void tst_FileSave::disturbedSave_data()
{
    QTest::addColumn<int>("disturbance");
    QTest::addColumn<QByteArray>("at"); // the step of the save
    QTest::addColumn<bool>("grouped");  // saved through a SaveQueue
    for (bool grouped : {false, true}) {
        const char *how = grouped ? "grouped: " : "";
        QTest::addRow("%slines appended after the last check", how)
            << int(Disturbance::Append) << QByteArray("before-rename") << grouped;
        QTest::addRow("%smode changed during the save", how) << int(Disturbance::Chmod) << QByteArray("kept") << grouped;
        QTest::addRow("%smode changed before the rename", how)
            << int(Disturbance::Chmod) << QByteArray("before-rename") << grouped;
        QTest::addRow("%smade read-only during the save", how)
            << int(Disturbance::ReadOnly) << QByteArray("kept") << grouped;
        QTest::addRow("%sa second save of the same file", how)
            << int(Disturbance::SecondSave) << QByteArray("before-rename") << grouped;
    }
}

void tst_FileSave::disturbedSave()
{
    QFETCH(int, disturbance);
    QFETCH(QByteArray, at);
    QFETCH(bool, grouped);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("a.txt")));
    put(path, "old\n");
    ReadFile read(path);
    read.texts[0] = QStringLiteral("mine");
    ReadFile other(path);
    other.texts[0] = QStringLiteral("theirs");
    pid_t second = -1;
    bool disturbed = false;
    FileReplacer::testStep = [&](const char *step) {
        if (disturbed || at != step)
            return;
        disturbed = true;
        switch (Disturbance(disturbance)) {
        case Disturbance::Append: {
            const int fd = ::open(path.constData(), O_WRONLY | O_APPEND);
            QVERIFY(fd >= 0 && ::write(fd, "added\n", 6) == 6);
            ::close(fd);
            break;
        }
        case Disturbance::Chmod:
            QCOMPARE(::chmod(path.constData(), 0604), 0);
            break;
        case Disturbance::ReadOnly:
            QCOMPARE(::chmod(path.constData(), 0444), 0);
            break;
        case Disturbance::SecondSave:
            second = forkAlone();
            if (second == 0)
                ::_exit(int(FileSave::save(other.request(path)).outcome));
            // Time enough for the second save to finish if nothing held it.
            QTest::qSleep(300);
            break;
        }
    };
    SaveResult r;
    if (grouped) {
        SaveBatch batch(SaveBatch::Options{});
        SaveQueue queue(batch);
        SaveRequest request = read.request(path);
        request.batch = &batch;
        queue.save(request, [&](const SaveResult &result) { r = result; });
    } else {
        r = FileSave::save(read.request(path));
    }
    FileReplacer::testStep = nullptr;
    struct stat st;
    QCOMPARE(::stat(path.constData(), &st), 0);
    switch (Disturbance(disturbance)) {
    case Disturbance::Append:
        QVERIFY2(r.written() && r.warning.contains(QStringLiteral("ほかのプログラム")), qPrintable(r.warning));
        QCOMPARE(keptInJournal(1), QByteArray("old\nadded\n"));
        break;
    case Disturbance::Chmod:
        QVERIFY(r.written());
        QCOMPARE(int(st.st_mode & 07777), 0604);
        break;
    case Disturbance::ReadOnly:
        QCOMPARE(int(r.outcome), int(SaveResult::Outcome::Failed));
        QVERIFY2(r.message.contains(QStringLiteral("読み取り専用")), qPrintable(r.message));
        QCOMPARE(bytesOf(path), QByteArray("old\n"));
        break;
    case Disturbance::SecondSave: {
        int status = 0;
        QCOMPARE(::waitpid(second, &status, 0), second);
        QVERIFY(r.written());
        // The second save waited for the first and found the file changed.
        QCOMPARE(WEXITSTATUS(status), int(SaveResult::Outcome::ChangedOnDisk));
        break;
    }
    }
    if (Disturbance(disturbance) != Disturbance::ReadOnly)
        QCOMPARE(bytesOf(path), QByteArray("mine\n"));
    QVERIFY(noTemporaryFiles(dir.path()));
}

void tst_FileSave::folderPathNearTheLimit()
{
    // Leaves room for "a.txt" but not for a temporary name beside it.
    QTemporaryDir dir;
    QByteArray folder = QFile::encodeName(dir.path());
    while (folder.size() < 4096 - 12) {
        folder += '/' + QByteArray(std::min<qsizetype>(200, 4096 - 13 - folder.size()), 'd');
        QCOMPARE(::mkdir(folder.constData(), 0755), 0);
    }
    const QByteArray path = folder + "/a.txt";
    put(path, "old\n");
    ReadFile read(path);
    read.texts[0] = QStringLiteral("new");
    const SaveResult r = FileSave::save(read.request(path));
    QVERIFY2(r.written(), qPrintable(r.message));
    QCOMPARE(bytesOf(path), QByteArray("new\n"));
}

void tst_FileSave::leftoversOfACrash()
{
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    put(folder + "/.quav-unwritten.tmp", "new content never named\n");
    put(folder + "/.quav-previous.old", "old content of a file written in place\n");
    const struct timespec past[2] = {{1700000000, 0}, {1700000000, 0}};
    for (const char *name : {"/.quav-unwritten.tmp", "/.quav-previous.old"})
        QCOMPARE(::utimensat(AT_FDCWD, QByteArray(folder + name).constData(), past, 0), 0);
    const QByteArray path = folder + "/a.txt";
    put(path, "old\n");
    ReadFile read(path);
    read.texts[0] = QStringLiteral("new");
    SaveBatch batch(SaveBatch::Options{});
    SaveRequest request = read.request(path);
    request.batch = &batch;
    QVERIFY(FileSave::save(request).written());
    QCOMPARE(bytesOf(folder + "/.quav-unwritten.tmp"), QByteArray("<missing>"));
    QCOMPARE(bytesOf(folder + "/.quav-previous.old"), QByteArray("old content of a file written in place\n"));
    QCOMPARE(batch.notices().size(), 1);
    QVERIFY(batch.notices().first().startsWith(QFile::decodeName(folder + "/.quav-previous.old")));
}

void tst_FileSave::crashThenRollback_data()
{
    QTest::addColumn<QByteArray>("step");
    QTest::addColumn<int>("occurrence");
    QTest::addColumn<int>("written"); // files found written, or half written, after the crash
    // Grouped: a and c wait for one flush of the group, then are renamed;
    // b (in place) and d (new) are written as they come.
    QTest::addColumn<bool>("grouped");
    QTest::newRow("killed once the first file is kept") << QByteArray("kept") << 1 << 0 << false;
    QTest::newRow("killed halfway through a write in place") << QByteArray("in-place-half") << 1 << 2 << false;
    QTest::newRow("killed after two files") << QByteArray("renamed") << 2 << 2 << false;
    QTest::newRow("killed before a new file is named") << QByteArray("kept") << 4 << 3 << false;
    QTest::newRow("grouped: killed before the group's first rename") << QByteArray("before-rename") << 1 << 2 << true;
    QTest::newRow("grouped: killed after the group's first rename") << QByteArray("renamed") << 2 << 3 << true;
    QTest::newRow("grouped: killed before its last rename") << QByteArray("before-rename") << 2 << 3 << true;
}

void tst_FileSave::crashThenRollback()
{
    QFETCH(QByteArray, step);
    QFETCH(int, occurrence);
    QFETCH(int, written);
    QFETCH(bool, grouped);
    QTemporaryDir dir;
    QTemporaryDir state;
    const QByteArray home = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    const QByteArray folder = QFile::encodeName(dir.path());
    // a: replaced by rename; b: two names, written in place; c: by rename;
    // d: new.
    const QList<QByteArray> names{"a.txt", "b.txt", "c.txt", "d.txt"};
    for (int i = 0; i < 3; ++i)
        put(folder + '/' + names.at(i), "old\r\n" + QByteArray(20000, char('a' + i)) + "\r\n");
    QCOMPARE(::link(QByteArray(folder + "/b.txt").constData(), QByteArray(folder + "/b2.txt").constData()), 0);
    QList<SaveRequest> requests;
    QList<ReadFile> reads;
    for (int i = 0; i < 3; ++i)
        reads.append(ReadFile(folder + '/' + names.at(i)));
    for (ReadFile &read : reads)
        read.texts[0] = QStringLiteral("new");

    const pid_t child = forkAlone();
    if (child == 0) {
        int met = 0;
        FileReplacer::testStep = [&](const char *at) {
            if (step == at && ++met == occurrence)
                ::kill(::getpid(), SIGKILL);
        };
        SaveBatch batch(SaveBatch::Options{});
        std::optional<SaveQueue> queue;
        if (grouped)
            queue.emplace(batch);
        for (int i = 0; i < 4; ++i) {
            SaveRequest r = i < 3 ? reads.at(i).request(folder + '/' + names.at(i)) : SaveRequest();
            if (i == 3) {
                r.path = folder + "/d.txt";
                r.lines.append({QStringLiteral("000001.000"), QStringLiteral("new")});
            }
            r.batch = &batch;
            if (queue)
                queue->save(r, [](const SaveResult &result) {
                    if (!result.written())
                        ::_exit(3);
                });
            else if (!FileSave::save(r).written())
                ::_exit(3);
        }
        queue.reset();
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));

    const QList<UndoStore::Batch> all = UndoStore::list();
    QCOMPARE(all.size(), 1);
    QVERIFY(all.first().interrupted());
    QCOMPARE(UndoRestore::writtenFiles(all.first()).size(), qsizetype(written));
    const UndoRestore::Result r = UndoRestore::run(all.first(), UndoRestore::Mode::Rollback, false);
    QVERIFY2(r.allRestored(), qPrintable(r.problems()));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(bytesOf(folder + '/' + names.at(i)), "old\r\n" + QByteArray(20000, char('a' + i)) + "\r\n");
    QCOMPARE(bytesOf(folder + "/b2.txt"), bytesOf(folder + "/b.txt"));
    QCOMPARE(bytesOf(folder + "/d.txt"), QByteArray("<missing>"));
    QVERIFY(!UndoStore::lastUndoable());
    qputenv("XDG_STATE_HOME", home);
}

void tst_FileSave::pruning_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("older than the days; one cut short stays") << 30 << (qint64(1) << 30)
                                                              << QStringList{"cut", "mid", "new"};
    QTest::newRow("beyond the total, oldest first") << 365 << qint64(40 << 10) << QStringList{"cut", "new"};
    QTest::newRow("within both limits") << 365 << (qint64(1) << 30) << QStringList{"cut", "old", "mid", "new"};
}

void tst_FileSave::pruning()
{
    QFETCH(int, days);
    QFETCH(qint64, bytes);
    QFETCH(QStringList, left);
    QTemporaryDir state;
    const QByteArray home = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    const QDateTime now = QDateTime::currentDateTime();
    const int journalFd = UndoStore::openFolder(true, nullptr);
    QVERIFY(journalFd >= 0);
    ::close(journalFd);
    const QByteArray journal = QFile::encodeName(UndoStore::folder());
    // name, age in days, finished, bytes kept
    const struct { const char *name; int age; bool done; int kept; } batches[] = {
        {"cut", 50, false, 0}, {"old", 40, true, 0}, {"mid", 10, true, 64 << 10}, {"new", 1, true, 0}};
    for (const auto &b : batches) {
        const QByteArray folder = journal + '/' + b.name;
        QCOMPARE(::mkdir(folder.constData(), 0700), 0);
        put(folder + "/manifest", UndoManifest::header(now.addDays(-b.age), QStringLiteral("test"))
                                      + (b.done ? UndoManifest::stateRecord(UndoManifest::State::Done) : QByteArray()));
        if (b.kept)
            put(folder + "/1", QByteArray(b.kept, 'k'));
    }
    UndoStore::prune(days, bytes, now);
    QStringList ids;
    for (const UndoStore::Batch &b : UndoStore::list())
        ids.append(b.id);
    qputenv("XDG_STATE_HOME", home);
    QCOMPARE(ids, left);
}

QTEST_GUILESS_MAIN(tst_FileSave)
#include "tst_filesave.moc"
