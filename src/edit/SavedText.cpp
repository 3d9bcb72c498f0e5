#include "edit/SavedText.h"

#include "edit/KeptBytes.h"
#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"

#include <limits>

QList<SavedText::RawLine> SavedText::splitRaw(QByteArrayView file)
{
    QList<RawLine> lines;
    const char *p = file.data();
    const qsizetype size = file.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (p[i] != '\n' && p[i] != '\r')
            continue;
        const qsizetype end = (p[i] == '\r' && i + 1 < size && p[i + 1] == '\n') ? i + 2 : i + 1;
        lines.append({file.sliced(start, i - start), file.sliced(i, end - i)});
        start = end;
        i = end - 1;
    }
    if (start < size || lines.isEmpty())
        lines.append({file.sliced(start), QByteArrayView()});
    return lines;
}

QByteArray SavedText::lineBreakOf(const QList<RawLine> &lines)
{
    bool lf = false, cr = false, crlf = false;
    for (const RawLine &line : lines) {
        if (line.lineBreak == "\n")
            lf = true;
        else if (line.lineBreak == "\r")
            cr = true;
        else if (!line.lineBreak.isEmpty())
            crlf = true;
    }
    if (lf && !cr && !crlf)
        return QByteArrayLiteral("\n");
    if (cr && !lf && !crlf)
        return QByteArrayLiteral("\r");
    return QByteArrayLiteral("\r\n");
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

QByteArray SavedText::compose(const QList<StoredLine> &lines, std::optional<QByteArrayView> original)
{
    const QList<RawLine> raw = original ? splitRaw(*original) : QList<RawLine>();
    const QByteArray lineBreak = original ? lineBreakOf(raw) : QByteArrayLiteral("\r\n");
    QByteArray out;
    out.reserve(original ? original->size() + original->size() / 16 + 64 : lines.size() * 40);
    KeptBytes kept(Cp932Codec::instance());
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
        Cp932::encodeAppend(line.text, out);
        out.append(lineBreak);
    }
    return out;
}
