#include "platform/UndoStore.h"

#include "platform/DescriptorIo.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Creates the missing folders of `path` with mode 0700.
bool makeFolders(const QByteArray &path)
{
    for (qsizetype slash = path.indexOf('/', 1); ; slash = path.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? path : path.left(slash);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash < 0)
            return true;
    }
}

qint64 folderBytes(int dirFd)
{
    qint64 total = 0;
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *d = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!d) {
        if (fd >= 0)
            ::close(fd);
        return 0;
    }
    while (const dirent *e = ::readdir(d)) {
        struct stat st;
        if (e->d_name[0] != '.' && ::fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
            total += qint64(st.st_blocks) * 512;
    }
    ::closedir(d);
    return total;
}

void removeBatch(int journalFd, const QString &id)
{
    const QByteArray name = QFile::encodeName(id);
    const int dir = ::openat(journalFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir < 0)
        return;
    if (DIR *d = ::fdopendir(::dup(dir))) {
        while (const dirent *e = ::readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                ::unlinkat(dir, e->d_name, 0);
        ::closedir(d);
    }
    ::close(dir);
    ::unlinkat(journalFd, name.constData(), AT_REMOVEDIR);
}

// The last bytes of a manifest: a finished batch's ends with its state line
// (nothing is appended after it but another state).
QByteArray tailOf(int fd)
{
    struct stat st;
    char tail[16];
    if (::fstat(fd, &st) != 0 || st.st_size < off_t(sizeof tail))
        return QByteArray();
    const ssize_t n = ::pread(fd, tail, sizeof tail, st.st_size - off_t(sizeof tail));
    return n == ssize_t(sizeof tail) ? QByteArray(tail, n) : QByteArray();
}

bool endsFinished(const QByteArray &tail)
{
    return tail.endsWith("\tdone\n") || tail.endsWith("\tundone\n") || tail.endsWith("\tkept\n");
}

// The state a manifest's last line sets, when that line is a final state.
std::optional<UndoManifest::State> finalState(const QByteArray &tail)
{
    for (const UndoManifest::State state :
         {UndoManifest::State::Done, UndoManifest::State::Undone, UndoManifest::State::Kept})
        if (tail.endsWith('\n' + UndoManifest::stateRecord(state)))
            return state;
    return std::nullopt;
}

// A finished batch's header and last line are all that pruning needs of it:
// its file records (the bulk of a large batch) are not read. The header's
// lines come first, well within this.
constexpr qsizetype kHeaderBytes = 4096;

std::optional<UndoStore::Batch> readBatch(int journalFd, const QString &id, bool onlyInterrupted = false,
                                          bool forPruning = false)
{
    const QByteArray name = QFile::encodeName(id);
    const int dir = ::openat(journalFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir < 0)
        return std::nullopt;
    std::optional<UndoStore::Batch> out;
    const int fd = ::openat(dir, "manifest", O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    const QByteArray tail = fd >= 0 ? tailOf(fd) : QByteArray();
    if (fd >= 0 && !(onlyInterrupted && endsFinished(tail))) {
        UndoStore::Batch b;
        b.id = id;
        // A lock nobody holds can be taken (and is let go at once).
        b.running = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
        const std::optional<UndoManifest::State> final = forPruning ? finalState(tail) : std::nullopt;
        bool read = false;
        if (final) {
            QByteArray head(kHeaderBytes, Qt::Uninitialized);
            const ssize_t n = ::pread(fd, head.data(), size_t(head.size()), 0);
            head.truncate(n < 0 ? 0 : n);
            read = UndoManifest::parse(head, b.manifest);
            b.manifest.files.clear();
            b.manifest.state = *final;
        } else if (!(onlyInterrupted && b.running)) {
            read = UndoManifest::parse(DescriptorIo::read(fd), b.manifest);
        }
        if (read && !(onlyInterrupted && !b.interrupted())) {
            if (forPruning)
                b.bytes = folderBytes(dir);
            out = b;
        }
    }
    if (fd >= 0)
        ::close(fd);
    ::close(dir);
    return out;
}

} // namespace

QString UndoStore::folder()
{
    const QString xdg = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base = QDir::isAbsolutePath(xdg) ? xdg : QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/quav/undo"));
}

int UndoStore::openFolder(bool create, QString *reason)
{
    const QByteArray path = QFile::encodeName(folder());
    if (create && !makeFolders(path)) {
        if (reason)
            *reason = QStringLiteral("取り消し用の記録のフォルダー %1 を作れません。（%2）")
                          .arg(folder(), QString::fromLocal8Bit(std::strerror(errno)));
        return -1;
    }
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0 || st.st_uid != ::geteuid()
        || ((st.st_mode & 077) != 0 && ::fchmod(fd, 0700) != 0)) {
        if (reason)
            *reason = fd < 0 && errno == ENOENT
                ? QString()
                : QStringLiteral("取り消し用の記録のフォルダー %1 が自分だけのフォルダーではありません。").arg(folder());
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    return fd;
}

QList<UndoStore::Batch> UndoStore::list()
{
    return list(false, false);
}

QList<UndoStore::Batch> UndoStore::interrupted()
{
    return list(true, false);
}

QList<UndoStore::Batch> UndoStore::list(bool onlyInterrupted, bool forPruning)
{
    QList<Batch> out;
    const int journal = openFolder(false, nullptr);
    if (journal < 0)
        return out;
    if (DIR *d = ::fdopendir(::dup(journal))) {
        while (const dirent *e = ::readdir(d))
            if (e->d_name[0] != '.')
                if (auto b = readBatch(journal, QFile::decodeName(e->d_name), onlyInterrupted, forPruning))
                    out.append(*b);
        ::closedir(d);
    }
    ::close(journal);
    std::sort(out.begin(), out.end(), [](const Batch &a, const Batch &b) {
        return a.manifest.time != b.manifest.time ? a.manifest.time < b.manifest.time : a.id < b.id;
    });
    return out;
}

std::optional<UndoStore::Batch> UndoStore::find(const QString &id)
{
    if (id.isEmpty() || id.contains(QLatin1Char('/')) || id.startsWith(QLatin1Char('.')))
        return std::nullopt;
    const int journal = openFolder(false, nullptr);
    if (journal < 0)
        return std::nullopt;
    auto b = readBatch(journal, id);
    ::close(journal);
    return b;
}

std::optional<UndoStore::Batch> UndoStore::lastUndoable()
{
    const QList<Batch> all = list();
    for (auto it = all.crbegin(); it != all.crend(); ++it)
        if (it->undoable())
            return *it;
    return std::nullopt;
}

UndoStore::Hold::Hold(const QString &id)
{
    const int journal = openFolder(false, nullptr);
    if (journal < 0)
        return;
    m_dirFd = ::openat(journal, QFile::encodeName(id).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    ::close(journal);
    if (m_dirFd < 0)
        return;
    m_fd = ::openat(m_dirFd, "manifest", O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

UndoStore::Hold::~Hold()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_dirFd >= 0)
        ::close(m_dirFd);
}

bool UndoStore::Hold::setState(UndoManifest::State state)
{
    return m_fd >= 0 && DescriptorIo::write(m_fd, UndoManifest::stateRecord(state)) && ::fsync(m_fd) == 0;
}

bool UndoStore::Hold::previous(int index, QByteArray &bytes) const
{
    const int fd = m_dirFd < 0 ? -1
                               : ::openat(m_dirFd, QByteArray::number(index).constData(),
                                          O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    bytes = DescriptorIo::read(fd);
    ::close(fd);
    return true;
}

void UndoStore::prune(int days, qint64 bytes, const QDateTime &now)
{
    const int journal = openFolder(false, nullptr);
    if (journal < 0)
        return;
    const QList<Batch> all = list(false, true);
    qint64 total = 0;
    for (const Batch &b : all)
        total += b.bytes;
    const QDateTime limit = now.addDays(-days);
    // Oldest first: a batch goes when it is too old or the total too large.
    for (const Batch &b : all) {
        if (b.running || b.interrupted())
            continue;
        if (b.manifest.time >= limit && total <= bytes)
            continue;
        removeBatch(journal, b.id);
        total -= b.bytes;
    }
    ::close(journal);
}

void UndoStore::unshareInterrupted()
{
    for (const Batch &b : interrupted()) {
        Hold hold(b.id);
        for (const UndoManifest::File &f : b.manifest.files) {
            struct stat kept, live;
            const QByteArray name = QByteArray::number(f.index);
            if (!hold.held() || f.kind != UndoManifest::Kind::Rename
                || ::fstatat(hold.folderFd(), name.constData(), &kept, AT_SYMLINK_NOFOLLOW) != 0
                || ::stat(f.path.constData(), &live) != 0 || kept.st_ino != live.st_ino || kept.st_dev != live.st_dev)
                continue;
            QByteArray bytes;
            const QByteArray copy = name + ".copy";
            const int fd = ::openat(hold.folderFd(), copy.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
            const bool ok = fd >= 0 && hold.previous(f.index, bytes) && DescriptorIo::write(fd, bytes)
                && ::fsync(fd) == 0;
            if (fd >= 0)
                ::close(fd);
            if (!ok || ::renameat(hold.folderFd(), copy.constData(), hold.folderFd(), name.constData()) != 0)
                ::unlinkat(hold.folderFd(), copy.constData(), 0);
        }
    }
}
