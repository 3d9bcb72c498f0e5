#include "search/WordMatcher.h"

#include "platform/Cp932.h"

#include <QList>

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

// Every character that code page 932 text decodes to, with each code (< 0x100
// one byte, else lead << 8 | trail) that decodes to it.
// Built once from the decoder itself, so that the pattern agrees with what a
// file decodes to; one decode call over all pairs, each followed by LF (which
// is never a trail byte, so a pair that is no character cannot swallow it).
struct DecodedCode
{
    char16_t ch;
    quint16 code;
};

std::vector<DecodedCode> buildInverse()
{
    std::vector<DecodedCode> out;
    QByteArray probe;
    std::vector<quint16> probed;
    for (int b = 0; b < 0x100; ++b) {
        if (b == '\n')
            continue;
        probe.append(char(b));
        probe.append('\n');
        probed.push_back(quint16(b));
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!Cp932::isLeadByte(uchar(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            probe.append(char(lead));
            probe.append(char(trail));
            probe.append('\n');
            probed.push_back(quint16(lead << 8 | trail));
        }
    }
    // The decoded text is walked in place: a list of its 12,000 lines would
    // cost more than the decoding.
    const QString decoded = Cp932::decode(probe);
    const QStringView text(decoded);
    size_t k = 0;
    for (qsizetype from = 0; k < probed.size() && from < text.size(); ++k) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), from);
        if (end < 0)
            end = text.size();
        // A lone byte decodes to itself, a half-width katakana or a raw-byte
        // character (also what a lead byte without a valid trail gives); a
        // pair that is a character decodes to one character.
        if (end - from == 1)
            out.push_back({text.at(from).unicode(), probed[k]});
        from = end + 1;
    }
    out.push_back({u'\n', quint16('\n')});
    return out;
}

const std::vector<DecodedCode> &inverse()
{
    static const std::vector<DecodedCode> table = buildInverse();
    return table;
}

void appendCodes(char16_t c, std::vector<quint16> &out)
{
    for (const DecodedCode &d : inverse())
        if (d.ch == c)
            out.push_back(d.code);
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

// The characters whose simple case fold is a given one, for the folds that
// more than their own character has; built once over the code points of the
// first two planes: beyond them (ideographs, tags, private use) no
// character has a case, and each search asking for it pays for the table.
const std::unordered_map<char32_t, std::vector<char32_t>> &foldGroups()
{
    static const auto groups = [] {
        std::unordered_map<char32_t, std::vector<char32_t>> g;
        for (char32_t u = 0; u < 0x20000; ++u) {
            if (u >= 0xD800 && u <= 0xDFFF)
                continue;
            const char32_t f = QChar::toCaseFolded(u);
            if (f != u)
                g[f].push_back(u);
        }
        return g;
    }();
    return groups;
}

QByteArray utf8Of(char32_t u)
{
    return QString::fromUcs4(&u, 1).toUtf8();
}

QByteArray codeBytes(quint16 code)
{
    QByteArray b;
    if (code > 0xFF)
        b.append(char(code >> 8));
    b.append(char(code & 0xFF));
    return b;
}

} // namespace

WordMatcher::WordMatcher(const QString &word, bool ignoreCase, TextEncoding encoding)
    : m_word(word), m_ignoreCase(ignoreCase),
      m_encoding(TextEncodings::isUtf8(encoding) ? TextEncoding::Utf8 : TextEncoding::Cp932)
{
    Forms forms;
    m_canMatch = m_encoding == TextEncoding::Utf8 ? utf8Forms(forms) : cp932Forms(forms);
    if (m_canMatch)
        buildPattern(forms);
}

qsizetype WordMatcher::decodeTo(QByteArrayView bytes, char16_t *out) const
{
    return m_encoding == TextEncoding::Utf8 ? TextEncodings::decodeUtf8To(bytes, out) : Cp932::decodeTo(bytes, out);
}

QString WordMatcher::decode(QByteArrayView bytes) const
{
    QString out(bytes.size(), Qt::Uninitialized);
    out.truncate(decodeTo(bytes, reinterpret_cast<char16_t *>(out.data())));
    return out;
}

bool WordMatcher::cp932Forms(Forms &forms) const
{
    forms.reserve(size_t(m_word.size()));
    for (QChar ch : m_word) {
        std::vector<quint16> alternatives;
        if (m_ignoreCase) {
            const char16_t fold = QChar::toCaseFolded(ch.unicode());
            for (const DecodedCode &d : inverse())
                if (QChar::toCaseFolded(d.ch) == fold)
                    alternatives.push_back(d.code);
        } else {
            appendCodes(ch.unicode(), alternatives);
        }
        if (alternatives.empty())
            return false;
        std::vector<QByteArray> f;
        for (quint16 code : alternatives)
            f.push_back(codeBytes(code));
        forms.push_back(std::move(f));
    }
    return true;
}

bool WordMatcher::utf8Forms(Forms &forms) const
{
    for (qsizetype i = 0; i < m_word.size(); ++i) {
        const QChar ch = m_word.at(i);
        char32_t u = ch.unicode();
        if (ch.isHighSurrogate() && i + 1 < m_word.size() && m_word.at(i + 1).isLowSurrogate())
            u = QChar::surrogateToUcs4(ch, m_word.at(++i));
        else if (ch.isSurrogate())
            return false; // no UTF-8 text decodes to a lone surrogate
        std::vector<QByteArray> f;
        if (m_ignoreCase) {
            const char32_t fold = QChar::toCaseFolded(u);
            f.push_back(utf8Of(fold));
            const auto &groups = foldGroups();
            if (const auto it = groups.find(fold); it != groups.end())
                for (char32_t other : it->second)
                    f.push_back(utf8Of(other));
        } else {
            f.push_back(utf8Of(u));
        }
        // A raw-byte character also stands for the invalid byte it keeps.
        if (u >= Cp932::kRawByteBase + 0x80 && u <= Cp932::kRawByteBase + 0xFF)
            f.push_back(QByteArray(1, char(u - Cp932::kRawByteBase)));
        forms.push_back(std::move(f));
    }
    return true;
}

void WordMatcher::buildPattern(const Forms &forms)
{
    // The pattern is the longest run of characters whose byte forms all have
    // the same length, so that each byte offset of the run is fixed. (A
    // character with forms of several lengths ends a run.)
    auto width = [](const std::vector<QByteArray> &alt) {
        const qsizetype w = alt.front().size();
        for (const QByteArray &b : alt)
            if (b.size() != w)
                return qsizetype(0);
        return w;
    };
    size_t bestStart = 0, bestEnd = 0, bestBytes = 0;
    for (size_t i = 0; i < forms.size();) {
        if (width(forms[i]) == 0) {
            ++i;
            continue;
        }
        size_t j = i, bytes = 0;
        while (j < forms.size() && width(forms[j]) != 0)
            bytes += size_t(width(forms[j++]));
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
    for (size_t i = bestStart; i < bestEnd; ++i) {
        const auto &alt = forms[i];
        for (qsizetype k = 0; k < alt.front().size(); ++k) {
            std::bitset<256> set;
            for (const QByteArray &b : alt)
                set.set(uchar(b.at(k)));
            m_classes.push_back(set);
        }
    }
    std::array<qint64, 256> cost;
    for (int b = 0; b < 256; ++b)
        cost[size_t(b)] = byteCost(uchar(b));
    pickAnchor(cost);
}

void WordMatcher::pickAnchor(const std::array<qint64, 256> &cost)
{
    // The anchor is the offset whose accepted bytes are rarest taken
    // together; it is scanned for with memchr, one sweep per accepted byte.
    qint64 bestCost = -1;
    for (int k = 0; k < int(m_classes.size()); ++k) {
        const auto &set = m_classes[size_t(k)];
        if (set.count() > kMaxAnchorBytes)
            continue;
        qint64 sum = 0;
        for (int b = 0; b < 256; ++b)
            if (set.test(size_t(b)))
                sum += cost[size_t(b)];
        if (bestCost < 0 || sum < bestCost) {
            bestCost = sum;
            m_anchor = k;
        }
    }
    m_anchorBytes.clear();
    if (bestCost < 0) {
        // Every offset accepts many bytes: no cheap scan; every line is
        // decoded and compared.
        m_prefilter = Prefilter::EveryLine;
        return;
    }
    m_prefilter = Prefilter::ByteClasses;
    for (int b = 0; b < 256; ++b)
        if (m_classes[size_t(m_anchor)].test(size_t(b)))
            m_anchorBytes.append(char(b));
}

void WordMatcher::tune(QByteArrayView sample)
{
    if (m_classes.empty() || sample.isEmpty())
        return;
    std::array<qint64, 256> count{};
    for (char c : sample)
        ++count[uchar(c)];
    pickAnchor(count);
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

bool WordMatcher::Cursor::nextHitLine(qsizetype from, qsizetype &begin, qsizetype &end, QString &text)
{
    const auto isBreak = [](uchar c) { return c == '\n' || c == '\r'; };
    for (qsizetype at; (at = next(from)) >= 0; from = end + 1) {
        begin = at;
        while (begin > 0 && !isBreak(m_data[begin - 1]))
            --begin;
        end = at;
        while (end < m_size && !isBreak(m_data[end]))
            ++end;
        text = m.decode(QByteArrayView(m_data + begin, end - begin));
        if (m.confirm(text))
            return true;
    }
    return false;
}
