#include "search/WordStream.h"

#include "platform/Cp932.h"
#include "search/WordMatcher.h"

#include <algorithm>

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
    qsizetype n = Cp932::decodeTo(bytes, chars);
    // A lead byte at the very end decodes alone only when nothing follows
    // it; otherwise it waits for the next piece.
    QByteArray carry;
    if (!last && n > 0) {
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
