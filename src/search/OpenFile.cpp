#include "search/OpenFile.h"

#include "platform/DiskStamp.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString failure(const QString &path, const QString &what, int err)
{
    return path + QStringLiteral("\r\n") + what + QStringLiteral("（") + QString::fromLocal8Bit(std::strerror(err))
        + QStringLiteral("）");
}

} // namespace

bool OpenFile::openNative(const QByteArray &path, const QString &shown, QString *error)
{
    return openAt(AT_FDCWD, path, shown, error);
}

bool OpenFile::openAt(int folderFd, const QByteArray &name, const QString &shownFolder, const QString &shownName,
                      QString *error)
{
    close();
    m_shownFolder = shownFolder;
    m_shownName = shownName;
    m_atEnd = false;
    m_expected = -1;
    m_offset = 0;
    m_modified = 0;
    m_modifiedNsecs = 0;
    m_fd = ::openat(folderFd, name.constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        if (error)
            *error = failure(shownFolder + shownName, QStringLiteral("ファイルを開けません。"), errno);
        return false;
    }
    struct stat st;
    if (::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode)) {
        m_expected = st.st_size;
        m_modified = st.st_mtim.tv_sec;
        m_modifiedNsecs = DiskStamp::of(st).mtimeNs;
    }
    return true;
}

void OpenFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool OpenFile::skipTo(qint64 offset, QString *error)
{
    if (m_fd < 0 || ::lseek(m_fd, off_t(offset), SEEK_SET) < 0) {
        if (error)
            *error = failure(m_shownFolder + m_shownName, QStringLiteral("ファイルを読み込めません。"), m_fd < 0 ? EBADF : errno);
        return false;
    }
    m_offset = offset;
    m_atEnd = m_expected >= 0 && m_offset >= m_expected;
    return true;
}

bool OpenFile::readMore(QByteArray &buffer, qsizetype upTo, QString *error)
{
    if (m_atEnd)
        return true;
    if (m_fd < 0)
        return false;
    qsizetype size = buffer.size();
    const qsizetype want = upTo < 0 ? (m_expected >= 0 ? qsizetype(m_expected) : size + 65536) : upTo;
    if (buffer.capacity() < want)
        buffer.reserve(want);
    buffer.resize(std::max(buffer.capacity(), want));
    while (upTo < 0 || size < upTo) {
        if (size == buffer.size())
            buffer.resize(buffer.size() * 2 + 4096); // larger than when opened
        // A head is read no further than asked, whatever the buffer holds.
        const qsizetype room = buffer.size() - size;
        const qsizetype ask = upTo < 0 ? room : std::min(room, upTo - size);
        const ssize_t n = ::read(m_fd, buffer.data() + size, size_t(ask));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            buffer.truncate(size);
            close();
            m_atEnd = true;
            if (error)
                *error = failure(m_shownFolder + m_shownName, QStringLiteral("ファイルを読み込めません。"), err);
            return false;
        }
        size += n;
        m_offset += n;
        // A file read to the size it had when opened is taken as complete,
        // saving the read that would report its end.
        if (n == 0 || (m_expected >= 0 && m_offset == m_expected)) {
            m_atEnd = true;
            break;
        }
    }
    buffer.truncate(size); // keeps the capacity
    return true;
}
