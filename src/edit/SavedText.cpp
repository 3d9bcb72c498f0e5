#include "edit/SavedText.h"

#include "platform/Cp932.h"

#include <limits>
#include <vector>

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
    std::vector<char16_t> decoded(256);
    for (const StoredLine &line : lines) {
        const int n = readLineNumber(line.lineNo);
        if (n > 0 && n <= raw.size()) {
            const RawLine &was = raw.at(n - 1);
            // A line never decodes to more characters than it has bytes, nor
            // to fewer than half of them.
            if (line.text.size() <= was.bytes.size() && line.text.size() * 2 >= was.bytes.size()) {
                if (decoded.size() < size_t(was.bytes.size()))
                    decoded.resize(size_t(was.bytes.size()));
                const qsizetype length = Cp932::decodeTo(was.bytes, decoded.data());
                if (QStringView(decoded.data(), length) == line.text) {
                    out.append(was.bytes);
                    out.append(was.lineBreak.isEmpty() ? QByteArrayView(lineBreak) : was.lineBreak);
                    continue;
                }
            }
        }
        Cp932::encodeAppend(line.text, out);
        out.append(lineBreak);
    }
    return out;
}
