#include "search/HitLines.h"

#include "search/FileScan.h"
#include "search/WordMatcher.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool isBreak(uchar c) { return c == '\n' || c == '\r'; }

// A record: line, offset, length and the text's units as qint64, then the
// units, padded to a multiple of 8 bytes so that the next record and every
// text stay aligned.
constexpr qsizetype kRecordHead = 4 * sizeof(qint64);

qsizetype padded(qsizetype units)
{
    return (units * qsizetype(sizeof(char16_t)) + 7) & ~qsizetype(7);
}

} // namespace

HitLines::HitLines(const WordMatcher &matcher, QByteArray path, qint64 firstLine, Form form)
    : m_matcher(&matcher), m_path(std::move(path)), m_line(firstLine), m_form(form)
{
}

void HitLines::put(qint64 offset, qint64 length, QStringView text, QByteArray &out)
{
    m_found = true;
    if (m_form == Form::Grep) {
        out += m_path;
        out += ':';
        out += QByteArray::number(m_line);
        out += ':';
        out += text.toUtf8();
        out += '\n';
        return;
    }
    const qint64 head[4] = {m_line, offset, length, text.size()};
    const qsizetype at = out.size();
    out.resize(at + kRecordHead + padded(text.size()), '\0');
    std::memcpy(out.data() + at, head, kRecordHead);
    std::memcpy(out.data() + at + kRecordHead, text.utf16(), size_t(text.size()) * sizeof(char16_t));
}

qsizetype HitLines::readRecord(QByteArrayView records, qsizetype from, Record &record)
{
    if (from < 0 || from + kRecordHead > records.size())
        return -1;
    qint64 head[4];
    std::memcpy(head, records.data() + from, kRecordHead);
    record.line = head[0];
    record.offset = head[1];
    record.length = head[2];
    const qsizetype units = qsizetype(head[3]);
    const qsizetype textAt = from + kRecordHead;
    if (units < 0 || textAt + padded(units) > records.size())
        return -1;
    // The buffer begins on an allocation's alignment and every record on a
    // multiple of 8 bytes: the units are aligned for char16_t.
    Q_ASSERT(quintptr(records.data() + textAt) % alignof(char16_t) == 0);
    record.text = QStringView(reinterpret_cast<const char16_t *>(records.data() + textAt), units);
    return textAt + padded(units);
}

qint64 HitLines::countBreaks(QByteArrayView bytes, qsizetype n)
{
    const auto *d = reinterpret_cast<const uchar *>(bytes.data());
    // Every byte of a file read in several pieces is counted: 16 at a time
    // where the machine can, each with the byte after it (CR LF or a lone CR).
    const qsizetype whole = n < bytes.size() ? n : n - 1;
    qint64 count = 0;
    qsizetype i = 0;
#if defined(__SSE2__)
    // Per byte lane, a count that each block raises by at most one; summed
    // up before a lane could overflow.
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= whole) {
        __m128i lanes = zero;
        for (int block = 0; block < 255 && i + 16 <= whole; ++block, i += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(d + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(d + i + 1));
            const __m128i lfs = _mm_cmpeq_epi8(here, lf);
            const __m128i loneCrs = _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(here, cr));
            lanes = _mm_sub_epi8(lanes, _mm_or_si128(lfs, loneCrs)); // a match is -1
        }
        const __m128i sums = _mm_sad_epu8(lanes, zero);
        count += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
    }
#endif
    for (; i < whole; ++i)
        count += (d[i] == '\n') | ((d[i] == '\r') & (d[i + 1] != '\n'));
    if (whole < n)
        count += isBreak(d[n - 1]);
    return count;
}

void HitLines::take(QByteArrayView lines, QByteArray &out, bool more, qint64 pieceAt)
{
    qsizetype counted = 0; // m_line is the number of the line that begins here
    if (m_matcher->canMatch()) {
        WordMatcher::Cursor cursor(*m_matcher, lines);
        qsizetype begin = 0, end = 0;
        QString text;
        for (qsizetype from = 0; cursor.nextHitLine(from, begin, end, text); from = end + 1) {
            m_line += countBreaks(lines.sliced(counted), begin - counted);
            counted = begin;
            put(pieceAt + begin, end - begin, text, out);
        }
    }
    if (more)
        m_line += countBreaks(lines.sliced(counted), lines.size() - counted);
}

void HitLines::takeText(QStringView text, const QString &word, bool ignoreCase, QByteArray &out, qint64 textAt,
                        qint64 textBytes)
{
    FileScan::textHits(text, word, ignoreCase, [&](qint64 line, QStringView hit) {
        m_line = line;
        // Two bytes a unit; only an odd last byte of the file is a unit of
        // one (it ends the text).
        const qint64 begin = 2 * (hit.data() - text.data());
        const qint64 end = std::min<qint64>(begin + 2 * hit.size(), textBytes);
        put(textAt + begin, end - begin, hit, out);
    });
}
