#include "search/WordStream.h"

#include "platform/Cp932.h"
#include "search/WordMatcher.h"

#include <algorithm>

namespace {

// How many bytes at the end of a piece of UTF-8 begin a sequence that the
// piece does not finish.
qsizetype utf8Cut(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype back = 1; back <= 3 && back <= n; ++back) {
        const uchar b = p[n - back];
        if (b >= 0x80 && b <= 0xBF)
            continue; // a continuation byte: its lead is further back
        const qsizetype need = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return need > back ? back : 0;
    }
    return 0;
}

} // namespace

WordStream::WordStream(const WordMatcher &matcher)
    : m_matcher(matcher),
      m_possible(matcher.canMatch() && !matcher.word().contains(QLatin1Char('\n'))
                 && !matcher.word().contains(QLatin1Char('\r')))
{
}

bool WordStream::feed(QByteArrayView piece, bool last)
{
    if (m_found || !m_possible)
        return m_found;
    QByteArrayView bytes = piece;
    if (!m_pending.isEmpty()) {
        m_pending.append(piece);
        bytes = m_pending;
    }
    const qsizetype kept = m_text.size();
    m_text.resize(kept + bytes.size());
    auto *chars = reinterpret_cast<char16_t *>(m_text.data()) + kept;
    // A character cut by the end of the piece waits for the next one, unless
    // nothing follows.
    QByteArray carry;
    if (!last && m_matcher.encoding() == TextEncoding::Utf8) {
        const qsizetype cut = utf8Cut(bytes);
        carry = bytes.sliced(bytes.size() - cut).toByteArray();
        bytes = bytes.first(bytes.size() - cut);
    }
    qsizetype n = m_matcher.decodeTo(bytes, chars);
    if (!last && n > 0 && m_matcher.encoding() == TextEncoding::Cp932) {
        const uchar end = uchar(bytes.back());
        if (Cp932::isLeadByte(end) && chars[n - 1] == char16_t(Cp932::kRawByteBase + end)) {
            carry.append(char(end));
            --n;
        }
    }
    m_text.truncate(kept + n);
    m_pending = carry;
    m_found = m_matcher.confirm(m_text);
    // A match may begin in this piece and end in the next one.
    const qsizetype keep = std::min(m_text.size(), m_matcher.word().size() - 1);
    m_text.remove(0, m_text.size() - keep);
    return m_found;
}
