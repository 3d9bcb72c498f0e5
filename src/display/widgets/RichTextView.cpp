#include "display/widgets/RichTextView.h"

#include "base/widgets/QuavDialog.h"
#include "display/RtfReader.h"
#include "platform/Cp932.h"

#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QtMath>

#include <algorithm>

namespace {

constexpr int kTabColumns = 8;

int advance(QChar c, int column)
{
    if (c == QLatin1Char('\t'))
        return kTabColumns - column % kTabColumns;
    return Cp932::byteWidth(c) == 2 ? 2 : 1;
}

} // namespace

RichTextView::RichTextView(QWidget *parent) : QAbstractScrollArea(parent)
{
    m_font = QuavDialog::listFont();
    const QFontMetricsF metrics(m_font);
    m_columnWidth = metrics.horizontalAdvance(QLatin1Char('0'));
    if (m_columnWidth <= 0)
        m_columnWidth = 8;
    // A row holds the font's whole height: the baseline below the full
    // ascent, the whole descent under it. Rounded, a row could end inside the
    // descent, and the next row's highlight would cover what hangs there.
    m_ascent = qCeil(metrics.ascent());
    // The font's underscore is a hairline that anti-aliasing fades to a pale
    // grey and full hinting can drop altogether: "SEARCH_FILE" would read as
    // "SEARCH FILE". The views rule it themselves, at least a pixel thick,
    // over the font's own stroke.
    const QRectF stroke = metrics.tightBoundingRect(QStringLiteral("_"));
    m_underscoreTop = std::max(1, qFloor(stroke.top()));
    m_underscoreHeight = std::max(1, qRound(stroke.height()));
    m_lineHeight = std::max({1, qCeil(metrics.lineSpacing()), m_ascent + qCeil(metrics.descent()),
                             m_ascent + m_underscoreTop + m_underscoreHeight});
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    clearText();
}

bool RichTextView::loadRtf(const QString &path)
{
    RtfDocument document;
    if (!RtfReader::readFile(path, document))
        return false;
    setDocument(std::move(document));
    return true;
}

void RichTextView::setDocument(RtfDocument document)
{
    m_lines.clear();
    m_lines.reserve(document.paragraphs.size());
    m_maxColumns = 0;
    int start = 0;
    for (RtfParagraph &p : document.paragraphs) {
        Line line;
        line.text = std::move(p.text);
        line.runs = std::move(p.runs);
        line.start = start;
        int column = 0;
        for (const QChar c : std::as_const(line.text))
            column += advance(c, column);
        line.columns = column;
        m_maxColumns = std::max(m_maxColumns, column);
        start += int(line.text.size()) + 2; // CR LF
        m_lines.push_back(std::move(line));
    }
    if (m_lines.empty())
        m_lines.push_back(Line());
    m_anchor = m_active = 0;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

void RichTextView::clearText()
{
    setDocument(RtfDocument());
}

QString RichTextView::plainText() const
{
    return textBetween(0, textLength());
}

int RichTextView::textLength() const
{
    const Line &last = m_lines.back();
    return last.start + int(last.text.size());
}

int RichTextView::caret() const
{
    return selectionStart();
}

int RichTextView::clampPosition(int position) const
{
    return std::clamp(position, 0, textLength());
}

void RichTextView::setCaret(int position)
{
    m_anchor = m_active = clampPosition(position);
    ensureVisible(m_active);
    viewport()->update();
}

void RichTextView::selectToLineEnd()
{
    const int from = caret();
    const Line &line = m_lines[size_t(lineOf(from))];
    const int end = std::max(from, line.start + int(line.text.size()));
    m_anchor = from;
    m_active = end;
    ensureVisible(m_anchor);
    viewport()->update();
}

int RichTextView::find(const QString &text, int from)
{
    if (text.isEmpty())
        return -1;
    from = clampPosition(from);
    int found = -1;
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))) {
        found = int(plainText().indexOf(text, from, Qt::CaseInsensitive));
    } else {
        for (int l = lineOf(from); l < int(m_lines.size()) && found < 0; ++l) {
            const Line &line = m_lines[size_t(l)];
            const int offset = std::max(0, from - line.start);
            if (offset > line.text.size())
                continue;
            const qsizetype i = line.text.indexOf(text, offset, Qt::CaseInsensitive);
            if (i >= 0)
                found = line.start + int(i);
        }
    }
    if (found >= 0) {
        m_anchor = found;
        m_active = found + int(text.size());
        ensureVisible(m_anchor);
        viewport()->update();
    }
    return found;
}

QString RichTextView::textBetween(int from, int to) const
{
    from = clampPosition(from);
    to = clampPosition(to);
    QString out;
    if (from >= to)
        return out;
    for (int l = lineOf(from); l < int(m_lines.size()); ++l) {
        const Line &line = m_lines[size_t(l)];
        if (line.start >= to)
            break;
        const int len = int(line.text.size());
        const int a = std::clamp(from - line.start, 0, len);
        const int b = std::clamp(to - line.start, 0, len);
        out += QStringView(line.text).mid(a, b - a);
        // The break's two characters, whole or in part.
        const int breakFrom = std::max(from, line.start + len);
        const int breakTo = std::min(to, line.start + len + 2);
        if (l + 1 < int(m_lines.size()) && breakFrom < breakTo)
            out += QStringView(u"\r\n").mid(breakFrom - (line.start + len), breakTo - breakFrom);
    }
    return out;
}

QString RichTextView::selectedText() const
{
    return textBetween(selectionStart(), selectionEnd());
}

void RichTextView::setShown(bool shown)
{
    setVisible(shown);
}

bool RichTextView::isShown() const
{
    return !isHidden();
}

void RichTextView::setViewEnabled(bool enabled)
{
    setEnabled(enabled);
}

void RichTextView::refresh()
{
    viewport()->update();
}

void RichTextView::focus()
{
    setFocus(Qt::OtherFocusReason);
}

int RichTextView::lineOf(int position) const
{
    auto it = std::upper_bound(m_lines.begin(), m_lines.end(), position,
                               [](int p, const Line &line) { return p < line.start; });
    return it == m_lines.begin() ? 0 : int(it - m_lines.begin()) - 1;
}

int RichTextView::columnOf(const Line &line, int index) const
{
    int column = 0;
    const int n = std::min(index, int(line.text.size()));
    for (int i = 0; i < n; ++i)
        column += advance(line.text[i], column);
    return column;
}

int RichTextView::indexAtColumn(const Line &line, qreal column) const
{
    int c = 0;
    for (int i = 0; i < int(line.text.size()); ++i) {
        const int w = advance(line.text[i], c);
        if (column < c + w / 2.0)
            return i;
        c += w;
    }
    return int(line.text.size());
}

int RichTextView::visibleRows() const
{
    return std::max(1, viewport()->height() / m_lineHeight);
}

void RichTextView::updateScrollBars()
{
    const int rows = visibleRows();
    verticalScrollBar()->setRange(0, std::max(0, int(m_lines.size()) - rows));
    verticalScrollBar()->setPageStep(rows);
    verticalScrollBar()->setSingleStep(1);
    const int width = qCeil(m_maxColumns * m_columnWidth) + 2 * kMargin;
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(qCeil(m_columnWidth));
}

void RichTextView::ensureVisible(int position)
{
    const int l = lineOf(position);
    const int rows = visibleRows();
    QScrollBar *v = verticalScrollBar();
    if (l < v->value())
        v->setValue(l);
    else if (l >= v->value() + rows)
        v->setValue(l - rows + 1);
    const Line &line = m_lines[size_t(l)];
    const int x = qRound(columnOf(line, position - line.start) * m_columnWidth) + kMargin;
    QScrollBar *h = horizontalScrollBar();
    if (x < h->value())
        h->setValue(std::max(0, x - kMargin));
    else if (x + m_columnWidth > h->value() + viewport()->width())
        h->setValue(x + qCeil(m_columnWidth) - viewport()->width() + kMargin);
}

int RichTextView::positionAt(const QPoint &point) const
{
    const int row = verticalScrollBar()->value() + (point.y() >= 0 ? point.y() / m_lineHeight : -1);
    if (row < 0)
        return 0;
    if (row >= int(m_lines.size()))
        return textLength();
    const Line &line = m_lines[size_t(row)];
    const qreal column = (point.x() + horizontalScrollBar()->value() - kMargin) / m_columnWidth;
    return line.start + indexAtColumn(line, column);
}

QPoint RichTextView::pointOf(int position) const
{
    position = clampPosition(position);
    const int l = lineOf(position);
    const Line &line = m_lines[size_t(l)];
    const int x = qRound(columnOf(line, position - line.start) * m_columnWidth) + kMargin - horizontalScrollBar()->value();
    return QPoint(x, (l - verticalScrollBar()->value()) * m_lineHeight);
}

void RichTextView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QPalette &pal = palette();
    painter.fillRect(viewport()->rect(), pal.color(QPalette::Active, QPalette::Base));
    painter.setFont(m_font);

    const int first = verticalScrollBar()->value();
    const int last = std::min(int(m_lines.size()) - 1, first + visibleRows());
    const qreal x0 = kMargin - horizontalScrollBar()->value();
    const int selFrom = selectionStart();
    const int selTo = selectionEnd();
    const QColor highlight = pal.color(QPalette::Active, QPalette::Highlight);
    const QColor highlightedText = pal.color(QPalette::Active, QPalette::HighlightedText);

    for (int l = first; l <= last; ++l) {
        const Line &line = m_lines[size_t(l)];
        const int y = (l - first) * m_lineHeight;
        const int len = int(line.text.size());
        const int a = std::clamp(selFrom - line.start, 0, len + 2);
        const int b = std::clamp(selTo - line.start, 0, len + 2);
        if (a < b) {
            const qreal left = x0 + columnOf(line, a) * m_columnWidth;
            // A selected break shows as one column after the text.
            const qreal right = x0 + (columnOf(line, std::min(b, len)) + (b > len ? 1 : 0)) * m_columnWidth;
            painter.fillRect(QRectF(left, y, right - left, m_lineHeight), highlight);
        }
        // Single-byte text is drawn in pieces of one colour; every other
        // character on its own at its column, so that the columns hold
        // whatever widths the font gives its glyphs.
        size_t run = 0;
        int column = 0;
        int i = 0;
        while (i < len) {
            while (run + 1 < line.runs.size() && line.runs[run].start + line.runs[run].length <= i)
                ++run;
            const quint32 rgb = run < line.runs.size() ? line.runs[run].color : 0u;
            const int runEnd = run < line.runs.size() ? line.runs[run].start + line.runs[run].length : len;
            const bool selected = i >= a && i < b;
            const QChar c = line.text[i];
            if (c == QLatin1Char('\t')) {
                column += advance(c, column);
                ++i;
                continue;
            }
            int j = i + 1;
            if (c.unicode() < 0x80) {
                while (j < len && j < runEnd && line.text[j].unicode() < 0x80 && line.text[j] != QLatin1Char('\t')
                       && ((j >= a && j < b) == selected))
                    ++j;
            }
            const QColor pen = selected ? highlightedText : QColor::fromRgb(QRgb(0xFF000000u | rgb));
            painter.setPen(pen);
            const qreal x = x0 + column * m_columnWidth;
            const bool inSight = x < viewport()->width();
            if (inSight) {
                const QStringView piece = QStringView(line.text).mid(i, j - i);
                painter.drawText(QPointF(x, y + m_ascent), piece.toString());
            }
            for (int k = i; k < j; ++k) {
                if (inSight && line.text[k] == QLatin1Char('_'))
                    painter.fillRect(QRectF(x0 + column * m_columnWidth, y + m_ascent + m_underscoreTop, m_columnWidth,
                                            m_underscoreHeight),
                                     pen);
                column += advance(line.text[k], column);
            }
            i = j;
        }
    }
    if (hasFocus() && isEnabled()) {
        const QPoint p = pointOf(m_active);
        painter.setPen(pal.color(QPalette::Active, QPalette::Text));
        painter.drawLine(p.x(), p.y() + 1, p.x(), p.y() + m_lineHeight - 2);
    }
}

void RichTextView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void RichTextView::moveTo(int position, bool extend)
{
    m_active = clampPosition(position);
    if (!extend)
        m_anchor = m_active;
    ensureVisible(m_active);
    viewport()->update();
}

void RichTextView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    moveTo(positionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    m_dragging = true;
}

void RichTextView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        moveTo(positionAt(event->position().toPoint()), true);
}

void RichTextView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    // The release that ends a double click is not another click.
    if (m_afterDoubleClick) {
        m_afterDoubleClick = false;
        return;
    }
    Q_EMIT clicked();
}

void RichTextView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    moveTo(positionAt(event->position().toPoint()), false);
    m_afterDoubleClick = true;
    Q_EMIT doubleClicked();
}

void RichTextView::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Copy) {
        if (selectionStart() < selectionEnd())
            QGuiApplication::clipboard()->setText(selectedText());
        return;
    }
    if (event == QKeySequence::SelectAll) {
        m_anchor = 0;
        moveTo(textLength(), true);
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int l = lineOf(m_active);
    const Line &line = m_lines[size_t(l)];
    const int index = std::min(m_active - line.start, int(line.text.size()));
    auto toLine = [&](int target) {
        target = std::clamp(target, 0, int(m_lines.size()) - 1);
        const Line &to = m_lines[size_t(target)];
        moveTo(to.start + indexAtColumn(to, columnOf(line, index)), extend);
    };
    switch (event->key()) {
    case Qt::Key_Left:
        if (index == 0 && l > 0)
            moveTo(m_lines[size_t(l - 1)].start + int(m_lines[size_t(l - 1)].text.size()), extend);
        else
            moveTo(line.start + std::max(0, index - 1), extend);
        break;
    case Qt::Key_Right:
        if (index >= line.text.size() && l + 1 < int(m_lines.size()))
            moveTo(m_lines[size_t(l + 1)].start, extend);
        else
            moveTo(line.start + std::min(int(line.text.size()), index + 1), extend);
        break;
    case Qt::Key_Up: toLine(l - 1); break;
    case Qt::Key_Down: toLine(l + 1); break;
    case Qt::Key_PageUp: toLine(l - visibleRows()); break;
    case Qt::Key_PageDown: toLine(l + visibleRows()); break;
    case Qt::Key_Home: moveTo(control ? 0 : line.start, extend); break;
    case Qt::Key_End: moveTo(control ? textLength() : line.start + int(line.text.size()), extend); break;
    default: QAbstractScrollArea::keyPressEvent(event); break;
    }
}

void RichTextView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void RichTextView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}
