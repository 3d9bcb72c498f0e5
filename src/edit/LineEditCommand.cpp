#include "edit/LineEditCommand.h"

#include "base/Workbench.h"
#include "display/DetailView.h"
#include "platform/MessagePort.h"
#include "workarea/LineIndex.h"

LineEditCommand::LineEditCommand(Workbench &wb) : m_wb(wb), m_editor(NullMessagePort::orNull(wb.messages)) {}

bool LineEditCommand::Form_Load()
{
    WorkArea &work = m_wb.work;
    m_file = m_wb.display.Detail_File_Index;
    const WorkArea::Range range = work.File_Line_Range(m_file);
    if (range.isEmpty()) {
        m_file = -1;
        NullMessagePort::orNull(m_wb.messages).show(QStringLiteral("詳細画面のファイルが作業領域に見つかりません。"), LineEditor::kCaption,
                          MessagePort::Icon::Exclamation);
        return false;
    }
    m_key = m_wb.display.Detail_File_Key;

    m_wb.status.setText(StatusPanels::kSearch, QStringLiteral("Wait..."));
    m_wb.status.setText(StatusPanels::kPath, QStringLiteral("簡易編集画面作成中"));
    m_wb.pump->yieldNow();
    QStringList entries;
    entries.reserve(range.size());
    for (int k = range.first; k <= range.last; ++k)
        entries.append(work.Search_Hit_All_Line_List.text(k));
    m_editor.Load(entries, m_wb.progress, m_wb.pump);
    // The store holds the other files' lines too: together they stay within
    // what it may hold, so a reflect always fits.
    m_editor.setLineLimit(WorkArea::kAdmissionLimit - (work.Search_Hit_All_Line_List.count() - range.size()));
    m_wb.status.setText(StatusPanels::kSearch, QStringLiteral("Details"));
    m_wb.status.setText(StatusPanels::kPath, m_key);
    m_wb.status.setText(StatusPanels::kHitSu, QString());
    return true;
}

bool LineEditCommand::Cmd_Hanei_Click()
{
    WorkArea &work = m_wb.work;
    m_wb.pump->setBusyCursor(true);
    if (!work.Replace_File_Lines(m_file, m_editor.Reflect_Entries(work.Stored_Key(m_file)))) {
        m_wb.pump->setBusyCursor(false);
        NullMessagePort::orNull(m_wb.messages).show(QStringLiteral("編集結果を作業領域に反映できませんでした。\r\n作業領域は変更されていません。"),
                          LineEditor::kCaption, MessagePort::Icon::Critical);
        return false;
    }
    work.Set_File_Changed(m_file, true);
    m_wb.board.enable({Command::HOZON});
    m_wb.display.Detail_Cache_Key.clear();
    LineIndex::Build_Line_Index(work, m_wb.pump);
    DetailView::Build_Detail_View(m_wb);
    m_wb.pump->setBusyCursor(false);
    return true;
}
