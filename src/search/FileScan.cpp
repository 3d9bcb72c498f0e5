#include "search/FileScan.h"

#include "platform/Cp932.h"
#include "platform/EventPump.h"
#include "workarea/LineFormat.h"
#include "search/WordMatcher.h"

#include <cstring>
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

void FileScan::collect(const WordMatcher &matcher, QByteArrayView bytes, const QString &key, ScannedFile &out,
                       EventPump *pump, qint64 lineCount)
{
    out.entries.clear();
    out.hitLines.clear();
    if (lineCount > 0)
        out.entries.reserve(qsizetype(lineCount));
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
