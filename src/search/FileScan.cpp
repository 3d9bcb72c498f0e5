#include "search/FileScan.h"

#include "platform/Cp932.h"
#include "platform/EventPump.h"
#include "platform/TextFile.h"
#include "search/WordMatcher.h"

#include <cstring>

namespace {

constexpr int kLinesPerYield = 256;

bool isBreak(uchar c) { return c == '\n' || c == '\r'; }

} // namespace

qsizetype FileScan::completeLines(QByteArrayView bytes)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    qsizetype end = bytes.size();
    while (end > 0 && !isBreak(data[end - 1]))
        --end;
    return end;
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
    while (i < size && lines <= limit) {
        // LF is the usual break; a lone CR is rare, so look for both and
        // take the nearer.
        const void *lf = std::memchr(data + i, '\n', size_t(size - i));
        const qsizetype lfAt = lf ? static_cast<const char *>(lf) - data : size;
        const void *cr = std::memchr(data + i, '\r', size_t(lfAt - i));
        if (!cr) {
            if (!lf) {
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

void FileScan::collect(const WordMatcher &matcher, QByteArrayView bytes, ScannedFile &out, EventPump *pump)
{
    out.lines.clear();
    out.hitLines.clear();
    const auto raw = TextFile::splitLines(bytes);
    out.lines.reserve(raw.size());
    // Only lines that hold a byte candidate are compared on characters.
    WordMatcher::Cursor cursor(matcher, bytes);
    qsizetype candidate = matcher.canMatch() ? cursor.next(0) : -1;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const qsizetype begin = raw[i].data() - bytes.data();
        const qsizetype end = begin + raw[i].size();
        if (candidate >= 0 && candidate < begin)
            candidate = cursor.next(begin);
        QString line = Cp932::decode(raw[i]);
        if (candidate >= begin && candidate < end && matcher.confirm(line))
            out.hitLines.push_back(int(i));
        out.lines.append(std::move(line));
        if (pump && (i + 1) % kLinesPerYield == 0)
            pump->yield();
    }
}
