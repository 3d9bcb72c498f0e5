#include "edit/SavedText.h"

#include "edit/KeptBytes.h"
#include "platform/TextCodec.h"

#include <limits>

namespace {

// The bytes of one UTF-16 unit of the file's order: ASCII code c is c, 0 in
// little-endian order and 0, c in big-endian order.
struct UnitForm
{
    int width = 1;
    int low = 0; // where the low byte of a unit lies

    explicit UnitForm(TextEncoding e)
    {
        if (TextEncodings::isUtf16(e)) {
            width = 2;
            low = e == TextEncoding::Utf16BE ? 1 : 0;
        }
    }
    // The ASCII code of the unit at p, or 0 when it is none.
    char asciiAt(const char *p) const
    {
        return width == 1 ? p[0] : (p[1 - low] == 0 ? p[low] : 0);
    }
};

} // namespace

QList<SavedText::RawLine> SavedText::splitRaw(QByteArrayView file, TextEncoding encoding)
{
    const UnitForm unit(encoding);
    QList<RawLine> lines;
    const char *p = file.data();
    const qsizetype size = file.size();
    // An odd last byte of a UTF-16 file is no unit: it ends the last line.
    const qsizetype whole = size - size % unit.width;
    qsizetype start = 0;
    for (qsizetype i = 0; i < whole; i += unit.width) {
        const char c = unit.asciiAt(p + i);
        if (c != '\n' && c != '\r')
            continue;
        const qsizetype next = i + unit.width;
        const qsizetype end = (c == '\r' && next < whole && unit.asciiAt(p + next) == '\n') ? next + unit.width : next;
        lines.append({file.sliced(start, i - start), file.sliced(i, end - i)});
        start = end;
        i = end - unit.width;
    }
    if (start < size || lines.isEmpty())
        lines.append({file.sliced(start), QByteArrayView()});
    return lines;
}

QString SavedText::lineBreakOf(const QList<RawLine> &lines, TextEncoding encoding)
{
    const UnitForm unit(encoding);
    bool lf = false, cr = false, crlf = false;
    for (const RawLine &line : lines) {
        if (line.lineBreak.size() == 2 * unit.width)
            crlf = true;
        else if (line.lineBreak.isEmpty())
            continue;
        else if (unit.asciiAt(line.lineBreak.data()) == '\n')
            lf = true;
        else
            cr = true;
    }
    if (lf && !cr && !crlf)
        return QStringLiteral("\n");
    if (cr && !lf && !crlf)
        return QStringLiteral("\r");
    return QStringLiteral("\r\n");
}

int SavedText::readLineNumber(QStringView lineNo)
{
    const qsizetype point = lineNo.indexOf(u'.');
    if (point <= 0 || point + 1 >= lineNo.size())
        return 0;
    for (QChar c : lineNo.sliced(point + 1))
        if (c != u'0')
            return 0;
    qint64 n = 0;
    for (QChar c : lineNo.first(point)) {
        if (c < u'0' || c > u'9')
            return 0;
        n = n * 10 + (c.unicode() - u'0');
        if (n > std::numeric_limits<int>::max())
            return 0;
    }
    return int(n);
}

bool SavedText::hasOwnMark(QByteArrayView file, TextEncoding encoding)
{
    bool marked = false;
    const TextEncoding e = TextEncodings::fromMark(file, &marked);
    if (TextEncodings::markSize(encoding) > 0)
        return marked && e == encoding;
    // A UTF-8 file that now has a mark is another file, but code page 932
    // bytes may begin like one.
    return encoding == TextEncoding::Cp932 || !marked;
}

QByteArray SavedText::compose(const QList<StoredLine> &lines, std::optional<QByteArrayView> original,
                              TextEncoding encoding)
{
    const TextCodec &codec = TextCodec::forEncoding(encoding);
    const qsizetype mark = TextEncodings::markSize(encoding);
    // Bytes of another encoding are no source of this file's codes.
    if (original && !hasOwnMark(*original, encoding))
        original.reset();
    const QList<RawLine> raw = original ? splitRaw(original->sliced(mark), encoding) : QList<RawLine>();
    QByteArray lineBreak;
    codec.encodeAppend(original ? lineBreakOf(raw, encoding) : QStringLiteral("\r\n"), lineBreak);
    QByteArray out;
    out.reserve(original ? original->size() + original->size() / 16 + 64 : lines.size() * 40);
    if (mark > 0)
        codec.encodeAppend(u"\uFEFF", out);
    KeptBytes kept(codec);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const StoredLine &line = lines.at(i);
        const int n = readLineNumber(line.lineNo);
        if (n > 0 && n <= raw.size()) {
            const RawLine &was = raw.at(n - 1);
            kept.appendLine(was.bytes, line.text, out);
            const bool last = i + 1 == lines.size();
            out.append(was.lineBreak.isEmpty() && !last ? QByteArrayView(lineBreak) : was.lineBreak);
            continue;
        }
        codec.encodeAppend(line.text, out);
        out.append(lineBreak);
    }
    return out;
}

std::optional<QByteArray> SavedText::splice(const QList<LineChange> &changes, QByteArrayView original,
                                            TextEncoding encoding)
{
    KeptBytes kept(TextCodec::forEncoding(encoding));
    QByteArray out;
    out.reserve(original.size() + original.size() / 16 + 64);
    qint64 copied = 0; // original[0, copied) is in out
    for (const LineChange &change : changes) {
        if (change.offset < copied || change.length < 0 || change.offset + change.length > original.size())
            return std::nullopt;
        out.append(original.sliced(copied, change.offset - copied));
        kept.appendLine(original.sliced(change.offset, change.length), change.text, out);
        copied = change.offset + change.length;
    }
    out.append(original.sliced(copied));
    return out;
}
