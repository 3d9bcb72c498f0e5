#pragma once

#include "display/RtfDocument.h"
#include "platform/RichViewPort.h"

#include <QAbstractScrollArea>
#include <QFont>

#include <vector>

// A read-only result view that shows an RTF document written by the program:
// one row per paragraph, no wrapping, the fixed-pitch Japanese font at 10 pt,
// colours from the document, tab stops every 8 half-width columns (as the
// display lines are fitted). It paints only the rows in sight, so loading a
// list of 32,000 lines costs no more than reading the file.
//
// Positions count each paragraph break as two characters (CR LF). caret() is
// the start of the selection, as the program's arithmetic expects.
class RichTextView : public QAbstractScrollArea, public RichViewPort
{
    Q_OBJECT
public:
    explicit RichTextView(QWidget *parent = nullptr);

    // RichViewPort
    bool loadRtf(const QString &path) override;
    void clearText() override;
    QString plainText() const override;
    int caret() const override;
    void setCaret(int position) override;
    void selectToLineEnd() override;
    int find(const QString &text, int from) override;
    QString selectedText() const override;
    void setShown(bool shown) override;
    bool isShown() const override;
    void setViewEnabled(bool enabled) override;
    void refresh() override;
    void focus() override;

    void setDocument(RtfDocument document);
    int lineCount() const { return int(m_lines.size()); }
    int textLength() const;
    // Selection as positions (start <= end).
    int selectionStart() const { return std::min(m_anchor, m_active); }
    int selectionEnd() const { return std::max(m_anchor, m_active); }
    // The fixed-pitch font the text is drawn in.
    const QFont &textFont() const { return m_font; }
    // Position under a point of the viewport.
    int positionAt(const QPoint &point) const;
    // Top-left of a position in viewport coordinates.
    QPoint pointOf(int position) const;

Q_SIGNALS:
    // After the caret moved to where the mouse was released / double-clicked.
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    struct Line
    {
        QString text;
        std::vector<RtfRun> runs;
        int start = 0;   // position of the first character
        int columns = 0; // half-width columns the line takes
    };

    int lineOf(int position) const;
    int clampPosition(int position) const;
    // Half-width column where character index i of a line starts.
    int columnOf(const Line &line, int index) const;
    int indexAtColumn(const Line &line, qreal column) const;
    int visibleRows() const;
    void updateScrollBars();
    void ensureVisible(int position);
    void moveTo(int position, bool extend);
    QString textBetween(int from, int to) const;

    std::vector<Line> m_lines;
    int m_maxColumns = 0;
    int m_anchor = 0;
    int m_active = 0;
    QFont m_font;
    qreal m_columnWidth = 8;
    int m_lineHeight = 16;
    int m_ascent = 12;
    int m_underscoreTop = 1;    // the underscore's rule, below the baseline
    int m_underscoreHeight = 1;
    bool m_dragging = false;
    bool m_afterDoubleClick = false;
    static constexpr int kMargin = 4; // pixels left of the text
};
