#include "settings/widgets/CoffeeBreakPanel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

const QString CoffeeBreakPanel::kTitle = QStringLiteral("コーヒータイム！！");
const QString CoffeeBreakPanel::kText = QStringLiteral("VDT作業の休憩時間です。");

CoffeeBreakPanel::CoffeeBreakPanel(QWidget *parent)
    : QWidget(parent)
{
    setAccessibleName(kTitle + QLatin1Char(' ') + kText);
    setMinimumSize(sizeHint());
}

namespace {

// The largest pixel size up to `wanted` at which text fits into width.
QFont fitted(QFont font, int wanted, const QString &text, qreal width)
{
    for (int size = wanted; size > 6; --size) {
        font.setPixelSize(size);
        if (QFontMetricsF(font).horizontalAdvance(text) <= width)
            return font;
    }
    font.setPixelSize(6);
    return font;
}

} // namespace

void CoffeeBreakPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    p.setPen(QPen(QColor(0x1b, 0x5e, 0x20), 2));
    p.setBrush(QColor(0x2e, 0x7d, 0x32));
    p.drawRoundedRect(r, 10, 10);

    // The cup, with its steam and saucer, in a square at the left; u is a
    // tenth of the square's side.
    const qreal margin = r.height() * 0.12;
    const qreal side = r.height() * 0.66;
    const QRectF box(r.left() + margin, r.center().y() - side / 2, side, side);
    const qreal u = side / 10;
    const QPointF o = box.topLeft() + QPointF(1 * u, 3.4 * u); // top left of the cup's rim
    p.setPen(QPen(Qt::white, u * 0.55, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath cup;
    cup.moveTo(o);
    cup.lineTo(o + QPointF(0.5 * u, 4.2 * u));
    cup.quadTo(o + QPointF(0.7 * u, 5.0 * u), o + QPointF(1.8 * u, 5.0 * u));
    cup.lineTo(o + QPointF(3.4 * u, 5.0 * u));
    cup.quadTo(o + QPointF(4.5 * u, 5.0 * u), o + QPointF(4.7 * u, 4.2 * u));
    cup.lineTo(o + QPointF(5.2 * u, 0));
    cup.closeSubpath();
    p.drawPath(cup);
    p.drawArc(QRectF(o + QPointF(4.4 * u, 0.9 * u), QSizeF(2.2 * u, 2.4 * u)), -90 * 16, 180 * 16); // handle
    p.drawLine(o + QPointF(-0.8 * u, 5.9 * u), o + QPointF(6.0 * u, 5.9 * u)); // saucer
    for (int i = 0; i < 3; ++i) { // steam
        const QPointF s = o + QPointF((1.2 + 1.4 * i) * u, -0.8 * u);
        QPainterPath steam;
        steam.moveTo(s);
        steam.cubicTo(s + QPointF(-0.8 * u, -0.8 * u), s + QPointF(0.8 * u, -1.3 * u), s + QPointF(0, -2.3 * u));
        p.drawPath(steam);
    }

    // The two lines share the room right of the cup, each as large as fits.
    const QRectF text(box.right() + margin, r.top() + margin, r.right() - box.right() - 2 * margin,
                      r.height() - 2 * margin);
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont = fitted(titleFont, int(r.height() * 0.2), kTitle, text.width());
    const QFont textFont = fitted(font(), int(r.height() * 0.12), kText, text.width());
    p.setPen(Qt::white);
    p.setFont(titleFont);
    p.drawText(QRectF(text.left(), text.top(), text.width(), text.height() * 0.55), Qt::AlignCenter | Qt::AlignBottom,
               kTitle);
    p.setFont(textFont);
    p.drawText(QRectF(text.left(), text.top() + text.height() * 0.6, text.width(), text.height() * 0.4),
               Qt::AlignHCenter | Qt::AlignTop, kText);
}
