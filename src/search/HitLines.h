#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

class WordMatcher;

// The hit lines of one file as "path:line:text" LF, as grep -n prints them:
// the path as the caller gives it (bytes as on disk), the 1-based line number
// as the search counts lines (CR LF, LF or a lone CR ends a line), the text
// as UTF-8, decoded as the matcher's encoding. The file comes in pieces of whole lines; only the line breaks
// before the last hit of a piece are counted, unless more pieces follow.
//
// Or, in the form Records, each hit line as a Record: its number, where its
// bytes lie in the file and its text, for a caller that changes those lines
// and keeps every other byte of the file.
class HitLines
{
public:
    enum class Form { Grep, Records };

    // One hit line of the form Records. Its bytes are
    // file[offset, offset + length), its break not included.
    struct Record
    {
        qint64 line = 0;
        qint64 offset = 0;
        qint64 length = 0;
        QStringView text; // into the records it was read from
    };

    HitLines(const WordMatcher &matcher, QByteArray path, qint64 firstLine = 1, Form form = Form::Grep);

    // The next whole lines of the file (the last one may lack its break only
    // at the file's end, and a piece never ends between CR and LF). more:
    // other pieces follow, so every line of this one is counted. pieceAt: where
    // the piece begins in the file (bytes).
    void take(QByteArrayView lines, QByteArray &out, bool more, qint64 pieceAt = 0);

    // The record that begins at records[from] (from: 0, then what the last
    // call returned); the offset of the next one, or -1 when none is left.
    static qsizetype readRecord(QByteArrayView records, qsizetype from, Record &record);

    // The matcher of the file's encoding once it is known: the lines taken
    // before were ASCII, which every encoding reads alike.
    void setMatcher(const WordMatcher &matcher) { m_matcher = &matcher; }
    // The whole text of a file decoded whole (UTF-16), compared as the views
    // compare; textAt: where the text's first unit lies in the file (after
    // the mark), textBytes: the bytes it was decoded from, two a unit (an odd
    // last byte is a unit of its own).
    void takeText(QStringView text, const QString &word, bool ignoreCase, QByteArray &out, qint64 textAt = 0,
                  qint64 textBytes = 0);

    // The number of the line the next piece begins with.
    qint64 nextLine() const { return m_line; }
    bool found() const { return m_found; }

    // The line ends among bytes[0, n); bytes[n] is read to tell CR LF from a
    // lone CR, unless n is the whole of bytes.
    static qint64 countBreaks(QByteArrayView bytes, qsizetype n);

private:
    // Appends one hit line in the chosen form; text holds the decoded line.
    void put(qint64 offset, qint64 length, QStringView text, QByteArray &out);

    const WordMatcher *m_matcher;
    QByteArray m_path;
    qint64 m_line;
    Form m_form;
    bool m_found = false;
};
