#pragma once

#include <QString>

// One of the two read-only result views. Character positions count a
// paragraph break as two characters (CR LF), as the list view's arithmetic
// of 85 characters per single-byte display line expects.
class RichViewPort
{
public:
    virtual ~RichViewPort() = default;

    // Loads an RTF file written by the program; false when it cannot be read.
    virtual bool loadRtf(const QString &path) = 0;
    virtual void clearText() = 0;
    virtual QString plainText() const = 0; // paragraphs joined by "\r\n"

    virtual int caret() const = 0;
    virtual void setCaret(int position) = 0; // also drops the selection
    // Selects from the caret up to, not including, the next CR or LF.
    virtual void selectToLineEnd() = 0;
    // Finds text from a position, selects it; its position or -1.
    virtual int find(const QString &text, int from) = 0;
    virtual QString selectedText() const = 0; // line breaks as "\r\n"

    virtual void setShown(bool shown) = 0;
    virtual bool isShown() const = 0;
    virtual void setViewEnabled(bool enabled) = 0;
    virtual void refresh() = 0;
    virtual void focus() = 0;
};
