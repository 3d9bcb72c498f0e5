#pragma once

#include "platform/WriteResult.h"

#include <QString>
#include <QStringView>

struct DisplayState;
struct Settings;
struct Workbench;

// Writes the two result documents as RTF files that the views load: the list
// document (every display line) and the detail document (a heading and a
// range of one file's stored lines). All text goes through code page 932, so
// a document is plain ASCII.
class RtfBuilder
{
public:
    static const QString kListFileName;   // "~QUAV_SK.RTF"
    static const QString kDetailFileName; // "~QUAV_SD.RTF"
    static const QString kFontTable;      // the fixed 440-character font table
    static const QString kFirstOpener;    // opener of the first paragraph (64 characters)
    static const QString kParagraph;      // "\par "

    enum : qint16 { ListMode = 1, DetailMode = 2 };

    // The colour table and the four run prefixes from the colour settings,
    // produced directly: black is colour 0, then file-name (cf1), line-number
    // (cf2) and hit colour (cf3). Empties the detail cache key, since a
    // document written with the old colours must not be shown again.
    static void Make_RTF_Colors(DisplayState &d, const Settings &s);

    // One text as RTF: ASCII as itself ("\" "{" "}" escaped, TAB as "\tab "),
    // every other character as "\'hh" per code page 932 byte.
    static QString Escape_RTF_Text(QStringView text);

    // A line as RTF (Escape_RTF_Text) with every occurrence of word wrapped
    // in the hit colour. Occurrences are found on the characters by the
    // search's own comparison (TextMatch), so every hit the search listed is
    // coloured, ＡＢＣ for ａｂｃ included when case is ignored; they are
    // escaped whole, so a mark never splits "\tab " or "\'82".
    static QString markHits(QStringView line, QStringView word, bool ignoreCase, const QString &hitPrefix,
                             const QString &blackPrefix);

    // Writes the list document (mode 1) or the detail document (any other
    // mode: heading, then the all-lines entries first..last) in the document
    // folder. The file is written whole and then renamed into place. The path
    // written goes to wb.display (listDocumentPath / detailDocumentPath).
    // Not written, with a Japanese reason, when the folder is not the user's
    // own or cannot take the file.
    static WriteResult Make_RTF_Document(Workbench &wb, qint16 documentMode, qint32 first, qint32 last,
                                         const QString &heading);
    // What the views say when a document could not be written, or could not
    // be loaded once written.
    static QString writeFailureText(const WriteResult &result);
    static QString loadFailureText(const QString &path);

    // wb.display.documentFolder, else the user's cache folder (quav below
    // $XDG_CACHE_HOME or ~/.cache), never the folder the program started in:
    // anyone may have planted a link there.
    static QString documentFolder(const DisplayState &display);
    // A file name joined to a folder, adding "/" only when it is missing.
    static QString joinPath(const QString &folder, const QString &name);
};
