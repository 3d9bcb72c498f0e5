#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class WordMatcher;

// Looks for the word in a file's bytes that come piece by piece and are not
// kept: for a file whose lines will never be taken, only whether it holds the
// word is wanted. A piece may end anywhere, also between the two bytes of a
// character; between pieces only a lead byte and the last few characters are
// kept. Finds what the line-by-line search finds: the word holds no line
// break, and CR and LF are never trail bytes, so the file decoded whole
// holds the word exactly where one of its lines does.
class WordStream
{
public:
    explicit WordStream(const WordMatcher &matcher);

    // The next piece; last: no more will come. true once the word was found.
    bool feed(QByteArrayView piece, bool last);
    bool found() const { return m_found; }

private:
    const WordMatcher &m_matcher;
    bool m_possible;
    bool m_found = false;
    QByteArray m_pending; // a lead byte whose trail is still to come, then the piece
    QString m_text;       // the characters kept from before, then the piece decoded
};
