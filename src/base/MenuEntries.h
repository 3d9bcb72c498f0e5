#pragma once

#include <QObject>
#include <QString>

// The main window's menu entries, in menu order. Code names an entry only
// through this type, so that a misspelt entry does not compile; the entry's
// action carries its enumerator's name as object name.
namespace MenuEntries {
Q_NAMESPACE

enum class MenuEntry {
    M_FILE_PATH, M_FILE_FOLDER, M_FILE_PARAMETER, M_FILE_HINAGATA, M_FILE_SAVE, M_FILE_UNDO,
    M_FILE_SAVE_SETTEI, M_FILE_EXIT,
    M_EDIT_STOP, M_EDIT_CLIP, M_EDIT_SEARCH, M_EDIT_DELETE, M_EDIT_SORT, M_EDIT_CHANGE, M_EDIT_EDIT,
    M_EDIT_CLEAR, M_EDIT_HINA_FUKUSEI,
    M_DISP_ITIRAN, M_DISP_SYOUSAI, M_DISP_COLOR,
    M_DISP_TOOL_BAR, M_DISP_STATUS_BAR, M_CONFIG_DATE, M_CONFIG_UNDO,
    M_HELP_VER,
};
Q_ENUM_NS(MenuEntry)

constexpr int kCount = int(MenuEntry::M_HELP_VER) + 1;

// The entry's object name: its enumerator's name, "M_FILE_PATH" etc.
QString nameOf(MenuEntry entry);

} // namespace MenuEntries

using MenuEntry = MenuEntries::MenuEntry;
