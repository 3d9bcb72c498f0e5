#include "search/FileScan.h"

#include "platform/Cp932.h"
#include "platform/EventPump.h"
#include "platform/TextFile.h"
#include "search/WordMatcher.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kLinesPerYield = 256;

QString readFailure(const QString &path, int err)
{
    return path + QStringLiteral("\r\nファイルを読み込めません。（") + QString::fromLocal8Bit(std::strerror(err))
        + QStringLiteral("）");
}

bool isBreak(uchar c) { return c == '\n' || c == '\r'; }

} // namespace

bool FileScan::load(const QString &path, QString *error)
{
    // Plain POSIX reads into one buffer kept for the whole run: a fresh
    // allocation per file would cost page faults on every large file.
    m_size = 0;
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = path + QStringLiteral("\r\nファイルを開けません。（") + QString::fromLocal8Bit(std::strerror(errno))
                + QStringLiteral("）");
        return false;
    }
    struct stat st;
    qsizetype expected = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        expected = qsizetype(st.st_size);
    if (m_buffer.size() < expected + 1)
        m_buffer.resize(expected + 1);
    for (;;) {
        if (m_size == m_buffer.size())
            m_buffer.resize(m_buffer.size() * 2 + 4096); // the file grew while being read
        const ssize_t n = ::read(fd, m_buffer.data() + m_size, size_t(m_buffer.size() - m_size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            m_size = 0;
            if (error)
                *error = readFailure(path, err);
            return false;
        }
        if (n == 0)
            break;
        m_size += n;
    }
    ::close(fd);
    return true;
}

bool FileScan::Scan_File() const
{
    if (!m_matcher.canMatch())
        return false;
    const uchar *data = reinterpret_cast<const uchar *>(m_buffer.constData());
    WordMatcher::Cursor cursor(m_matcher, QByteArrayView(m_buffer.constData(), m_size));
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = cursor.next(from);
        if (at < 0)
            return false;
        // The line around the candidate. A line always begins at a character
        // boundary: CR and LF are never trail bytes.
        qsizetype begin = at;
        while (begin > 0 && !isBreak(data[begin - 1]))
            --begin;
        qsizetype end = at;
        while (end < m_size && !isBreak(data[end]))
            ++end;
        if (m_matcher.confirm(Cp932::decode(QByteArrayView(m_buffer.constData() + begin, end - begin))))
            return true;
        from = end + 1;
    }
}

qint64 FileScan::countLines(qint64 limit) const
{
    const char *data = m_buffer.constData();
    qint64 lines = 0;
    qsizetype i = 0;
    qsizetype start = 0;
    while (i < m_size && lines <= limit) {
        // LF is the usual break; a lone CR is rare, so look for both and
        // take the nearer.
        const void *lf = std::memchr(data + i, '\n', size_t(m_size - i));
        const qsizetype lfAt = lf ? static_cast<const char *>(lf) - data : m_size;
        const void *cr = std::memchr(data + i, '\r', size_t(lfAt - i));
        if (!cr) {
            if (!lf)
                break;
            ++lines;
            i = start = lfAt + 1;
            continue;
        }
        const qsizetype crAt = static_cast<const char *>(cr) - data;
        ++lines;
        i = start = (crAt + 1 < m_size && data[crAt + 1] == '\n') ? crAt + 2 : crAt + 1;
    }
    if (lines <= limit && (start < m_size || lines == 0))
        ++lines;
    return lines;
}

void FileScan::collect(ScannedFile &out, EventPump *pump) const
{
    out.lines.clear();
    out.hitLines.clear();
    const auto raw = TextFile::splitLines(QByteArrayView(m_buffer.constData(), m_size));
    out.lines.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        QString line = Cp932::decode(raw[i]);
        if (m_matcher.confirm(line))
            out.hitLines.push_back(int(i));
        out.lines.append(std::move(line));
        if (pump && (i + 1) % kLinesPerYield == 0)
            pump->yield();
    }
}
