#include "platform/SaveBatch.h"

#include "platform/DescriptorIo.h"
#include "platform/NativeName.h"
#include "platform/UndoStore.h"

#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// A leftover younger than this may still be the fresh file of a save that
// has not yet locked it.
constexpr qint64 kLeftoverAgeSecs = 2;

QString systemText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

} // namespace

SaveBatch::SaveBatch(Options options) : m_options(std::move(options)) {}

SaveBatch::~SaveBatch()
{
    finish();
}

bool SaveBatch::fail(const QString &reason)
{
    m_failed = true;
    m_reason = QStringLiteral("取り消し用の記録を書けないため、保存しません。（") + reason + QStringLiteral("）");
    return false;
}

bool SaveBatch::open()
{
    if (m_manifestFd >= 0)
        return true;
    if (m_failed)
        return false;
    QString why;
    const int journal = UndoStore::openFolder(true, &why);
    if (journal < 0)
        return fail(why);
    const QDateTime now = QDateTime::currentDateTime();
    UndoStore::prune(m_options.keepDays, m_options.keepBytes, now);
    UndoStore::unshareInterrupted();
    for (int attempt = 0; attempt < 20 && m_dirFd < 0; ++attempt) {
        m_id = now.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz-"))
            + QString::number(QRandomGenerator::global()->bounded(36 * 36 * 36 * 36), 36).rightJustified(4, '0');
        const QByteArray name = QFile::encodeName(m_id);
        if (::mkdirat(journal, name.constData(), 0700) == 0)
            m_dirFd = ::openat(journal, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        else if (errno != EEXIST)
            break;
    }
    const int err = errno;
    // The new folder's name is made durable with the manifest's first flush.
    const bool synced = m_dirFd >= 0 && ::fsync(journal) == 0;
    ::close(journal);
    if (m_dirFd < 0 || !synced)
        return fail(systemText(m_dirFd < 0 ? err : errno));
    m_manifestFd = ::openat(m_dirFd, "manifest", O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_manifestFd < 0 || ::flock(m_manifestFd, LOCK_EX) != 0)
        return fail(systemText(errno));
    return append(UndoManifest::header(now, m_options.command), false) || fail(systemText(errno));
}

bool SaveBatch::append(const QByteArray &record, bool durable)
{
    if (!DescriptorIo::write(m_manifestFd, record))
        return false;
    return !durable || (::fsync(m_manifestFd) == 0 && ::fsync(m_dirFd) == 0);
}

int SaveBatch::keepReplaced(int fileFd, const struct stat &st, const QByteArray &target, const QByteArray &old,
                            const QByteArray &content, bool linkByInode)
{
    if (!m_options.journal)
        return 0;
    if (!open())
        return -1;
    UndoManifest::File f;
    f.index = ++m_count;
    f.kind = linkByInode ? UndoManifest::Kind::Rename : UndoManifest::Kind::InPlace;
    f.path = target;
    // A write in place needs the previous content's hash to tell a write a
    // crash cut short; a replaced file's kept inode is its own record, and
    // hashing it here would cost as much as hashing what is written.
    if (!linkByInode)
        f.oldHash = UndoManifest::hashOf(old);
    f.newHash = UndoManifest::hashOf(content);
    f.mode = st.st_mode & 07777;
    f.uid = st.st_uid;
    f.gid = st.st_gid;
    const QByteArray name = QByteArray::number(f.index);
    bool kept = false;
    if (linkByInode) {
        // The very inode that was read, whatever its name leads to now.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fileFd);
        kept = ::linkat(AT_FDCWD, self.constData(), m_dirFd, name.constData(), AT_SYMLINK_FOLLOW) == 0
            && (m_together || ::fsync(fileFd) == 0);
    }
    if (!kept) {
        const int copy = ::openat(m_dirFd, name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
        kept = copy >= 0 && DescriptorIo::write(copy, old) && ::fsync(copy) == 0;
        const int err = errno;
        if (copy >= 0)
            ::close(copy);
        if (!kept) {
            ::unlinkat(m_dirFd, name.constData(), 0);
            fail(systemText(err));
            return -1;
        }
    }
    // A copy is kept for a file written in place at once: it is flushed now.
    const bool later = m_together && linkByInode;
    if (!append(UndoManifest::fileRecord(f), !later)) {
        fail(systemText(errno));
        return -1;
    }
    if (later)
        m_unflushed = true;
    return f.index;
}

bool SaveBatch::makeDurable(const QList<int> &fds)
{
    if (!m_unflushed && fds.size() <= 1) {
        for (int fd : fds)
            if (::fsync(fd) != 0)
                return false;
        return true;
    }
    // syncfs writes every dirty file of a file system and commits it once:
    // for a group of files far cheaper than one commit per file. It covers
    // the manifest, the journal's links and the old inodes they name too.
    QList<dev_t> devices;
    QList<int> one;
    const auto add = [&](int fd) {
        struct stat st;
        if (fd >= 0 && ::fstat(fd, &st) == 0 && !devices.contains(st.st_dev)) {
            devices.append(st.st_dev);
            one.append(fd);
        }
    };
    add(m_manifestFd);
    for (int fd : fds)
        add(fd);
    for (int fd : std::as_const(one))
        if (::syncfs(fd) != 0)
            return false;
    m_unflushed = false;
    return true;
}

int SaveBatch::keepCreated(const QByteArray &target, const QByteArray &content)
{
    if (!m_options.journal)
        return 0;
    if (!open())
        return -1;
    UndoManifest::File f;
    f.index = ++m_count;
    f.kind = UndoManifest::Kind::Created;
    f.path = target;
    f.newHash = UndoManifest::hashOf(content);
    if (!append(UndoManifest::fileRecord(f), true)) {
        fail(systemText(errno));
        return -1;
    }
    return f.index;
}

void SaveBatch::forget(int index)
{
    if (index > 0 && m_dirFd >= 0)
        ::unlinkat(m_dirFd, QByteArray::number(index).constData(), 0);
}

void SaveBatch::written(int index)
{
    // Not flushed: the hashes tell what a file holds if this line is lost.
    if (index > 0 && m_manifestFd >= 0)
        DescriptorIo::write(m_manifestFd, UndoManifest::writtenRecord(index));
}

void SaveBatch::changedMeanwhile(int index, int fileFd)
{
    if (index <= 0 || m_manifestFd < 0)
        return;
    const QByteArray name = QByteArray::number(index);
    struct stat kept, now;
    const bool linked = ::fstatat(m_dirFd, name.constData(), &kept, AT_SYMLINK_NOFOLLOW) == 0
        && ::fstat(fileFd, &now) == 0 && kept.st_ino == now.st_ino && kept.st_dev == now.st_dev;
    if (!linked) {
        const int copy = ::openat(m_dirFd, name.constData(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
        if (copy >= 0) {
            DescriptorIo::write(copy, DescriptorIo::read(fileFd));
            ::fsync(copy);
            ::close(copy);
        }
    }
    append(UndoManifest::changedRecord(index), true);
}

void SaveBatch::sweepFolder(int folderFd, const QByteArray &folder)
{
    if (m_swept.contains(folder))
        return;
    m_swept.insert(folder);
    const int fd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *d = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!d) {
        if (fd >= 0)
            ::close(fd);
        return;
    }
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    while (const dirent *e = ::readdir(d)) {
        const QByteArray name(e->d_name);
        const bool unwritten = name.endsWith(".tmp"), previous = name.endsWith(".old");
        if (!name.startsWith(".quav-") || (!unwritten && !previous))
            continue;
        const int leftover = ::openat(folderFd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat st;
        // A live save holds a lock on each file of its own.
        if (leftover < 0 || ::fstat(leftover, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()
            || now - st.st_mtim.tv_sec < kLeftoverAgeSecs || ::flock(leftover, LOCK_EX | LOCK_NB) != 0) {
            if (leftover >= 0)
                ::close(leftover);
            continue;
        }
        const QByteArray path = (folder.endsWith('/') ? folder : folder + '/') + name;
        if (unwritten)
            ::unlinkat(folderFd, e->d_name, 0);
        else
            m_notices.append(NativeName::decodePath(path) + QStringLiteral("\r\n")
                             + QStringLiteral("中断された保存の前の内容が残っています。確かめてから削除してください。"));
        ::close(leftover);
    }
    ::closedir(d);
}

void SaveBatch::finish()
{
    if (m_manifestFd >= 0) {
        append(UndoManifest::stateRecord(UndoManifest::State::Done), true);
        ::close(m_manifestFd);
        m_manifestFd = -1;
    }
    if (m_dirFd >= 0) {
        ::close(m_dirFd);
        m_dirFd = -1;
    }
}
