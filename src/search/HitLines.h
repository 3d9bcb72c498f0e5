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
class HitLines
{
public:
    HitLines(const WordMatcher &matcher, QByteArray path, qint64 firstLine = 1);

    // The next whole lines of the file (the last one may lack its break only
    // at the file's end, and a piece never ends between CR and LF). more:
    // other pieces follow, so every line of this one is counted.
    void take(QByteArrayView lines, QByteArray &out, bool more);

    // The matcher of the file's encoding once it is known: the lines taken
    // before were ASCII, which every encoding reads alike.
    void setMatcher(const WordMatcher &matcher) { m_matcher = &matcher; }
    // The whole text of a file decoded whole (UTF-16), compared as the views
    // compare.
    void takeText(QStringView text, const QString &word, bool ignoreCase, QByteArray &out);

    // The number of the line the next piece begins with.
    qint64 nextLine() const { return m_line; }
    bool found() const { return m_found; }

    // The line ends among bytes[0, n); bytes[n] is read to tell CR LF from a
    // lone CR, unless n is the whole of bytes.
    static qint64 countBreaks(QByteArrayView bytes, qsizetype n);

private:
    const WordMatcher *m_matcher;
    QByteArray m_path;
    qint64 m_line;
    bool m_found = false;
};
