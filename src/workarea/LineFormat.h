#pragma once

#include <QString>
#include <QStringView>

// The text formats of the work area: display lines, file headers, all-lines
// entries and line numbers.
struct FittedLine
{
    QString text;
    int charCount = 0;  // characters + 2 for the list view's CR LF
    int byteLength = 0; // 2 bytes a character; readers take that many bytes
};

class LineFormat
{
public:
    static constexpr int kDisplayColumns = 83;
    static constexpr int kCutColumn = 82;
    static constexpr int kHeaderWidth = 50;

    static const QString kSeparator;       // ":@:"
    static const QString kSearchPrefix;    // "SEARCH_FILE = "
    static const QString kAddPrefix;       // "ADD____FILE = "
    static const QString kMakePrefix;      // "MAKE___FILE = "
    static const QString kColumnHeader;    // the 81-column header of the list
    static const QString kBytesUnit;       // "ﾊﾞｲﾄ"

    // Fits a text to 83 half-width columns: double-byte characters take two
    // columns, a tab advances to the next multiple of 8. Cut as soon as a
    // character reaches column 82 (one space added when it is exactly 82);
    // a shorter text is filled with spaces to 83 columns.
    static FittedLine Fit_Display_Line(QStringView text);

    // n as six zero-padded digits; a longer number keeps its last six.
    static QString Line_No_6(qint64 n);
    // Line_No_6 followed by ".000", the number of a line read from disk.
    static QString Line_No_10(qint64 n);
    // A line number held in thousandths, as "000012.500".
    static QString lineNoThousandths(qint64 thousandths);

    // Every test of a header prefix goes through these: a display line is a
    // file header when it begins with one of the three prefixes in full.
    static bool Is_Header(QStringView item);
    // A header of a file added from a template or made by duplication (not
    // one a search found).
    static bool isAddedFileHeader(QStringView item);

    static QStringView Entry_Key(QStringView entry);
    static QStringView Entry_Line_No(QStringView entry);
    static QStringView Entry_Text(QStringView entry);
    // Characters of an entry before its text: key, ":@:", line number,
    // ":@:". All of it when it has no second separator (no text to change).
    static qsizetype entryTextStart(QStringView entry);

    // Upper case, code unit by code unit (identifiers, the listing order).
    static QString Ucase(QStringView text);

    // Whether a path can be a file key: an entry's key is everything before
    // its first ":@:", so the path followed by ":@:" must have its first
    // separator at its end (no ":@:" inside, no ":@" at the end).
    static bool holdsKey(QStringView path);

    // PREFIX + path + fill to 50 + ":@:" + suffix.
    static QString fileHeader(const QString &prefix, const QString &path, const QString &suffix);
    // "YYYY/MM/DD HH:MM:SS  <size>ﾊﾞｲﾄ"
    static QString dateSizeSuffix(const class QDateTime &modified, qint64 size);
    // The key of a file header: the text before the first ":@:", trimmed,
    // without its 14-character prefix.
    static QString headerKey(QStringView header);
};
