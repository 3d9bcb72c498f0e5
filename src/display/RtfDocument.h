#pragma once

#include <QList>
#include <QString>

#include <vector>

// A read RTF document reduced to what the result views show: paragraphs of
// text, each with runs of colour. Colours are 0xRRGGBB.
struct RtfRun
{
    int start = 0;  // index into the paragraph text
    int length = 0;
    quint32 color = 0;
};

struct RtfParagraph
{
    QString text;
    std::vector<RtfRun> runs; // in order, covering the text without gaps
};

struct RtfDocument
{
    std::vector<RtfParagraph> paragraphs;

    // Paragraphs joined by CR LF, as the views count positions.
    QString plainText() const;
};
