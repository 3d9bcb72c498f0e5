#include "workarea/LineFormat.h"

#include "platform/Cp932.h"
#include "platform/TextCase.h"

#include <QDateTime>

#include <string_view>

const QString LineFormat::kSeparator = QStringLiteral(":@:");
const QString LineFormat::kSearchPrefix = QStringLiteral("SEARCH_FILE = ");
const QString LineFormat::kAddPrefix = QStringLiteral("ADD____FILE = ");
const QString LineFormat::kMakePrefix = QStringLiteral("MAKE___FILE = ");
const QString LineFormat::kColumnHeader =
    QStringLiteral("        Path-File                                     File-Date-Time      Size   ");
const QString LineFormat::kBytesUnit = QStringLiteral("ﾊﾞｲﾄ");

namespace {

// Columns of a character that code page 932 cannot hold (met in UTF files):
// the wide and full-width characters of the East Asian scripts and the
// pictographs take two, like a double-byte character; everything else one.
int unmappedColumns(char32_t u)
{
    static constexpr char32_t kWide[][2] = {
        {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
        {0xA000, 0xA4CF}, {0xA960, 0xA97F}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE10, 0xFE19},
        {0xFE30, 0xFE6F}, {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF},
        {0x20000, 0x3FFFD},
    };
    for (const auto &r : kWide)
        if (u >= r[0] && u <= r[1])
            return 2;
    return 1;
}

} // namespace

FittedLine LineFormat::Fit_Display_Line(QStringView text)
{
    FittedLine out;
    int col = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!Cp932::isMapped(c.unicode()) || c.isSurrogate()) {
            // A surrogate pair is one character: never cut between its halves.
            char32_t u = c.unicode();
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                u = QChar::surrogateToUcs4(c, text[++i]);
            col += unmappedColumns(u);
        } else if (Cp932::byteWidth(c) == 2)
            col += 2;
        else if (c == QLatin1Char('\t'))
            col += 8 - (col % 8);
        else
            col += 1;
        if (col >= kCutColumn) {
            out.text = text.left(i + 1).toString();
            const bool exact = col == kCutColumn;
            if (exact)
                out.text += QLatin1Char(' ');
            out.charCount = int(out.text.size()) + 2;
            out.byteLength = 2 * int(out.text.size()) + (exact ? 2 : 0);
            return out;
        }
    }
    out.text.reserve(text.size() + kDisplayColumns - col);
    out.text.append(text);
    out.text.resize(text.size() + kDisplayColumns - col, QLatin1Char(' '));
    out.charCount = int(out.text.size()) + 2;
    out.byteLength = 2 * int(out.text.size());
    return out;
}

QString LineFormat::Line_No_6(qint64 n)
{
    if (n < 0)
        n = 0;
    return QString::number(n % 1000000).rightJustified(6, QLatin1Char('0'));
}

QString LineFormat::Line_No_10(qint64 n)
{
    return Line_No_6(n) + QStringLiteral(".000");
}

QString LineFormat::lineNoThousandths(qint64 thousandths)
{
    if (thousandths < 0)
        thousandths = 0;
    return Line_No_6(thousandths / 1000) + QLatin1Char('.')
        + QString::number(thousandths % 1000).rightJustified(3, QLatin1Char('0'));
}

bool LineFormat::Is_Header(QStringView item)
{
    return item.startsWith(kSearchPrefix) || isAddedFileHeader(item);
}

bool LineFormat::isAddedFileHeader(QStringView item)
{
    return item.startsWith(kAddPrefix) || item.startsWith(kMakePrefix);
}

QStringView LineFormat::Entry_Key(QStringView entry)
{
    const qsizetype p = entry.indexOf(kSeparator);
    return p < 0 ? entry : entry.left(p);
}

QStringView LineFormat::Entry_Line_No(QStringView entry)
{
    const qsizetype p = entry.indexOf(kSeparator);
    if (p < 0)
        return {};
    const qsizetype q = entry.indexOf(kSeparator, p + 3);
    return q < 0 ? entry.mid(p + 3) : entry.mid(p + 3, q - p - 3);
}

QStringView LineFormat::Entry_Text(QStringView entry)
{
    const qsizetype p = entry.indexOf(kSeparator);
    if (p < 0)
        return {};
    const qsizetype q = entry.indexOf(kSeparator, p + 3);
    return q < 0 ? QStringView() : entry.mid(q + 3);
}

qsizetype LineFormat::entryTextStart(QStringView entry)
{
    // The library's search: a replace over the whole store asks this of
    // every line that holds the word.
    const std::u16string_view view(entry.utf16(), size_t(entry.size()));
    const size_t first = view.find(u":@:");
    const size_t second = first == std::u16string_view::npos ? first : view.find(u":@:", first + 3);
    return second == std::u16string_view::npos ? entry.size() : qsizetype(second + 3);
}

QString LineFormat::Ucase(QStringView text)
{
    return TextCase::upperUnits(text);
}

bool LineFormat::holdsKey(QStringView path)
{
    // Nearly every path has no ':' at all: one quick look decides.
    if (!path.contains(QLatin1Char(':')))
        return true;
    return !path.contains(kSeparator) && !path.endsWith(QLatin1String(":@"));
}

QString LineFormat::fileHeader(const QString &prefix, const QString &path, const QString &suffix)
{
    QString head = prefix + path;
    head += QString(std::max<qsizetype>(1, kHeaderWidth - head.size()), QLatin1Char(' '));
    return head + kSeparator + suffix;
}

QString LineFormat::dateSizeSuffix(const QDateTime &modified, qint64 size)
{
    return modified.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) + QStringLiteral("  ")
        + QString::number(size) + kBytesUnit;
}

QString LineFormat::headerKey(QStringView header)
{
    const qsizetype p = header.indexOf(kSeparator);
    const QStringView head = (p < 0 ? header : header.left(p)).trimmed();
    return head.mid(std::min<qsizetype>(14, head.size())).toString();
}
