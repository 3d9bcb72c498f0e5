#pragma once

#include "base/Command.h"

#include <QIcon>

// The toolbar's pictures: one glyph on a coloured tile per command, drawn
// once, so the buttons need no image files and stay legible at any scale.
class CommandIcons
{
public:
    static QIcon icon(Command command);
};
