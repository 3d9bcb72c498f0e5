#include "platform/FileReplacer.h"

#include "platform/NativeName.h"

#include <QList>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// As many links as the kernel follows in one path walk.
constexpr int kMaxLinkHops = 40;

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

DiskStamp stampOf(const struct stat &st)
{
    DiskStamp s;
    s.size = st.st_size;
    s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}

bool pwriteAll(int fd, QByteArrayView bytes)
{
    const char *p = bytes.data();
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, p + done, size_t(bytes.size() - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// The link was put into a folder where anyone may create entries by someone
// who is neither this user nor the folder's owner (the rule the kernel
// applies with fs.protected_symlinks, kept here whatever that setting says).
bool foreignLink(const QByteArray &link, const struct stat &linkStat)
{
    struct stat dir;
    if (::stat(folderOf(link).constData(), &dir) != 0)
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

} // namespace

FileReplacer::FileReplacer(QByteArray path) : m_path(std::move(path)) {}

FileReplacer::~FileReplacer()
{
    if (m_fd >= 0)
        ::close(m_fd);
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

FileReplacer::Status FileReplacer::checkFolder()
{
    struct stat dir;
    if (::stat(m_folder.constData(), &dir) != 0)
        return failErrno(errno);
    if (!S_ISDIR(dir.st_mode))
        return failErrno(ENOTDIR);
    if (!(dir.st_mode & S_IWUSR))
        return fail(QStringLiteral("保存先のフォルダーが読み取り専用です。"));
    if (::faccessat(AT_FDCWD, m_folder.constData(), W_OK | X_OK, AT_EACCESS) != 0) {
        const int err = errno;
        return err == EACCES ? fail(QStringLiteral("保存先のフォルダーに書き込む権限がありません。"))
                             : failErrno(err);
    }
    return Status::Ok;
}

FileReplacer::Status FileReplacer::inspect()
{
    m_target = m_path;
    struct stat st;
    for (int hop = 0;; ++hop) {
        if (::lstat(m_target.constData(), &st) != 0) {
            const int err = errno;
            m_folder = folderOf(m_target);
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
        if (foreignLink(m_target, st))
            return fail(QStringLiteral("共有フォルダーにある他のユーザーのシンボリックリンクです。")
                        + QStringLiteral("リンク先には書き込みません。"));
        QByteArray dest(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(m_target.constData(), dest.data(), size_t(dest.size()));
        if (n < 0)
            return failErrno(errno);
        if (n >= dest.size())
            return failErrno(ENAMETOOLONG);
        dest.truncate(n);
        m_target = dest.startsWith('/') ? dest : QByteArray(folderOf(m_target) + '/' + dest);
    }
    m_folder = folderOf(m_target);
    if (!S_ISREG(st.st_mode))
        return fail(QStringLiteral("通常のファイルではありません（名前付きパイプやデバイスなど）。"));
    if (!(st.st_mode & S_IWUSR))
        return fail(QStringLiteral("読み取り専用のファイルです。"));
    if (::faccessat(AT_FDCWD, m_target.constData(), W_OK, AT_EACCESS) != 0)
        return failErrno(errno);
    const Status folder = checkFolder();
    if (folder != Status::Ok)
        return folder;
    m_fd = ::open(m_target.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0)
        return failErrno(errno);
    if (::fstat(m_fd, &m_st) != 0)
        return failErrno(errno);
    if (!S_ISREG(m_st.st_mode) || m_st.st_dev != st.st_dev || m_st.st_ino != st.st_ino)
        return fail(QStringLiteral("調べている間にファイルが置き換えられました。"));
    return Status::Ok;
}

DiskStamp FileReplacer::stamp() const
{
    return stampOf(m_st);
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

int FileReplacer::createTemporary(mode_t mode, QByteArray &name)
{
    // A short name of its own, so that a long file name still leaves room.
    const QByteArray folder = m_folder.endsWith('/') ? m_folder : QByteArray(m_folder + '/');
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + ".quav-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC,
                              mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

FileReplacer::Status FileReplacer::write(const QByteArray &content, const QByteArray &old)
{
    if (m_missing)
        return create(content);
    if (m_st.st_nlink > 1)
        return writeInPlace(content, old);
    return replaceByRename(content, old);
}

FileReplacer::Status FileReplacer::replaceByRename(const QByteArray &content, const QByteArray &old)
{
    QByteArray name;
    const int fd = createTemporary(S_IRUSR | S_IWUSR, name);
    if (fd < 0)
        return failErrno(errno);
    auto discard = [&](int err) {
        ::close(fd);
        ::unlink(name.constData());
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
        ::unlink(name.constData());
        return writeInPlace(content, old);
    }
    copyExtendedAttributes(m_fd, fd);
    // After fchown, which clears set-user-ID and set-group-ID bits.
    if (::fchmod(fd, m_st.st_mode & 07777) != 0)
        return discard(errno);
    if (!pwriteAll(fd, content) || ::fsync(fd) != 0)
        return discard(errno);
    struct stat now;
    if (::lstat(m_target.constData(), &now) != 0 || !stillAsInspected(now)) {
        ::close(fd);
        ::unlink(name.constData());
        return Status::Changed;
    }
    if (::rename(name.constData(), m_target.constData()) != 0)
        return discard(errno);
    if (::fstat(fd, &tmp) == 0)
        m_written = stampOf(tmp);
    ::close(fd);
    return Status::Ok;
}

FileReplacer::Status FileReplacer::writeInPlace(const QByteArray &content, const QByteArray &old)
{
    QByteArray copyName;
    const int copy = createTemporary(S_IRUSR | S_IWUSR, copyName);
    if (copy < 0)
        return failErrno(errno);
    if (!pwriteAll(copy, old) || ::fsync(copy) != 0) {
        const int err = errno;
        ::close(copy);
        ::unlink(copyName.constData());
        return failErrno(err);
    }
    ::close(copy);
    const int fd = ::open(m_target.constData(), O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    auto giveUp = [&](int err) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(copyName.constData());
        return failErrno(err);
    };
    if (fd < 0)
        return giveUp(errno);
    struct stat now;
    if (::fstat(fd, &now) != 0)
        return giveUp(errno);
    if (!stillAsInspected(now)) {
        ::close(fd);
        ::unlink(copyName.constData());
        return Status::Changed;
    }
    // The space a longer content needs is taken before the first byte is
    // overwritten, so that a full disk stops the save while the file is whole.
    if (content.size() > old.size() && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(content.size())) != 0
        && errno != EOPNOTSUPP && errno != ENOSYS)
        return giveUp(errno);
    if (pwriteAll(fd, content) && ::ftruncate(fd, off_t(content.size())) == 0 && ::fsync(fd) == 0) {
        if (::fstat(fd, &now) == 0)
            m_written = stampOf(now);
        ::close(fd);
        ::unlink(copyName.constData());
        return Status::Ok;
    }
    const int err = errno;
    const bool restored = pwriteAll(fd, old) && ::ftruncate(fd, off_t(old.size())) == 0 && ::fsync(fd) == 0;
    ::close(fd);
    if (restored) {
        ::unlink(copyName.constData());
        return failErrno(err);
    }
    m_untouched = false;
    return fail(errnoText(err) + QStringLiteral("\r\n") + QStringLiteral("元の内容は ") + displayName(copyName)
                + QStringLiteral(" に残してあります。"));
}

FileReplacer::Status FileReplacer::create(const QByteArray &content)
{
    QByteArray name;
    // Permission bits as for any new file: 0666 less the umask.
    const int fd = createTemporary(0666, name);
    if (fd < 0)
        return failErrno(errno);
    if (!pwriteAll(fd, content) || ::fsync(fd) != 0) {
        const int err = errno;
        ::close(fd);
        ::unlink(name.constData());
        return failErrno(err);
    }
    struct stat st;
    if (::fstat(fd, &st) == 0)
        m_written = stampOf(st);
    ::close(fd);
    if (::renameat2(AT_FDCWD, name.constData(), AT_FDCWD, m_target.constData(), RENAME_NOREPLACE) == 0)
        return Status::Ok;
    int err = errno;
    if (err == EINVAL || err == ENOSYS || err == EOPNOTSUPP) {
        // No exclusive rename on this file system; a hard link never
        // replaces anything either.
        if (::link(name.constData(), m_target.constData()) == 0) {
            ::unlink(name.constData());
            return Status::Ok;
        }
        err = errno;
        if (err == EPERM || err == EOPNOTSUPP) {
            // Nor hard links: a plain rename once the name is still free.
            if (::lstat(m_target.constData(), &st) == 0)
                err = EEXIST;
            else if (::rename(name.constData(), m_target.constData()) == 0)
                return Status::Ok;
            else
                err = errno;
        }
    }
    ::unlink(name.constData());
    return err == EEXIST ? Status::Changed : failErrno(err);
}
