#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <vector>

class EventPump;
class WordMatcher;

// A file with a hit, decoded into its all-lines entries
// ("KEY:@:000012.000:@:text", one per line; an empty file is one empty line)
// and which lines hold the word.
struct ScannedFile
{
    QStringList entries;
    std::vector<int> hitLines; // 0-based line indexes, ascending
    qsizetype textOffset = 0;  // where the line's text begins in each entry

    qsizetype lineCount() const { return entries.size(); }
    QStringView lineText(qsizetype i) const { return QStringView(entries.at(i)).mid(textOffset); }
};

// The lines of a text: how many, and how long the longest is (characters).
struct TextShape
{
    qint64 lines = 0;
    qsizetype longest = 0;
};

// The scan of one file held whole in memory. The word is looked for on the
// bytes first: a file without a hit is never decoded beyond the few lines
// where its bytes looked like the word.
class FileScan
{
public:
    // Whether some line contains the word (the has-a-hit flag). Only lines
    // with a byte candidate are decoded. Lines before `from` (a line start)
    // are taken as already looked at.
    static bool Scan_File(const WordMatcher &matcher, QByteArrayView bytes, qsizetype from = 0);

    // Just past the last line break among bytes [from, size), -1 when there
    // is none: only those bytes are looked at, so that a file read in steps
    // has each byte looked at once however long its lines are.
    static qsizetype lastLineEnd(QByteArrayView bytes, qsizetype from);

    // Every line decoded into its all-lines entry under the file's key (its
    // upper-case path), and the lines that hold the word. Given a pump, yields
    // to it every few hundred lines or every megabyte, whichever comes first. lineCount: the file's
    // lines when the caller has counted them already (LineMeter), to size the
    // entries at once (-1: not known).
    static void collect(const WordMatcher &matcher, QByteArrayView bytes, const QString &key, ScannedFile &out,
                        EventPump *pump, qint64 lineCount = -1);

    // The same for a text already decoded whole (a UTF-16 file, whose line
    // breaks cannot be found among its bytes), compared as the views compare.
    static bool scanText(QStringView text, const QString &word, bool ignoreCase);
    static TextShape measureText(QStringView text);
    static void collectText(QStringView text, const QString &word, bool ignoreCase, const QString &key,
                            ScannedFile &out);
    // Each line of the text holding the word, with its number from 1.
    static void textHits(QStringView text, const QString &word, bool ignoreCase,
                         const std::function<void(qint64 line, QStringView text)> &hit);
};
