#include "display/RtfBuilder.h"

#include "base/StatusPanels.h"
#include "base/Workbench.h"
#include "platform/Cp932.h"
#include "platform/DirectoryListing.h"
#include "platform/EventPump.h"
#include "platform/PrivateFolder.h"
#include "platform/ProgressPort.h"
#include "platform/TextMatch.h"
#include "workarea/LineFormat.h"

#include <QFileInfo>


const QString RtfBuilder::kListFileName = QStringLiteral("~QUAV_SK.RTF");
const QString RtfBuilder::kDetailFileName = QStringLiteral("~QUAV_SD.RTF");
// f3/f4 name the proportional Japanese Gothic font, f5/f6 the fixed-pitch one
// (their Shift-JIS names as escapes); every run of a document uses f6.
const QString RtfBuilder::kFontTable = QStringLiteral(R"RTF({\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fnil MS Sans Serif;}{\f1\fnil\fcharset2 Symbol;}{\f2\fnil\fprq2\fcharset128 System;}{\f3\fnil\fcharset128 \'82\'6c\'82\'72 \'82\'6f\'83\'53\'83\'56\'83\'62\'83\'4e;}{\f4\fmodern\fcharset128 \'82\'6c\'82\'72 \'82\'6f\'83\'53\'83\'56\'83\'62\'83\'4e;}{\f5\fnil\fcharset128 \'82\'6c\'82\'72 \'83\'53\'83\'56\'83\'62\'83\'4e;}{\f6\fmodern\fcharset128 \'82\'6c\'82\'72 \'83\'53\'83\'56\'83\'62\'83\'4e;}})RTF");
// Nine tab stops (30, 45 and 60 twice each), then plain black text in f6.
const QString RtfBuilder::kFirstOpener =
    QStringLiteral(R"RTF(\pard\tx0\tx15\tx30\tx30\tx45\tx45\tx60\tx60\tx75\plain\f6\fs20 )RTF");
const QString RtfBuilder::kParagraph = QStringLiteral(R"RTF(\par )RTF");

namespace {

const QString kSeparator = QStringLiteral(":@:");
const QString kThreeSpaces = QStringLiteral("   ");
// Document-level words that follow the colour table (the language of the text).
const QString kDocumentWords = QStringLiteral(R"RTF(\deflang1041)RTF");
const QString kTrailer1 = QStringLiteral(R"RTF(\par \plain\f4\fs18 )RTF");
const QString kTrailer2 = QStringLiteral(R"RTF(\par })RTF");
// The progress bar is told every this many lines; a repaint per line would
// cost more than the line.
constexpr int kProgressStep = 64;

const char kHex[] = "0123456789ABCDEF";

void appendByteEscape(QString &out, uint byte)
{
    out += QLatin1Char('\\');
    out += QLatin1Char('\'');
    out += QLatin1Char(kHex[(byte >> 4) & 0xF]);
    out += QLatin1Char(kHex[byte & 0xF]);
}

QString colourEntry(qint32 value)
{
    // Red in the low byte, then green, then blue.
    return QStringLiteral("\\red%1\\green%2\\blue%3;")
        .arg(value & 0xFF)
        .arg((value >> 8) & 0xFF)
        .arg((value >> 16) & 0xFF);
}

QString replaceFirstSeparator(QString text)
{
    const qsizetype p = text.indexOf(kSeparator);
    if (p >= 0)
        text.replace(p, kSeparator.size(), kThreeSpaces);
    return text;
}

} // namespace

void RtfBuilder::Make_RTF_Colors(DisplayState &d, const Settings &s)
{
    d.Color_Table_Line = QStringLiteral("{\\colortbl\\red0\\green0\\blue0;") + colourEntry(s.File_Name_Color)
        + colourEntry(s.Line_No_Color) + colourEntry(s.Hit_Color) + QStringLiteral("}");
    d.RTF_Header = kFontTable + QStringLiteral("\r\n") + d.Color_Table_Line + QStringLiteral("\r\n") + kDocumentWords;
    d.Black_Prefix = QStringLiteral(R"RTF(\plain\f6\fs20)RTF");
    d.File_Name_Prefix = d.Black_Prefix + QStringLiteral("\\cf1");
    d.Line_No_Prefix = d.Black_Prefix + QStringLiteral("\\cf2");
    d.Hit_Prefix = d.Black_Prefix + QStringLiteral("\\cf3");
    d.detailCacheKey.clear();
}

QString RtfBuilder::Escape_RTF_Text(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 2);
    for (const QChar c : text) {
        const uint code = Cp932::code(c.unicode());
        if (code == '?' && c != QLatin1Char('?')) {
            // No code page 932 form (a character of a UTF file): a Unicode
            // escape, its 16-bit value signed as the format has it, with "?"
            // for a reader that does not know it. A character beyond U+FFFF
            // is its two surrogates, one escape each.
            out += QLatin1String("\\u");
            out += QString::number(qint16(c.unicode()));
            out += QLatin1Char('?');
        } else if (code < 0x80) {
            switch (code) {
            case '\\': out += QLatin1String("\\\\"); break;
            case '{': out += QLatin1String("\\{"); break;
            case '}': out += QLatin1String("\\}"); break;
            case '\t': out += QLatin1String("\\tab "); break;
            default:
                // Other control bytes would be dropped (CR, LF) or break a
                // reader (NUL) if written raw; as escapes they survive.
                if (code < 0x20 || code == 0x7F)
                    appendByteEscape(out, code);
                else
                    out += QLatin1Char(char(code));
            }
        } else if (code < 0x100) {
            appendByteEscape(out, code);
        } else {
            appendByteEscape(out, code >> 8);
            appendByteEscape(out, code & 0xFF);
        }
    }
    return out;
}

QString RtfBuilder::markHits(QStringView line, QStringView word, bool ignoreCase, const QString &hitPrefix,
                              const QString &blackPrefix)
{
    if (word.isEmpty())
        return Escape_RTF_Text(line);
    QString out;
    qsizetype from = 0;
    for (qsizetype h = TextMatch::indexIn(line, word, ignoreCase); h >= 0;
         h = TextMatch::indexIn(line, word, ignoreCase, from)) {
        out += Escape_RTF_Text(line.mid(from, h - from));
        out += hitPrefix;
        out += QLatin1Char(' ');
        out += Escape_RTF_Text(line.mid(h, word.size()));
        out += blackPrefix;
        out += QLatin1Char(' ');
        from = h + word.size();
    }
    out += Escape_RTF_Text(line.mid(from));
    return out;
}

QString RtfBuilder::joinPath(const QString &folder, const QString &name)
{
    return folder.isEmpty() ? name : DirectoryListing::withSeparator(folder) + name;
}

QString RtfBuilder::documentFolder(const DisplayState &display)
{
    return display.documentFolder.isEmpty() ? PrivateFolder::cachePath() : display.documentFolder;
}

WriteResult RtfBuilder::Make_RTF_Document(Workbench &wb, qint16 documentMode, qint32 first, qint32 last,
                                          const QString &heading)
{
    DisplayState &d = wb.display;
    if (d.RTF_Header.isEmpty())
        Make_RTF_Colors(wb.display, wb.settings);
    const WorkArea &work = wb.work;
    const bool colour = wb.settings.Color_Set_Flg == 1;
    const bool ignoreCase = work.Compare_Mode == 1;
    const QString &word = work.Search_Word;
    const bool listMode = documentMode == ListMode;

    QByteArray doc;
    auto put = [&doc](const QString &line) {
        doc += line.toLatin1(); // ASCII only after escaping
        doc += "\r\n";
    };
    put(d.RTF_Header);

    if (listMode) {
        const ItemList &lines = work.Search_Hit_List();
        const int n = lines.count();
        doc.reserve(qsizetype(n) * 120 + 1024);
        for (int i = 0; i < n; ++i) {
            // The byte length counts two bytes a character: the whole fitted line.
            const QString text = lines.text(i).left(std::max(0, lines.data(i)) / 2);
            const bool header = LineFormat::Is_Header(text);
            QString line;
            if (colour && i > 0) {
                if (header) {
                    line = kParagraph + d.File_Name_Prefix + QLatin1Char(' ')
                        + replaceFirstSeparator(Escape_RTF_Text(text)) + d.Black_Prefix + QLatin1Char(' ');
                } else {
                    // The number field is escaped apart from the text, so
                    // the colour change never splits an escape.
                    const QString rest = markHits(QStringView(text).mid(std::min<qsizetype>(7, text.size())), word,
                                                   ignoreCase, d.Hit_Prefix, d.Black_Prefix);
                    line = kParagraph + d.Line_No_Prefix + QLatin1Char(' ') + Escape_RTF_Text(QStringView(text).left(7))
                        + d.Black_Prefix + QLatin1Char(' ') + rest;
                }
            } else {
                QString escaped = Escape_RTF_Text(text);
                if (header)
                    escaped = replaceFirstSeparator(escaped);
                line = (i == 0 ? kFirstOpener : kParagraph) + escaped;
            }
            put(line);
            if (i % kProgressStep == 0 || i == n - 1)
                wb.progress->setValue(i);
            wb.pump->yield();
        }
    } else {
        const ItemList &all = work.Search_Hit_All_Line_List();
        first = std::max<qint32>(first, 0);
        last = std::min<qint32>(last, all.count() - 1);
        const int total = std::max(0, last - first + 1);
        wb.progress->setRange(0, total);
        wb.progress->setValue(0);
        wb.progress->setShown(true);
        doc.reserve(qsizetype(total) * 120 + 1024);
        const QString escapedHeading = replaceFirstSeparator(Escape_RTF_Text(heading));
        if (colour)
            put(kFirstOpener + d.File_Name_Prefix + QLatin1Char(' ') + escapedHeading + d.Black_Prefix + QLatin1Char(' '));
        else
            put(kFirstOpener + escapedHeading);
        int counter = 0;
        for (qint32 k = first; k <= last; ++k) {
            const QStringView text = LineFormat::Entry_Text(all.text(k));
            put(kParagraph + (colour ? markHits(text, word, ignoreCase, d.Hit_Prefix, d.Black_Prefix)
                                     : Escape_RTF_Text(text)));
            ++counter;
            if (counter % kProgressStep == 0 || k == last)
                wb.progress->setValue(counter);
            wb.pump->yield();
        }
        wb.progress->setShown(false);
    }
    put(kTrailer1);
    put(kTrailer2);

    const QString name = listMode ? kListFileName : kDetailFileName;
    QString reason;
    const QString folder = documentFolder(wb.display);
    const QString path = joinPath(folder, name);
    if (!PrivateFolder::prepare(folder, &reason) || !PrivateFolder::writeFile(folder, name, doc, &reason))
        return {path, false, reason, QString()};
    (listMode ? d.listDocumentPath : d.detailDocumentPath) = path;
    return {path, true, QString(), QString()};
}

QString RtfBuilder::writeFailureText(const WriteResult &result)
{
    return QStringLiteral("表示用ファイル %1 を書き込めません。\r\n%2")
        .arg(QFileInfo(result.path).fileName(), result.reason);
}

QString RtfBuilder::loadFailureText(const QString &path)
{
    return QStringLiteral("表示用ファイル %1 を読み込めません。").arg(path);
}
