#include "base/Command.h"

const std::array<CommandInfo, Commands::kCount> &Commands::table()
{
    static const std::array<CommandInfo, kCount> t = {{
        {Command::DRIVE, "DRIVE", "ｻｰﾁﾊﾟｽ選択", MenuEntry::M_FILE_PATH, "路", 0x3a6ea5},
        {Command::FOLDER, "FOLDER", "フォルダー履歴からパスを選択", MenuEntry::M_FILE_FOLDER, "履", 0x3a6ea5},
        {Command::NONE1, "NONE1", "", std::nullopt, "出", 0x808080},
        {Command::HOZON, "HOZON", "保存", MenuEntry::M_FILE_SAVE, "保", 0x2e7d32},
        {Command::SEARCH_SAVE, "SEARCH_SAVE", "検索結果の保存", MenuEntry::M_FILE_SAVE_SETTEI, "結", 0x2e7d32},
        {Command::SEARCH, "SEARCH", "検索", MenuEntry::M_EDIT_SEARCH, "検", 0xc62828},
        {Command::FILE_DELETE, "FILE_DELETE", "選択取り消し", MenuEntry::M_EDIT_DELETE, "消", 0x6d4c41},
        {Command::SORT, "SORT", "並び替え", MenuEntry::M_EDIT_SORT, "並", 0x6a1b9a},
        {Command::CHANGE, "CHANGE", "置替", MenuEntry::M_EDIT_CHANGE, "置", 0xef6c00},
        {Command::UPDATE, "UPDATE", "簡易編集", MenuEntry::M_EDIT_EDIT, "編", 0xef6c00},
        {Command::CLEAR, "CLEAR", "作業内容のクリア", MenuEntry::M_EDIT_CLEAR, "空", 0x6d4c41},
        {Command::CLIP, "CLIP", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ", MenuEntry::M_EDIT_CLIP, "写", 0x00838f},
        {Command::PARAMETER, "PARAMETER", "ﾊﾟﾗﾒｰﾀ", MenuEntry::M_FILE_PARAMETER, "引", 0x4527a0},
        {Command::HINAGATA, "HINAGATA", "雛形", MenuEntry::M_FILE_HINAGATA, "雛", 0x4527a0},
        {Command::HINA_FUKUSEI, "HINA_FUKUSEI", "雛形複製", MenuEntry::M_EDIT_HINA_FUKUSEI, "複", 0x4527a0},
        {Command::STOP, "STOP", "中止", MenuEntry::M_EDIT_STOP, "止", 0xb71c1c},
        {Command::DISP_SEARCH, "DISP_SEARCH", "一覧表示", MenuEntry::M_DISP_ITIRAN, "一", 0x1565c0},
        {Command::DISP, "DISP", "詳細表示", MenuEntry::M_DISP_SYOUSAI, "詳", 0x1565c0},
        {Command::TIME, "TIME", "時間管理", MenuEntry::M_CONFIG_DATE, "時", 0x00695c},
        {Command::SETTEI, "SETTEI", "設定", MenuEntry::M_DISP_COLOR, "色", 0xad1457},
        {Command::END, "END", "終了", MenuEntry::M_FILE_EXIT, "終", 0x37474f},
    }};
    return t;
}

std::optional<Command> Commands::ofMenuEntry(MenuEntry entry)
{
    for (const CommandInfo &c : table())
        if (c.menuEntry == entry)
            return c.command;
    return std::nullopt;
}
