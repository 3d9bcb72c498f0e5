#include "base/MenuEntries.h"

#include <QMetaEnum>

QString MenuEntries::nameOf(MenuEntry entry)
{
    return QString::fromLatin1(QMetaEnum::fromType<MenuEntry>().valueToKey(int(entry)));
}
