#pragma once

#include "platform/TextEncoding.h"
#include "platform/TextMatch.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <bitset>
#include <vector>

// Finds the search word in the text of one encoding (code page 932 or UTF-8)
// without decoding text that cannot hold it.
//
// The word is turned into a byte pattern: for each of its characters, every
// byte sequence of the encoding that decodes to that character, or, when case
// is ignored, to any character of the same case fold (A/a, Ａ/ａ, Ω/ω, Ⅰ/ⅰ).
// Several codes can decode to one character even with case (the NEC and IBM
// copies of ∵, ≒, ¬ and of the IBM kanji), so even a case-sensitive word may
// have more than one byte form. Each byte position of the pattern accepts a
// set of bytes. A place in the bytes that fits the pattern is only a
// candidate: a trail byte can look like an ASCII byte, and the sets accept
// combinations of leads and trails that are no code of the word. (UTF-8 needs
// no such care: no sequence starts inside another, but the case folds of a
// letter may differ in length, as K and the Kelvin sign do.) Candidates
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
    // encoding: Cp932 or a UTF-8 one (the mark is not the matcher's concern).
    WordMatcher(const QString &word, bool ignoreCase, TextEncoding encoding = TextEncoding::Cp932);

    // false when no decoded text can hold the word (a character that the
    // encoding cannot represent): no file of it needs to be read for it.
    bool canMatch() const { return m_canMatch; }
    TextEncoding encoding() const { return m_encoding; }

    // The matcher's encoding decoded: into out, with room for bytes.size()
    // characters; the number written.
    qsizetype decodeTo(QByteArrayView bytes, char16_t *out) const;
    QString decode(QByteArrayView bytes) const;

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
        // The first line that holds the word, confirmed on its decoded text,
        // among the lines from `from` on (a line start): its bytes [begin,
        // end), its break not included, and its text. false when none is
        // left. CR and LF are never trail bytes of code page 932 nor part of
        // a UTF-8 sequence: a line begins at a character.
        bool nextHitLine(qsizetype from, qsizetype &begin, qsizetype &end, QString &text);

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
    // Per character of the word, the byte forms it may take.
    using Forms = std::vector<std::vector<QByteArray>>;
    bool utf8Forms(Forms &forms) const;
    bool cp932Forms(Forms &forms) const;
    void buildPattern(const Forms &forms);
    void pickAnchor(const std::array<qint64, 256> &cost);

    QString m_word;
    bool m_ignoreCase;
    TextEncoding m_encoding;
    bool m_canMatch = true;
    Prefilter m_prefilter = Prefilter::EveryLine;
    std::vector<std::bitset<256>> m_classes; // ByteClasses: accepted bytes per offset
    int m_anchor = 0;                        // offset scanned for with memchr
    QByteArray m_anchorBytes;                // its accepted bytes, at most 4
};
