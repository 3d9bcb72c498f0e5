#include "search/LineMeter.h"

#include "platform/Cp932.h"
#include "platform/TextEncoding.h"

#include <cstring>
#include <vector>

namespace {

// Characters that code page 932 or UTF-8 bytes decode to.
qsizetype characters(QByteArrayView bytes, bool utf8)
{
    // Only lines near the limit are counted: at most kMaxUtf8LineBytes at a time.
    thread_local std::vector<char16_t> chars;
    if (chars.size() < size_t(bytes.size()))
        chars.resize(size_t(bytes.size()));
    return utf8 ? TextEncodings::decodeUtf8To(bytes, chars.data()) : Cp932::decodeTo(bytes, chars.data());
}

} // namespace

void LineMeter::measure(QByteArrayView line)
{
    if (line.size() <= kMaxLineChars)
        return;
    bool over;
    if (line.size() > maxLineBytes())
        over = true;
    else if (m_count == Count::Either)
        over = characters(line, true) > kMaxLineChars
            && (line.size() > kMaxLineBytes || characters(line, false) > kMaxLineChars);
    else
        over = characters(line, m_count == Count::Utf8) > kMaxLineChars;
    if (over)
        m_overlong = true;
}

void LineMeter::feed(QByteArrayView bytes, qint64 limit)
{
    const char *data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype i = m_taken;
    if (i >= size)
        return;
    if (i > 0 && data[i] == '\n' && data[i - 1] == '\r')
        m_lineStart = ++i; // counted with its CR
    bool stopped = false;
    while (i < size) {
        if (m_overlong || m_breaks > limit) {
            stopped = true;
            break;
        }
        // The next LF is remembered: a file of lone CRs would otherwise
        // have the rest of it searched for an LF at every line.
        if (m_nextLf < i) {
            const void *lf = std::memchr(data + i, '\n', size_t(size - i));
            m_nextLf = lf ? static_cast<const char *>(lf) - data : size;
        }
        const qsizetype lfAt = m_nextLf;
        const void *cr = std::memchr(data + i, '\r', size_t(lfAt - i));
        qsizetype at, next;
        if (cr) {
            at = static_cast<const char *>(cr) - data;
            next = (at + 1 < size && data[at + 1] == '\n') ? at + 2 : at + 1;
        } else if (lfAt < size) {
            at = lfAt;
            next = lfAt + 1;
        } else {
            break; // no break left
        }
        measure(bytes.sliced(m_lineStart, at - m_lineStart));
        ++m_breaks;
        i = m_lineStart = next;
    }
    if (!stopped)
        measure(bytes.sliced(m_lineStart, size - m_lineStart)); // the line not ended yet
    m_taken = size;
    m_endsInBreak = data[size - 1] == '\n' || data[size - 1] == '\r';
    if (m_nextLf >= size)
        m_nextLf = -1; // more bytes may hold one
}
