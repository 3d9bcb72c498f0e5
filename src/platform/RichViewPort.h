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

// A view that is not there: it shows nothing, holds no text and accepts every
// document without reading it.
class NullRichViewPort : public RichViewPort
{
public:
    bool loadRtf(const QString &) override { return true; }
    void clearText() override {}
    QString plainText() const override { return {}; }
    int caret() const override { return 0; }
    void setCaret(int) override {}
    void selectToLineEnd() override {}
    int find(const QString &, int) override { return -1; }
    QString selectedText() const override { return {}; }
    void setShown(bool) override {}
    bool isShown() const override { return false; }
    void setViewEnabled(bool) override {}
    void refresh() override {}
    void focus() override {}
};
