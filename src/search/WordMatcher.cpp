#include "search/WordMatcher.h"

#include "platform/Cp932.h"

#include <QHash>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// Every character that code page 932 text decodes to, with all the codes
// (< 0x100 one byte, else lead << 8 | trail) that decode to it, and the
// characters grouped by case fold. Built once, from the decoder itself, so
// that the pattern agrees with what a file decodes to.
struct DecodeInverse
{
    QHash<char16_t, std::vector<quint16>> codes;
    QHash<char16_t, std::vector<char16_t>> byFold;

    DecodeInverse()
    {
        for (int b = 0; b < 0x100; ++b) {
            const char one = char(b);
            // A lone byte: ASCII, half-width katakana, or a raw byte that is
            // kept as a private-use character (which is also what a lead byte
            // without a valid trail decodes to).
            const QString s = Cp932::decode(QByteArrayView(&one, 1));
            if (s.size() == 1)
                codes[s.at(0).unicode()].push_back(quint16(b));
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!Cp932::isLeadByte(uchar(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const char pair[2] = {char(lead), char(trail)};
                const QString s = Cp932::decode(QByteArrayView(pair, 2));
                if (s.size() == 1)
                    codes[s.at(0).unicode()].push_back(quint16(lead << 8 | trail));
            }
        }
        for (auto it = codes.cbegin(); it != codes.cend(); ++it)
            byFold[QChar::toCaseFolded(it.key())].push_back(it.key());
    }
};

const DecodeInverse &inverse()
{
    static const auto table = std::make_unique<DecodeInverse>();
    return *table;
}

// A rough frequency of each byte in Japanese text in code page 932 with some
// ASCII, to scan for the rarest byte of the pattern. Only speed depends on it.
int byteCost(uchar b)
{
    if (b == ' ' || b == '\r' || b == '\n')
        return 60;
    if (b >= 0x81 && b <= 0x83) // leads of punctuation, hiragana, katakana
        return 100;
    if ((b >= 0x88 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEA)) // kanji leads, also trails
        return 30;
    if ((b >= 0x84 && b <= 0x87) || (b >= 0xEB && b <= 0xFC))
        return 8;
    if (b >= 0xA0 && b <= 0xDF) // hiragana trails, half-width katakana
        return 25;
    if (b >= 'a' && b <= 'z')
        return std::strchr("etaoinsrhl", b) ? 30 : 12;
    if ((b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9'))
        return 12;
    if (b >= 0x40 && b <= 0x7E) // also katakana and kanji trails
        return 12;
    if (b >= 0x21 && b <= 0x3F)
        return 8;
    return 2;
}

} // namespace

WordMatcher::WordMatcher(const QString &word, bool ignoreCase)
    : m_word(word), m_cs(ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive)
{
    const DecodeInverse &inv = inverse();
    std::vector<std::vector<quint16>> codes;
    codes.reserve(size_t(word.size()));
    for (QChar ch : word) {
        std::vector<quint16> alternatives;
        if (ignoreCase) {
            const auto group = inv.byFold.constFind(QChar::toCaseFolded(ch.unicode()));
            if (group != inv.byFold.cend())
                for (char16_t c : *group) {
                    const auto &cc = inv.codes[c];
                    alternatives.insert(alternatives.end(), cc.begin(), cc.end());
                }
        } else {
            const auto found = inv.codes.constFind(ch.unicode());
            if (found != inv.codes.cend())
                alternatives = *found;
        }
        if (alternatives.empty()) {
            m_canMatch = false;
            return;
        }
        codes.push_back(std::move(alternatives));
    }
    buildPattern(codes);
}

void WordMatcher::buildPattern(const std::vector<std::vector<quint16>> &codes)
{
    // The pattern is the longest run of characters whose byte forms all have
    // the same length, so that each byte offset of the run is fixed. (A
    // character with forms of both lengths ends a run; none exists in code
    // page 932 without case folding.)
    auto width = [](const std::vector<quint16> &alt) {
        const bool two = alt.front() > 0xFF;
        for (quint16 c : alt)
            if ((c > 0xFF) != two)
                return 0;
        return two ? 2 : 1;
    };
    size_t bestStart = 0, bestEnd = 0, bestBytes = 0;
    for (size_t i = 0; i < codes.size();) {
        if (width(codes[i]) == 0) {
            ++i;
            continue;
        }
        size_t j = i, bytes = 0;
        while (j < codes.size() && width(codes[j]) != 0)
            bytes += size_t(width(codes[j++]));
        if (bytes > bestBytes) {
            bestStart = i;
            bestEnd = j;
            bestBytes = bytes;
        }
        i = j;
    }
    if (bestBytes == 0) {
        m_prefilter = Prefilter::EveryLine;
        return;
    }
    bool single = true;
    for (size_t i = bestStart; i < bestEnd; ++i) {
        const auto &alt = codes[i];
        if (alt.size() != 1)
            single = false;
        if (width(alt) == 1) {
            std::bitset<256> set;
            for (quint16 c : alt)
                set.set(c);
            m_classes.push_back(set);
        } else {
            std::bitset<256> leads, trails;
            for (quint16 c : alt) {
                leads.set(c >> 8);
                trails.set(c & 0xFF);
            }
            m_classes.push_back(leads);
            m_classes.push_back(trails);
        }
    }
    if (single) {
        m_prefilter = Prefilter::Exact;
        for (size_t i = bestStart; i < bestEnd; ++i) {
            const quint16 c = codes[i].front();
            if (c > 0xFF)
                m_exact.append(char(c >> 8));
            m_exact.append(char(c & 0xFF));
        }
    }
    // Anchor: the offset whose accepted bytes are rarest taken together.
    int bestCost = -1;
    for (int k = 0; k < int(m_classes.size()); ++k) {
        const auto &set = m_classes[size_t(k)];
        if (set.count() > kMaxAnchorBytes)
            continue;
        int cost = 0;
        for (int b = 0; b < 256; ++b)
            if (set.test(size_t(b)))
                cost += byteCost(uchar(b));
        if (bestCost < 0 || cost < bestCost) {
            bestCost = cost;
            m_anchor = k;
        }
    }
    if (bestCost < 0) {
        // Every offset accepts many bytes: no cheap scan; every line is
        // decoded and compared.
        m_prefilter = Prefilter::EveryLine;
        m_classes.clear();
        return;
    }
    if (m_prefilter != Prefilter::Exact)
        m_prefilter = Prefilter::ByteClasses;
    for (int b = 0; b < 256; ++b)
        if (m_classes[size_t(m_anchor)].test(size_t(b)))
            m_anchorBytes.append(char(b));
}

WordMatcher::Cursor::Cursor(const WordMatcher &matcher, QByteArrayView bytes)
    : m(matcher), m_data(reinterpret_cast<const uchar *>(bytes.data())), m_size(bytes.size())
{
    // -1: not searched yet.
    m_nextAt.fill(-1);
}

bool WordMatcher::Cursor::fits(qsizetype start) const
{
    const qsizetype n = qsizetype(m.m_classes.size());
    if (start < 0 || start + n > m_size)
        return false;
    for (qsizetype k = 0; k < n; ++k)
        if (!m.m_classes[size_t(k)].test(m_data[start + k]))
            return false;
    return true;
}

qsizetype WordMatcher::Cursor::next(qsizetype from)
{
    if (from < 0)
        from = 0;
    if (from >= m_size)
        return -1;
    switch (m.m_prefilter) {
    case Prefilter::EveryLine:
        return from;
    case Prefilter::Exact: {
        const void *hit = ::memmem(m_data + from, size_t(m_size - from), m.m_exact.constData(),
                                   size_t(m.m_exact.size()));
        return hit ? static_cast<const uchar *>(hit) - m_data : -1;
    }
    case Prefilter::ByteClasses:
        break;
    }
    const qsizetype anchor = m.m_anchor;
    const qsizetype count = m.m_anchorBytes.size();
    qsizetype at = from + anchor;
    for (;;) {
        qsizetype best = m_size;
        for (qsizetype j = 0; j < count; ++j) {
            qsizetype &p = m_nextAt[size_t(j)];
            if (p < at && p != m_size) {
                const void *q = at < m_size ? std::memchr(m_data + at, uchar(m.m_anchorBytes[j]), size_t(m_size - at))
                                            : nullptr;
                p = q ? static_cast<const uchar *>(q) - m_data : m_size;
            }
            best = std::min(best, p);
        }
        if (best >= m_size)
            return -1;
        if (fits(best - anchor))
            return best - anchor;
        at = best + 1;
    }
}
