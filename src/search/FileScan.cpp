#include "search/FileScan.h"

#include "platform/EventPump.h"
#include "workarea/LineFormat.h"
#include "search/WordMatcher.h"

#include <algorithm>
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
    WordMatcher::Cursor cursor(matcher, bytes);
    qsizetype begin = 0, end = 0;
    QString text;
    return cursor.nextHitLine(from, begin, end, text);
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
    // are never trail bytes of code page 932 nor part of a UTF-8 sequence, so
    // a line decodes as it would within the file.
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
        const qsizetype charCount = matcher.decodeTo(bytes.sliced(b, be - b), chars.data());

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

namespace {

// Calls line(begin, end) for each line of text, as the text-file layer
// splits lines; false from it stops.
template <typename Line>
void forEachLine(QStringView text, Line line)
{
    const qsizetype size = text.size();
    qsizetype b = 0;
    for (;;) {
        qsizetype e = b;
        while (e < size && text[e] != u'\n' && text[e] != u'\r')
            ++e;
        if (!line(b, e) || e >= size)
            return;
        b = (text[e] == u'\r' && e + 1 < size && text[e + 1] == u'\n') ? e + 2 : e + 1;
        if (b >= size)
            return;
    }
}

} // namespace

bool FileScan::scanText(QStringView text, const QString &word, bool ignoreCase)
{
    bool hit = false;
    forEachLine(text, [&](qsizetype b, qsizetype e) {
        hit = TextMatch::contains(text.sliced(b, e - b), word, ignoreCase);
        return !hit;
    });
    return hit;
}

TextShape FileScan::measureText(QStringView text)
{
    TextShape shape;
    forEachLine(text, [&](qsizetype b, qsizetype e) {
        ++shape.lines;
        shape.longest = std::max(shape.longest, e - b);
        return true;
    });
    return shape;
}

void FileScan::collectText(QStringView text, const QString &word, bool ignoreCase, const QString &key,
                           ScannedFile &out)
{
    out.entries.clear();
    out.hitLines.clear();
    const QString head = key + LineFormat::kSeparator;
    out.textOffset = head.size() + 13;
    qint64 n = 0;
    forEachLine(text, [&](qsizetype b, qsizetype e) {
        const QStringView line = text.sliced(b, e - b);
        ++n;
        out.entries.append(head + LineFormat::Line_No_10(n) + LineFormat::kSeparator + line.toString());
        if (TextMatch::contains(line, word, ignoreCase))
            out.hitLines.push_back(int(n - 1));
        return true;
    });
}

void FileScan::textHits(QStringView text, const QString &word, bool ignoreCase,
                        const std::function<void(qint64 line, QStringView text)> &hit)
{
    qint64 n = 0;
    forEachLine(text, [&](qsizetype b, qsizetype e) {
        const QStringView line = text.sliced(b, e - b);
        ++n;
        if (TextMatch::contains(line, word, ignoreCase))
            hit(n, line);
        return true;
    });
}
