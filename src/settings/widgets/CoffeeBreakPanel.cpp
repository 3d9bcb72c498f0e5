#include "settings/widgets/CoffeeBreakPanel.h"

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

void CoffeeBreakPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    p.setPen(QPen(QColor(0x1b, 0x5e, 0x20), 2));
    p.setBrush(QColor(0x2e, 0x7d, 0x32));
    p.drawRoundedRect(r, 10, 10);

    // The cup stands at the left, a third of the height wide.
    const qreal u = r.height() / 10;
    const QPointF o(r.left() + 2 * u, r.top() + 3.2 * u);
    p.setPen(QPen(Qt::white, u * 0.45, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath cup;
    cup.moveTo(o);
    cup.lineTo(o + QPointF(0.4 * u, 3.6 * u));
    cup.quadTo(o + QPointF(0.6 * u, 4.4 * u), o + QPointF(1.6 * u, 4.4 * u));
    cup.lineTo(o + QPointF(2.4 * u, 4.4 * u));
    cup.quadTo(o + QPointF(3.4 * u, 4.4 * u), o + QPointF(3.6 * u, 3.6 * u));
    cup.lineTo(o + QPointF(4.0 * u, 0));
    cup.closeSubpath();
    p.drawPath(cup);
    p.drawEllipse(o + QPointF(4.4 * u, 1.6 * u), 0.9 * u, 1.0 * u); // handle
    p.drawLine(o + QPointF(-0.6 * u, 5.1 * u), o + QPointF(4.6 * u, 5.1 * u)); // saucer
    for (int i = 0; i < 3; ++i) { // steam
        const QPointF s = o + QPointF((0.9 + 1.1 * i) * u, -0.6 * u);
        QPainterPath steam;
        steam.moveTo(s);
        steam.cubicTo(s + QPointF(-0.6 * u, -0.7 * u), s + QPointF(0.6 * u, -1.1 * u), s + QPointF(0, -1.9 * u));
        p.drawPath(steam);
    }

    const QRectF textArea(r.left() + 8 * u, r.top(), r.width() - 9 * u, r.height());
    QFont title = font();
    title.setPixelSize(int(u * 1.9));
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(textArea.adjusted(0, 0, 0, -r.height() / 2 + u * 0.2), Qt::AlignHCenter | Qt::AlignBottom, kTitle);
    QFont text = font();
    text.setPixelSize(int(u * 1.3));
    p.setFont(text);
    p.drawText(textArea.adjusted(0, r.height() / 2 + u * 0.8, 0, 0), Qt::AlignHCenter | Qt::AlignTop, kText);
}
