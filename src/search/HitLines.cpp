#include "search/HitLines.h"

#include "search/FileScan.h"
#include "search/WordMatcher.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool isBreak(uchar c) { return c == '\n' || c == '\r'; }

} // namespace

HitLines::HitLines(const WordMatcher &matcher, QByteArray path, qint64 firstLine)
    : m_matcher(&matcher), m_path(std::move(path)), m_line(firstLine)
{
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

void HitLines::take(QByteArrayView lines, QByteArray &out, bool more)
{
    const auto *d = reinterpret_cast<const uchar *>(lines.data());
    const qsizetype size = lines.size();
    qsizetype counted = 0; // m_line is the number of the line that begins here
    if (m_matcher->canMatch()) {
        WordMatcher::Cursor cursor(*m_matcher, lines);
        qsizetype from = 0;
        for (qsizetype at; (at = cursor.next(from)) >= 0;) {
            // CR and LF are never trail bytes of code page 932 nor part of a
            // UTF-8 sequence: a line begins at a character.
            qsizetype begin = at;
            while (begin > counted && !isBreak(d[begin - 1]))
                --begin;
            qsizetype end = at;
            while (end < size && !isBreak(d[end]))
                ++end;
            const QString text = m_matcher->decode(lines.sliced(begin, end - begin));
            if (m_matcher->confirm(text)) {
                m_line += countBreaks(lines.sliced(counted), begin - counted);
                counted = begin;
                m_found = true;
                out += m_path;
                out += ':';
                out += QByteArray::number(m_line);
                out += ':';
                out += text.toUtf8();
                out += '\n';
            }
            from = end + 1;
        }
    }
    if (more)
        m_line += countBreaks(lines.sliced(counted), size - counted);
}

void HitLines::takeText(QStringView text, const QString &word, bool ignoreCase, QByteArray &out)
{
    FileScan::textHits(text, word, ignoreCase, [&](qint64 line, QStringView hit) {
        m_found = true;
        out += m_path;
        out += ':';
        out += QByteArray::number(line);
        out += ':';
        out += hit.toUtf8();
        out += '\n';
    });
}
