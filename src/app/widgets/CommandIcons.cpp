#include "app/widgets/CommandIcons.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace {

struct Glyph
{
    const char *key;
    const char *text;
    QRgb colour;
};

const Glyph kGlyphs[] = {
    {"DRIVE", "路", 0x3a6ea5},   {"FOLDER", "履", 0x3a6ea5},      {"NONE1", "出", 0x808080},
    {"HOZON", "保", 0x2e7d32},   {"SEARCH_SAVE", "結", 0x2e7d32}, {"SEARCH", "検", 0xc62828},
    {"FILE_DELETE", "消", 0x6d4c41}, {"SORT", "並", 0x6a1b9a},    {"CHANGE", "置", 0xef6c00},
    {"UPDATE", "編", 0xef6c00},  {"CLEAR", "空", 0x6d4c41},       {"CLIP", "写", 0x00838f},
    {"PARAMETER", "引", 0x4527a0}, {"HINAGATA", "雛", 0x4527a0},  {"HINA_FUKUSEI", "複", 0x4527a0},
    {"STOP", "止", 0xb71c1c},    {"DISP_SEARCH", "一", 0x1565c0}, {"DISP", "詳", 0x1565c0},
    {"TIME", "時", 0x00695c},    {"SETTEI", "色", 0xad1457},      {"END", "終", 0x37474f},
};

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

QIcon CommandIcons::icon(const QString &key)
{
    static QHash<QString, QIcon> cache;
    if (auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    QIcon icon;
    for (const Glyph &g : kGlyphs) {
        if (key != QLatin1String(g.key))
            continue;
        const QString text = QString::fromUtf8(g.text);
        for (int size : {16, 20, 24, 32, 48})
            icon.addPixmap(tile(text, QColor::fromRgb(g.colour), size));
        // The disabled picture: the same tile in grey.
        for (int size : {16, 20, 24, 32, 48})
            icon.addPixmap(tile(text, QColor(0xb0, 0xb0, 0xb0), size), QIcon::Disabled);
    }
    cache.insert(key, icon);
    return icon;
}
