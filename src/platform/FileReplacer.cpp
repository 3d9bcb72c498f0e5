#include "platform/FileReplacer.h"

#include "platform/DescriptorIo.h"
#include "platform/NativeName.h"
#include "platform/SaveBatch.h"

#include <QElapsedTimer>
#include <QList>
#include <QRandomGenerator>
#include <QThread>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// As many links as the kernel follows in one path walk.
constexpr int kMaxLinkHops = 40;
// How long a save waits for another save of the same file to end, and how
// often it tries the lock meanwhile (ms): short enough that a window served
// between two tries stays responsive.
constexpr int kLockWaitMs = 30000;
constexpr int kLockPollMs = 10;

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray baseOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

void step(const char *name)
{
    if (FileReplacer::testStep)
        FileReplacer::testStep(name);
}

// The link was put into a folder where anyone may create entries by someone
// who is neither this user nor the folder's owner (the rule the kernel
// applies with fs.protected_symlinks, kept here whatever that setting says).
bool foreignLink(int dirFd, const struct stat &linkStat)
{
    struct stat dir;
    if (::fstat(dirFd, &dir) != 0)
        return false;
    const bool shared = (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH);
    return shared && linkStat.st_uid != ::geteuid() && linkStat.st_uid != dir.st_uid;
}

// Best effort: an attribute this process may not set (a security label, a
// trusted attribute) is left behind rather than failing the save.
void copyExtendedAttributes(int from, int to)
{
    const ssize_t listSize = ::flistxattr(from, nullptr, 0);
    if (listSize <= 0)
        return;
    QByteArray names(listSize, Qt::Uninitialized);
    const ssize_t got = ::flistxattr(from, names.data(), size_t(names.size()));
    if (got <= 0)
        return;
    names.truncate(got);
    for (const QByteArray &name : names.split('\0')) {
        if (name.isEmpty())
            continue;
        const ssize_t size = ::fgetxattr(from, name.constData(), nullptr, 0);
        if (size < 0)
            continue;
        QByteArray value(size, Qt::Uninitialized);
        const ssize_t n = ::fgetxattr(from, name.constData(), value.data(), size_t(value.size()));
        if (n >= 0)
            ::fsetxattr(to, name.constData(), value.constData(), size_t(n), 0);
    }
}

QString errnoText(int err)
{
    switch (err) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクの空き容量が足りません。");
    case EACCES:
    case EPERM:
        return QStringLiteral("書き込む権限がありません。");
    case EROFS:
        return QStringLiteral("読み取り専用のファイルシステムにあります。");
    case ENAMETOOLONG:
        return QStringLiteral("ファイル名が長すぎます。");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("保存先のフォルダーが見つかりません。");
    case ELOOP:
        return QStringLiteral("シンボリックリンクが多すぎるか、循環しています。");
    case EIO:
        return QStringLiteral("ディスクの読み書きでエラーが起きました。");
    default:
        return QStringLiteral("書き込めません。（") + QString::fromLocal8Bit(std::strerror(err))
            + QStringLiteral("）");
    }
}

// Gives the new file `to` the owner, group, attributes and permission bits
// that `now` (the old file as it is now) has. false with errno set.
bool copyMetadata(int from, const struct stat &now, int to)
{
    struct stat st;
    if (::fstat(to, &st) != 0)
        return false;
    if ((st.st_uid != now.st_uid || st.st_gid != now.st_gid) && ::fchown(to, now.st_uid, now.st_gid) != 0)
        return false;
    copyExtendedAttributes(from, to);
    // After fchown, which clears set-user-ID and set-group-ID bits.
    return ::fchmod(to, now.st_mode & 07777) == 0;
}

bool sameMetadata(const struct stat &a, const struct stat &b)
{
    return a.st_mode == b.st_mode && a.st_uid == b.st_uid && a.st_gid == b.st_gid;
}

const QString kReadOnlyNow = QStringLiteral("保存している間に読み取り専用になりました。");

} // namespace

std::function<void(const char *)> FileReplacer::testStep;

FileReplacer::FileReplacer(QByteArray path) : m_path(std::move(path)) {}

FileReplacer::~FileReplacer()
{
    if (pending())
        drop(0);
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_dirFd >= 0)
        ::close(m_dirFd);
}

QString FileReplacer::displayName(const QByteArray &path)
{
    return NativeName::decodePath(path);
}

FileReplacer::Status FileReplacer::fail(const QString &reason)
{
    m_reason = reason;
    return Status::Failed;
}

FileReplacer::Status FileReplacer::failErrno(int err)
{
    return fail(errnoText(err));
}

FileReplacer::Status FileReplacer::openFolder()
{
    m_folder = folderOf(m_target);
    m_base = baseOf(m_target);
    if (m_dirFd >= 0)
        ::close(m_dirFd);
    m_dirFd = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return m_dirFd < 0 ? failErrno(errno) : Status::Ok;
}

FileReplacer::Status FileReplacer::checkFolder()
{
    struct stat dir;
    if (::fstat(m_dirFd, &dir) != 0)
        return failErrno(errno);
    if (!(dir.st_mode & S_IWUSR))
        return fail(QStringLiteral("保存先のフォルダーが読み取り専用です。"));
    if (::faccessat(m_dirFd, ".", W_OK | X_OK, AT_EACCESS) != 0) {
        const int err = errno;
        return err == EACCES ? fail(QStringLiteral("保存先のフォルダーに書き込む権限がありません。"))
                             : failErrno(err);
    }
    return Status::Ok;
}

FileReplacer::Status FileReplacer::lock()
{
    // Wall-clock time: what the caller does while it waits counts too.
    QElapsedTimer waited;
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return Status::Ok; // a file system without locks: the stamps still guard it
        if (!waited.isValid()) {
            waited.start();
            if (m_beforeWaiting)
                m_beforeWaiting();
        }
        if (waited.elapsed() >= kLockWaitMs)
            return fail(QStringLiteral("ほかの保存がこのファイルを書いていて、終わりません。"));
        if (m_whileWaiting && !m_whileWaiting())
            return fail(QStringLiteral("ほかの保存の終了を待つのを中止しました。"));
        QThread::msleep(kLockPollMs);
    }
    return Status::Ok;
}

FileReplacer::Status FileReplacer::inspect()
{
    // A save that waited for the lock may find another file under the name:
    // the one the other save put there, which is then looked at afresh.
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        m_target = m_path;
        struct stat st;
        for (int hop = 0;; ++hop) {
            if (openFolder() != Status::Ok)
                return Status::Failed;
            if (::fstatat(m_dirFd, m_base.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                const int err = errno;
                if (err != ENOENT)
                    return failErrno(err);
                const Status folder = checkFolder();
                if (folder != Status::Ok)
                    return folder;
                m_missing = true;
                return Status::Missing;
            }
            if (!S_ISLNK(st.st_mode))
                break;
            if (hop == kMaxLinkHops)
                return failErrno(ELOOP);
            if (foreignLink(m_dirFd, st))
                return fail(QStringLiteral("共有フォルダーにある他のユーザーのシンボリックリンクです。")
                            + QStringLiteral("リンク先には書き込みません。"));
            QByteArray dest(PATH_MAX, Qt::Uninitialized);
            const ssize_t n = ::readlinkat(m_dirFd, m_base.constData(), dest.data(), size_t(dest.size()));
            if (n < 0)
                return failErrno(errno);
            if (n >= dest.size())
                return failErrno(ENAMETOOLONG);
            dest.truncate(n);
            m_target = dest.startsWith('/') ? dest : QByteArray(m_folder + '/' + dest);
        }
        if (!S_ISREG(st.st_mode))
            return fail(QStringLiteral("通常のファイルではありません（名前付きパイプやデバイスなど）。"));
        if (!(st.st_mode & S_IWUSR))
            return fail(QStringLiteral("読み取り専用のファイルです。"));
        if (::faccessat(m_dirFd, m_base.constData(), W_OK, AT_EACCESS) != 0)
            return failErrno(errno);
        const Status folder = checkFolder();
        if (folder != Status::Ok)
            return folder;
        m_fd = ::openat(m_dirFd, m_base.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (m_fd < 0)
            return failErrno(errno);
        if (lock() != Status::Ok)
            return Status::Failed;
        if (::fstat(m_fd, &m_st) != 0)
            return failErrno(errno);
        if (!S_ISREG(m_st.st_mode))
            return fail(QStringLiteral("調べている間にファイルが置き換えられました。"));
        if (!(m_st.st_mode & S_IWUSR))
            return fail(QStringLiteral("読み取り専用のファイルです。"));
        struct stat named;
        if (::fstatat(m_dirFd, m_base.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == m_st.st_dev
            && named.st_ino == m_st.st_ino)
            return Status::Ok;
    }
    return fail(QStringLiteral("調べている間にファイルが何度も置き換えられました。"));
}

DiskStamp FileReplacer::stamp() const
{
    return DiskStamp::of(m_st);
}

bool FileReplacer::readAll(QByteArray &bytes)
{
    // One byte more than the size seen, so that a file still growing is read
    // whole; the stamp check before writing then notices the change.
    bytes.resize(qsizetype(m_st.st_size) + 1);
    qsizetype size = 0;
    for (;;) {
        if (size == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = ::pread(m_fd, bytes.data() + size, size_t(bytes.size() - size), off_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            bytes.clear();
            m_reason = QStringLiteral("ファイルを読み込めません。（") + QString::fromLocal8Bit(std::strerror(err))
                + QStringLiteral("）");
            return false;
        }
        if (n == 0)
            break;
        size += n;
    }
    bytes.truncate(size);
    return true;
}

bool FileReplacer::stillAsInspected(const struct stat &now) const
{
    return now.st_dev == m_st.st_dev && now.st_ino == m_st.st_ino && now.st_size == m_st.st_size
        && now.st_mtim.tv_sec == m_st.st_mtim.tv_sec && now.st_mtim.tv_nsec == m_st.st_mtim.tv_nsec;
}

bool FileReplacer::nameStillAsInspected() const
{
    struct stat now;
    return ::fstatat(m_dirFd, m_base.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0 && stillAsInspected(now);
}

int FileReplacer::createTemporary(mode_t mode, QByteArray &name, const char *suffix)
{
    // A short name of its own, so that a long file name still leaves room.
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = ".quav-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + suffix;
        const int fd = ::openat(m_dirFd, name.constData(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, mode);
        if (fd >= 0) {
            // Held while it exists: a later save takes an unlocked one for a
            // leftover.
            ::flock(fd, LOCK_EX | LOCK_NB);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

FileReplacer::Status FileReplacer::write(const QByteArray &content, const QByteArray &old, SaveBatch *batch)
{
    const Status s = prepare(content, old, batch);
    if (s != Status::Ok || !pending())
        return s;
    // A file of its own: its content and its journal entry are made durable
    // alone.
    if (batch ? !batch->makeDurable({m_tmpFd}) : ::fsync(m_tmpFd) != 0)
        return drop(errno);
    return commit();
}

FileReplacer::Status FileReplacer::prepare(const QByteArray &content, const QByteArray &old, SaveBatch *batch)
{
    m_changedMeanwhile = false;
    if (batch)
        batch->sweepFolder(m_dirFd, m_folder);
    if (m_missing)
        return create(content, batch);
    if (m_st.st_nlink > 1)
        return writeInPlace(content, old, batch);
    return replaceByRename(content, old, batch);
}

FileReplacer::Status FileReplacer::drop(int err)
{
    if (!pending())
        return err ? failErrno(err) : Status::Failed;
    if (m_batch)
        m_batch->forget(m_kept);
    ::close(m_tmpFd);
    ::unlinkat(m_dirFd, m_tmpName.constData(), 0);
    m_tmpFd = -1;
    m_tmpName.clear();
    m_batch = nullptr;
    return err ? failErrno(err) : Status::Failed;
}

FileReplacer::Status FileReplacer::replaceByRename(const QByteArray &content, const QByteArray &old, SaveBatch *batch)
{
    QByteArray name;
    const int fd = createTemporary(S_IRUSR | S_IWUSR, name);
    if (fd < 0)
        return failErrno(errno);
    auto discard = [&](int err) {
        ::close(fd);
        ::unlinkat(m_dirFd, name.constData(), 0);
        return failErrno(err);
    };
    struct stat tmp;
    if (::fstat(fd, &tmp) != 0)
        return discard(errno);
    if ((tmp.st_uid != m_st.st_uid || tmp.st_gid != m_st.st_gid)
        && ::fchown(fd, m_st.st_uid, m_st.st_gid) != 0) {
        // This process cannot give a file of its own the old file's owner and
        // group; the file keeps them only when written in place.
        ::close(fd);
        ::unlinkat(m_dirFd, name.constData(), 0);
        return writeInPlace(content, old, batch);
    }
    const int kept = batch ? batch->keepReplaced(m_fd, m_st, m_target, old, content, true) : 0;
    if (kept < 0) {
        ::close(fd);
        ::unlinkat(m_dirFd, name.constData(), 0);
        return fail(batch->reason());
    }
    // From here the temporary file is pending: drop() removes it and what
    // the journal kept (which must not hold a second name of a file not
    // written after all: the next save would write it in place).
    m_tmpFd = fd;
    m_tmpName = name;
    m_kept = kept;
    m_batch = batch;
    step("kept");
    if (!DescriptorIo::writeFromStart(fd, content))
        return drop(errno);
    // The disk starts on it now, while the next files are composed, so
    // that the group's flush finds little left to write.
    if (batch && batch->flushesTogether())
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    // Given before the content is made durable, so that the flush covers
    // them; commit() gives them again if the old file's owner or mode
    // changed meanwhile.
    if (::fstat(m_fd, &m_prepared) != 0 || !copyMetadata(m_fd, m_prepared, fd))
        return drop(errno);
    return Status::Ok;
}

FileReplacer::Status FileReplacer::commit()
{
    if (!pending())
        return fail(QStringLiteral("書き込む内容がありません。"));
    const int fd = m_tmpFd;
    // The file as it is now gives the new one its owner and mode: a change
    // made since inspect() is kept, not undone.
    struct stat before;
    if (::fstat(m_fd, &before) != 0)
        return drop(errno);
    if (!(before.st_mode & S_IWUSR)) {
        drop(0);
        return fail(kReadOnlyNow);
    }
    if (!sameMetadata(before, m_prepared) && (!copyMetadata(m_fd, before, fd) || ::fsync(fd) != 0))
        return drop(errno);
    if (!nameStillAsInspected()) {
        drop(0);
        m_reason.clear();
        return Status::Changed;
    }
    step("before-rename");
    if (::renameat(m_dirFd, m_tmpName.constData(), m_dirFd, m_base.constData()) != 0)
        return drop(errno);
    SaveBatch *batch = m_batch;
    const int kept = m_kept;
    m_tmpFd = -1;
    m_tmpName.clear();
    m_batch = nullptr;
    if (batch)
        batch->written(kept);
    step("renamed");
    // What a program without a lock did to the old file after the last
    // check: its content is the journal's, its metadata the new file's.
    struct stat after;
    if (::fstat(m_fd, &after) == 0) {
        if (!sameMetadata(after, before))
            copyMetadata(m_fd, after, fd);
        if (!stillAsInspected(after)) {
            m_changedMeanwhile = true;
            if (batch)
                batch->changedMeanwhile(kept, m_fd);
        }
    }
    struct stat tmp;
    if (::fstat(fd, &tmp) == 0)
        m_written = DiskStamp::of(tmp);
    ::close(fd);
    return Status::Ok;
}

FileReplacer::Status FileReplacer::writeInPlace(const QByteArray &content, const QByteArray &old, SaveBatch *batch)
{
    const int fd = ::openat(m_dirFd, m_base.constData(), O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return failErrno(errno);
    struct stat now;
    if (::fstat(fd, &now) != 0 || !stillAsInspected(now)) {
        ::close(fd);
        return Status::Changed;
    }
    if (!(now.st_mode & S_IWUSR)) {
        ::close(fd);
        return fail(kReadOnlyNow);
    }
    // The previous content, durable before the first byte is overwritten:
    // in the journal, or without one beside the file.
    const bool journalled = batch && batch->journalled();
    const int kept = journalled ? batch->keepReplaced(m_fd, m_st, m_target, old, content, false) : 0;
    if (kept < 0) {
        ::close(fd);
        return fail(batch->reason());
    }
    QByteArray copyName;
    if (!journalled) {
        const int copy = createTemporary(S_IRUSR | S_IWUSR, copyName, ".old");
        if (copy < 0 || !DescriptorIo::writeFromStart(copy, old) || ::fsync(copy) != 0) {
            const int err = errno;
            if (copy >= 0) {
                ::close(copy);
                ::unlinkat(m_dirFd, copyName.constData(), 0);
            }
            ::close(fd);
            return failErrno(err);
        }
        ::close(copy);
    }
    step("kept");
    auto dropCopy = [&] {
        if (!copyName.isEmpty())
            ::unlinkat(m_dirFd, copyName.constData(), 0);
    };
    // The space a longer content needs is taken before the first byte is
    // overwritten, so that a full disk stops the save while the file is whole.
    if (content.size() > old.size() && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(content.size())) != 0
        && errno != EOPNOTSUPP && errno != ENOSYS) {
        const int err = errno;
        ::close(fd);
        dropCopy();
        return failErrno(err);
    }
    const qsizetype half = content.size() / 2;
    const bool firstHalf = DescriptorIo::writeFromStart(fd, QByteArrayView(content).first(half));
    step("in-place-half");
    bool done = firstHalf;
    if (done) {
        const QByteArrayView rest = QByteArrayView(content).sliced(half);
        done = rest.isEmpty() || ::pwrite(fd, rest.data(), size_t(rest.size()), off_t(half)) == ssize_t(rest.size());
    }
    if (done && ::ftruncate(fd, off_t(content.size())) == 0 && ::fsync(fd) == 0) {
        if (batch)
            batch->written(kept);
        step("renamed");
        if (::fstat(fd, &now) == 0)
            m_written = DiskStamp::of(now);
        ::close(fd);
        dropCopy();
        return Status::Ok;
    }
    const int err = errno;
    const bool restored = DescriptorIo::writeFromStart(fd, old) && ::ftruncate(fd, off_t(old.size())) == 0 && ::fsync(fd) == 0;
    ::close(fd);
    if (restored) {
        dropCopy();
        return failErrno(err);
    }
    m_untouched = false;
    const QString where = journalled ? QStringLiteral("取り消し用の記録") : displayName(m_folder + '/' + copyName);
    return fail(errnoText(err) + QStringLiteral("\r\n") + QStringLiteral("元の内容は ") + where
                + QStringLiteral(" に残してあります。"));
}

FileReplacer::Status FileReplacer::create(const QByteArray &content, SaveBatch *batch)
{
    QByteArray name;
    // Permission bits as for any new file: 0666 less the umask.
    const int fd = createTemporary(0666, name);
    if (fd < 0)
        return failErrno(errno);
    auto discard = [&](int err) {
        ::close(fd);
        ::unlinkat(m_dirFd, name.constData(), 0);
        return failErrno(err);
    };
    if (!DescriptorIo::writeFromStart(fd, content) || ::fsync(fd) != 0)
        return discard(errno);
    const int kept = batch ? batch->keepCreated(m_target, content) : 0;
    if (kept < 0) {
        discard(0);
        return fail(batch->reason());
    }
    step("kept");
    struct stat st;
    if (::fstat(fd, &st) == 0)
        m_written = DiskStamp::of(st);
    auto linkedIn = [&] {
        ::close(fd);
        if (batch)
            batch->written(kept);
        return Status::Ok;
    };
    if (::renameat2(m_dirFd, name.constData(), m_dirFd, m_base.constData(), RENAME_NOREPLACE) == 0)
        return linkedIn();
    int err = errno;
    if (err == EINVAL || err == ENOSYS || err == EOPNOTSUPP) {
        // No exclusive rename on this file system; a hard link never
        // replaces anything either.
        if (::linkat(m_dirFd, name.constData(), m_dirFd, m_base.constData(), 0) == 0) {
            ::unlinkat(m_dirFd, name.constData(), 0);
            return linkedIn();
        }
        err = errno;
        if (err == EPERM || err == EOPNOTSUPP) {
            // Nor hard links: a plain rename once the name is still free.
            if (::fstatat(m_dirFd, m_base.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
                err = EEXIST;
            else if (::renameat(m_dirFd, name.constData(), m_dirFd, m_base.constData()) == 0)
                return linkedIn();
            else
                err = errno;
        }
    }
    ::close(fd);
    ::unlinkat(m_dirFd, name.constData(), 0);
    return err == EEXIST ? Status::Changed : failErrno(err);
}

FileReplacer::Status FileReplacer::remove()
{
    if (m_fd < 0 || !nameStillAsInspected())
        return Status::Changed;
    return ::unlinkat(m_dirFd, m_base.constData(), 0) == 0 ? Status::Ok : failErrno(errno);
}

WriteResult FileReplacer::replaceWhole(const QByteArray &path, const QByteArray &bytes)
{
    WriteResult r;
    r.path = displayName(path);
    FileReplacer file(path);
    QByteArray old;
    Status s = file.inspect();
    if (s == Status::Ok && !file.readAll(old))
        s = Status::Failed;
    if (s != Status::Failed)
        s = file.write(bytes, old);
    r.written = s == Status::Ok;
    if (s == Status::Changed)
        r.reason = QStringLiteral("書き込んでいる間にほかのプログラムがファイルを変更しました。");
    else if (!r.written)
        r.reason = file.reason();
    if (!r.written)
        r.error = r.path + QStringLiteral("\r\n") + r.reason;
    return r;
}
