#pragma once

#include "platform/TextMatch.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <bitset>
#include <vector>

// Finds the search word in code page 932 text without decoding text that
// cannot hold it.
//
// The word is turned into a byte pattern: for each of its characters, every
// code page 932 byte sequence that decodes to that character, or, when case
// is ignored, to any character of the same case fold (A/a, Ａ/ａ, Ω/ω, Ⅰ/ⅰ).
// Several codes can decode to one character even with case (the NEC and IBM
// copies of ∵, ≒, ¬ and of the IBM kanji), so even a case-sensitive word may
// have more than one byte form. Each byte position of the pattern accepts a
// set of bytes. A place in the bytes that fits the pattern is only a
// candidate: a trail byte can look like an ASCII byte, and the sets accept
// combinations of leads and trails that are no code of the word. Candidates
// are confirmed on the decoded line with the program's one comparison of a
// word in a line (TextMatch, which replace and the views use too). A real hit
// is always among the candidates, so no line with a hit is missed.
//
// Case-insensitive comparison is Unicode simple case folding, as QString
// does it: ASCII and full-width Latin letters, Greek, Cyrillic and Roman
// numerals fold; full-width and half-width forms, and hiragana and katakana,
// stay different characters.
class WordMatcher
{
public:
    WordMatcher(const QString &word, bool ignoreCase);

    // false when no decoded text can hold the word (a character that code
    // page 932 cannot represent): no file needs to be read for it.
    bool canMatch() const { return m_canMatch; }

    const QString &word() const { return m_word; }

    // The comparison on characters: the line contains the word.
    bool confirm(QStringView line) const { return TextMatch::contains(line, m_word, m_ignoreCase); }

    // One pass over one buffer, candidates in increasing order. Keeps the
    // next place of each anchor byte, so a pass costs one memchr sweep per
    // anchor byte however many candidates it yields.
    class Cursor
    {
    public:
        Cursor(const WordMatcher &matcher, QByteArrayView bytes);
        // The first byte offset >= from where the word's bytes may begin, or -1.
        qsizetype next(qsizetype from);

    private:
        bool fits(qsizetype start) const;
        const WordMatcher &m;
        const uchar *m_data;
        qsizetype m_size;
        std::array<qsizetype, 4> m_nextAt{}; // per anchor byte; m_size = none left
    };

    static constexpr size_t kMaxAnchorBytes = 4;

    // Picks the anchor byte again from the byte frequencies of a sample of
    // the files to be searched (the built-in guess is for Japanese text with
    // some ASCII). Only speed depends on it.
    void tune(QByteArrayView sample);

    // How the candidates are found; for the tests and the benchmark notes.
    enum class Prefilter { EveryLine, ByteClasses };
    Prefilter prefilter() const { return m_prefilter; }
    int patternBytes() const { return int(m_classes.size()); }
    int anchorOffset() const { return m_anchor; }

private:
    void buildPattern(const std::vector<std::vector<quint16>> &codes);
    void pickAnchor(const std::array<qint64, 256> &cost);

    QString m_word;
    bool m_ignoreCase;
    bool m_canMatch = true;
    Prefilter m_prefilter = Prefilter::EveryLine;
    std::vector<std::bitset<256>> m_classes; // ByteClasses: accepted bytes per offset
    int m_anchor = 0;                        // offset scanned for with memchr
    QByteArray m_anchorBytes;                // its accepted bytes, at most 4
};
