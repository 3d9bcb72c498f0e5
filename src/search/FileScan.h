#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

class EventPump;
class WordMatcher;

// A file with a hit, decoded: every line, and which lines hold the word.
struct ScannedFile
{
    QStringList lines;         // without their line breaks; an empty file is one empty line
    std::vector<int> hitLines; // 0-based indexes into lines, ascending
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

    // The end of the last complete line: the offset just past its last line
    // break, 0 when there is none.
    static qsizetype completeLines(QByteArrayView bytes);

    // Lines as the text-file layer splits them (CR LF, LF or a lone CR; a last
    // line without a break counts; an empty file is one line), counted only
    // up to limit + 1: enough to tell whether the file fits.
    static qint64 countLines(QByteArrayView bytes, qint64 limit);

    // Every line decoded, and the lines that hold the word. Yields to the
    // event loop every few hundred lines.
    static void collect(const WordMatcher &matcher, QByteArrayView bytes, ScannedFile &out, EventPump *pump);
};
