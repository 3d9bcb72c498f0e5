#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringView>

#include <optional>

// One line of a file as the work area holds it: its line number ("000012.000"
// for the twelfth line read, "000012.500" for a line inserted after it) and
// its text.
struct StoredLine
{
    QStringView lineNo;
    QStringView text;
};

// The bytes a save writes for a file's stored lines: each line's text
// followed by a line break, the last line included. A save changes no byte
// the user did not change, so
// - a stored line with the number n of a line read from disk, whose text is
//   still what line n of the file on disk decodes to, is written with line
//   n's own bytes and break (code page 932 has two codes for some kanji, and a
//   file may hold bytes that are not valid code page 932; both survive);
// - every other line is encoded in code page 932 and gets the file's break:
//   LF when every break of the file on disk is LF alone, CR when every one is
//   CR alone, CR LF otherwise (CR LF files, mixed breaks, a file without any
//   break, a new file);
// - the last line always ends with a break.
class SavedText
{
public:
    // A line of a file on disk: its bytes and the break that ended it (empty
    // for a last line without one).
    struct RawLine
    {
        QByteArrayView bytes;
        QByteArrayView lineBreak;
    };

    // Lines as the program reads them: a line ends at CR LF, LF or a lone
    // CR; a last line without a break still counts; an empty file is one
    // empty line.
    static QList<RawLine> splitRaw(QByteArrayView file);

    // The break for lines that do not keep their own (see above).
    static QByteArray lineBreakOf(const QList<RawLine> &lines);

    // n for a line number "nnnnnn.000", the number of the n-th line read;
    // 0 for inserted lines and anything that is not a line number.
    static int readLineNumber(QStringView lineNo);

    // The file's new content; original is the file as it is on disk now,
    // nothing for a new file. Characters without a code page 932 form would
    // be written as "?": the caller refuses such lines first.
    static QByteArray compose(const QList<StoredLine> &lines, std::optional<QByteArrayView> original);
};
