#include "search/FileScan.h"

#include "platform/Cp932.h"
#include "platform/EventPump.h"
#include "workarea/LineFormat.h"
#include "search/WordMatcher.h"

#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr int kLinesPerYield = 256;
constexpr qsizetype kBytesPerYield = 1024 * 1024;

bool isBreak(uchar c) { return c == '\n' || c == '\r'; }

} // namespace

qsizetype FileScan::lastLineEnd(QByteArrayView bytes, qsizetype from)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    for (qsizetype end = bytes.size(); end > from; --end)
        if (isBreak(data[end - 1]))
            return end;
    return -1;
}

bool FileScan::Scan_File(const WordMatcher &matcher, QByteArrayView bytes, qsizetype from)
{
    if (!matcher.canMatch())
        return false;
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    WordMatcher::Cursor cursor(matcher, bytes);
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
        while (end < size && !isBreak(data[end]))
            ++end;
        if (matcher.confirm(Cp932::decode(bytes.sliced(begin, end - begin))))
            return true;
        from = end + 1;
    }
}

qint64 FileScan::countLines(QByteArrayView bytes, qint64 limit)
{
    const char *data = bytes.data();
    const qsizetype size = bytes.size();
    qint64 lines = 0;
    qsizetype i = 0;
    qsizetype lfAt = -1;
    while (i < size && lines <= limit) {
        // LF is the usual break; a lone CR is rare, so look for both and
        // take the nearer. The next LF is remembered: lines of lone CRs
        // would otherwise have the rest of the file searched for one each.
        if (lfAt < i) {
            const void *lf = std::memchr(data + i, '\n', size_t(size - i));
            lfAt = lf ? static_cast<const char *>(lf) - data : size;
        }
        const void *cr = std::memchr(data + i, '\r', size_t(lfAt - i));
        if (!cr) {
            if (lfAt == size) {
                ++lines; // a last line without a break
                i = size;
                break;
            }
            ++lines;
            i = lfAt + 1;
            continue;
        }
        const qsizetype crAt = static_cast<const char *>(cr) - data;
        ++lines;
        i = (crAt + 1 < size && data[crAt + 1] == '\n') ? crAt + 2 : crAt + 1;
    }
    return lines == 0 ? 1 : lines;
}

void FileScan::collect(const WordMatcher &matcher, QByteArrayView bytes, const QString &key, ScannedFile &out,
                       EventPump *pump, qint64 lineCount)
{
    out.entries.clear();
    out.hitLines.clear();
    out.entries.reserve(
        qsizetype(lineCount >= 0 ? lineCount : countLines(bytes, std::numeric_limits<qint64>::max() - 1)));
    // Each line is decoded on its own, into a buffer that stays in the cache,
    // and copied into its entry: no decoded copy of the whole file. CR and LF
    // are never trail bytes, so a line decodes as it would within the file.
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    std::vector<char16_t> chars(256);

    const QString head = key + LineFormat::kSeparator;
    out.textOffset = head.size() + 13;
    // ":@:000012.000:@:" after the key; line numbers stay below 32,768 here.
    QChar number[13] = {u'0', u'0', u'0', u'0', u'0', u'0', u'.', u'0', u'0', u'0', u':', u'@', u':'};

    WordMatcher::Cursor cursor(matcher, bytes);
    qsizetype candidate = matcher.canMatch() ? cursor.next(0) : -1;
    qsizetype b = 0;
    qsizetype yieldedAt = 0;
    for (qint64 n = 1;; ++n) {
        qsizetype be = b;
        while (be < size && !isBreak(data[be]))
            ++be;
        if (chars.size() < size_t(be - b))
            chars.resize(size_t(be - b));
        const qsizetype charCount = Cp932::decodeTo(bytes.sliced(b, be - b), chars.data());

        qint64 v = n;
        for (int d = 5; d >= 0; --d, v /= 10)
            number[d] = QChar(u'0' + char16_t(v % 10));
        // One allocation per entry, filled in place.
        QString entry(out.textOffset + charCount, Qt::Uninitialized);
        QChar *to = entry.data();
        std::memcpy(to, head.constData(), size_t(head.size()) * sizeof(QChar));
        std::memcpy(to + head.size(), number, sizeof number);
        std::memcpy(static_cast<void *>(to + out.textOffset), chars.data(), size_t(charCount) * sizeof(char16_t));

        if (candidate >= 0 && candidate < b)
            candidate = cursor.next(b);
        if (candidate >= b && candidate < be && matcher.confirm(QStringView(entry).mid(out.textOffset)))
            out.hitLines.push_back(int(n - 1));
        out.entries.append(std::move(entry));
        if (pump && (n % kLinesPerYield == 0 || be - yieldedAt >= kBytesPerYield)) {
            pump->yield();
            yieldedAt = be;
        }

        // Past the break: CR LF counts as one.
        if (be >= size)
            break;
        b = (data[be] == '\r' && be + 1 < size && data[be + 1] == '\n') ? be + 2 : be + 1;
        if (b >= size)
            break; // the last line ended with its break
    }
}
