#pragma once

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
    const char *menuEntry; // the menu entry's object name; empty: no menu entry
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
    // The command with the given menu entry name, if any.
    static std::optional<Command> ofMenuEntry(const QString &name);
};
