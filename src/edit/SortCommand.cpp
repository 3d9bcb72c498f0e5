#include "edit/SortCommand.h"

#include "base/Workbench.h"
#include "display/DetailView.h"
#include "platform/MessagePort.h"

const QString SortCommand::kPathCaption = QStringLiteral("パス・ファイル名　＝　");

namespace {

const QString kCaption = QStringLiteral("データ並び替え");

} // namespace

SortCommand::SortCommand(Workbench &wb) : m_wb(wb) {}

bool SortCommand::Form_Load()
{
    const WorkArea &work = m_wb.work;
    m_file = m_wb.display.Detail_File_Index;
    const WorkArea::Range range = work.File_Line_Range(m_file);
    if (range.isEmpty()) {
        m_file = -1;
        NullMessagePort::orNull(m_wb.messages)
            .show(QStringLiteral("詳細画面のファイルが作業領域に見つかりません。"), kCaption,
                  MessagePort::Icon::Exclamation);
        return false;
    }
    m_key = m_wb.display.Detail_File_Key;
    QStringList entries;
    entries.reserve(range.size());
    for (int k = range.first; k <= range.last; ++k)
        entries.append(work.Search_Hit_All_Line_List.text(k));
    m_sort.Load(entries);
    return true;
}

bool SortCommand::Cmd_Hanei_Click()
{
    WorkArea &work = m_wb.work;
    m_wb.pump->setBusyCursor(true);
    if (!work.Replace_File_Lines(m_file, m_sort.Reflect_Entries(work.Stored_Key(m_file)))) {
        m_wb.pump->setBusyCursor(false);
        NullMessagePort::orNull(m_wb.messages)
            .show(QStringLiteral("並び替えの結果を作業領域に反映できませんでした。\r\n作業領域は変更されていません。"),
                  kCaption, MessagePort::Icon::Critical);
        return false;
    }
    work.Set_File_Changed(m_file, true);
    m_wb.board.enable({Command::HOZON});
    m_wb.display.Detail_Cache_Key.clear();
    DetailView::Build_Detail_View(m_wb);
    m_wb.pump->setBusyCursor(false);
    return true;
}
