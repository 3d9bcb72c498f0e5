#pragma once

#include <QByteArrayView>

#include <algorithm>

// The lines of a file and whether each fits the work area, taken in as the
// file's bytes arrive, each byte once. Lines end as the text-file layer ends
// them (CR LF, LF or a lone CR; a last line without a break counts; no bytes
// at all are one line). A CR that is the last byte so far ends its line
// whatever follows it; an LF right after it then belongs to it.
class LineMeter
{
public:
    // Positions in a line are 16-bit: a line of more characters is refused.
    static constexpr qsizetype kMaxLineChars = 32767;
    // A character takes at most two bytes in code page 932, a UTF-16 unit at
    // most three in UTF-8: a line of more bytes than this cannot fit,
    // whatever it holds.
    static constexpr qsizetype kMaxLineBytes = 2 * kMaxLineChars;
    static constexpr qsizetype kMaxUtf8LineBytes = 3 * kMaxLineChars;

    // How characters are counted: in one encoding, or, while a file's
    // encoding is not known yet (valid UTF-8 so far), a line is overlong only
    // when it is in both.
    enum class Count { Cp932, Utf8, Either };
    void setCount(Count count) { m_count = count; }
    qsizetype maxLineBytes() const { return m_count == Count::Cp932 ? kMaxLineBytes : kMaxUtf8LineBytes; }

    // Takes in the bytes from taken() on. `bytes` is everything read so far:
    // what was given before, and more. Once more than `limit` lines or an
    // overlong line are seen, the rest is not looked at.
    void feed(QByteArrayView bytes, qint64 limit);

    // Lines of the bytes taken: never more than the whole file has (nor all
    // of them once the meter stopped looking).
    qint64 lines() const { return std::max<qint64>(1, m_breaks + (m_endsInBreak ? 0 : 1)); }
    // A line, or the part of one taken so far, has more than kMaxLineChars
    // characters.
    bool overlong() const { return m_overlong; }
    bool fits(qint64 limit) const { return !m_overlong && lines() <= limit; }
    qsizetype taken() const { return m_taken; }

private:
    void measure(QByteArrayView line);

    qint64 m_breaks = 0;
    qsizetype m_taken = 0;
    qsizetype m_lineStart = 0;
    qsizetype m_nextLf = -1; // the first LF at or after the last look; -1: look again
    bool m_endsInBreak = false;
    bool m_overlong = false;
    Count m_count = Count::Cp932;
};
