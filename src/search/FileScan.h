#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class EventPump;
class WordMatcher;

// A file with a hit, decoded: every line, and which lines hold the word.
struct ScannedFile
{
    QStringList lines;        // without their line breaks; an empty file is one empty line
    std::vector<int> hitLines; // 0-based indexes into lines, ascending
};

// Reads one file at a time, whole, into a buffer kept between files, and
// finds the word on its bytes first: a file without a hit is never decoded
// beyond the few lines where its bytes looked like the word.
class FileScan
{
public:
    explicit FileScan(const WordMatcher &matcher) : m_matcher(matcher) {}

    // The whole file into the buffer; false with a Japanese reason when it
    // cannot be opened or read.
    bool load(const QString &path, QString *error);

    // Whether some line of the loaded file contains the word (the has-a-hit
    // flag). Only lines with a byte candidate are decoded.
    bool Scan_File() const;

    // Lines of the loaded file as the text-file layer splits them (CR LF, LF
    // or a lone CR; a last line without a break counts; an empty file is one
    // line), counted only up to limit + 1: enough to tell whether it fits.
    qint64 countLines(qint64 limit) const;

    // Every line decoded, and the lines that hold the word. Yields to the
    // event loop every few hundred lines.
    void collect(ScannedFile &out, EventPump *pump) const;

    qsizetype size() const { return m_size; }

private:
    const WordMatcher &m_matcher;
    QByteArray m_buffer; // grows, never shrinks: one allocation for a whole run
    qsizetype m_size = 0;
};
