#pragma once

#include "base/MenuEntries.h"

#include <QMetaType>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

// The 21 toolbar commands, in toolbar order (also the order of the saved
// button states). Code names a command only through this type, so that a
// misspelt command does not compile.
enum class Command {
    DRIVE, FOLDER, NONE1, HOZON, SEARCH_SAVE, SEARCH, FILE_DELETE, SORT, CHANGE, UPDATE, CLEAR,
    CLIP, PARAMETER, HINAGATA, HINA_FUKUSEI, STOP, DISP_SEARCH, DISP, TIME, SETTEI, END,
};
Q_DECLARE_METATYPE(Command)

// Everything the program holds about one command, written once.
struct CommandInfo
{
    Command command;
    const char *key;       // the toolbar button's object name
    const char *tooltip;   // UTF-8
    std::optional<MenuEntry> menuEntry; // none: no menu entry
    const char *glyph;     // UTF-8: the character on the button's tile
    quint32 colour;        // the tile's colour, 0xRRGGBB
};

class Commands
{
public:
    static constexpr int kCount = 21;
    // Row i describes Command(i).
    static const std::array<CommandInfo, kCount> &table();
    static const CommandInfo &info(Command command) { return table()[size_t(command)]; }
    static QString key(Command command) { return QString::fromLatin1(info(command).key); }
    // The command the menu entry runs, if any.
    static std::optional<Command> ofMenuEntry(MenuEntry entry);
};
