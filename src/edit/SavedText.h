#pragma once

#include "platform/TextEncoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
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

// A line of a file on disk given new text: the line's bytes are
// file[offset, offset + length), its break not included.
struct LineChange
{
    qint64 offset = 0;
    qint64 length = 0;
    QString text;
};

// The bytes a save writes for a file's stored lines. A save changes no byte
// the user did not change:
// - a stored line with the number n of a line read from disk is written from
//   line n's own bytes (KeptBytes): unchanged, it is those bytes; changed,
//   every character the change kept keeps its bytes (code page 932 has two
//   codes for some characters, and a file may hold bytes that are not valid
//   code page 932; both survive) and only new characters are encoded. It
//   ends with line n's own break; the last line of the file, read without a
//   break, stays without one unless another line now follows it;
// - every other line (inserted, or a file never read) is encoded in the
//   file's encoding and gets the file's break: LF when every break of the
//   file is LF alone, CR when every one is CR alone, CR LF otherwise (CR LF
//   files, mixed breaks, a file without any break, a new file).
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
    // A UTF-16 file's lines are split at its units (its mark taken off
    // first), as its text is.
    static QList<RawLine> splitRaw(QByteArrayView file, TextEncoding encoding = TextEncoding::Cp932);

    // The break for lines that do not keep their own (see above).
    static QString lineBreakOf(const QList<RawLine> &lines, TextEncoding encoding = TextEncoding::Cp932);

    // Whether file begins with the mark of that encoding, and with no other:
    // only then are its bytes a source of the lines read in it.
    static bool hasOwnMark(QByteArrayView file, TextEncoding encoding);

    // n for a line number "nnnnnn.000", the number of the n-th line read;
    // 0 for inserted lines and anything that is not a line number.
    static int readLineNumber(QStringView lineNo);

    // The file's new content; original is what the lines were read from
    // (the file as it is on disk now, or a made file's template), nothing
    // for a file of no such bytes. The file is written in its encoding,
    // beginning with that encoding's mark if it has one (original bytes that
    // lack that mark are not its bytes and are not used). Characters without
    // a code page 932 form would be written to a code page 932 file as "?":
    // the caller refuses such lines first.
    static QByteArray compose(const QList<StoredLine> &lines, std::optional<QByteArrayView> original,
                              TextEncoding encoding = TextEncoding::Cp932);

    // The file's new content when only some of its lines change: original
    // with each changed line's bytes replaced by its new text's (KeptBytes:
    // the characters the change kept keep their bytes), every other byte,
    // breaks and mark included, as it is. Changes in ascending order, none
    // overlapping another; nothing when they do not fit original (it is not
    // the file they were found in).
    static std::optional<QByteArray> splice(const QList<LineChange> &changes, QByteArrayView original,
                                            TextEncoding encoding);
};
