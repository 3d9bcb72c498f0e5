#include "app/widgets/CommandIcons.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace {

QPixmap tile(const QString &text, QColor colour, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 5.0, size / 5.0);
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(size * 7 / 10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, text);
    return pm;
}

} // namespace

QIcon CommandIcons::icon(Command command)
{
    static QHash<int, QIcon> cache;
    if (auto it = cache.constFind(int(command)); it != cache.constEnd())
        return *it;
    QIcon icon;
    const CommandInfo &c = Commands::info(command);
    const QString text = QString::fromUtf8(c.glyph);
    for (int size : {16, 20, 24, 32, 48})
        icon.addPixmap(tile(text, QColor::fromRgb(c.colour), size));
    // The disabled picture: the same tile in grey.
    for (int size : {16, 20, 24, 32, 48})
        icon.addPixmap(tile(text, QColor(0xb0, 0xb0, 0xb0), size), QIcon::Disabled);
    cache.insert(int(command), icon);
    return icon;
}
