#include "edit/LineEditForm.h"

#include "base/Workbench.h"
#include "edit/ShownFile.h"
#include "edit/UnsavableText.h"
#include "platform/MessagePort.h"

LineEditForm::LineEditForm(Workbench &wb) : m_wb(wb), m_editor(*wb.messages) {}

bool LineEditForm::Form_Load()
{
    QStringList entries;
    m_file = ShownFile::take(m_wb.work, m_wb.display.detailFileIndex, *m_wb.messages, LineEditor::kCaption, entries);
    if (m_file < 0)
        return false;
    m_key = m_wb.display.Detail_File_Key;

    m_wb.status.setText(StatusPanels::kSearch, QStringLiteral("Wait..."));
    m_wb.status.setText(StatusPanels::kPath, QStringLiteral("簡易編集画面作成中"));
    m_wb.pump->yieldNow();
    m_editor.Load(entries, m_wb.progress, m_wb.pump);
    const QStringList shiftJis = UnsavableText::shiftJisFiles(m_wb.work, {m_file});
    m_editor.setShiftJisName(shiftJis.value(0));
    // The store holds the other files' lines too: together they stay within
    // what it may hold, so a reflect always fits.
    m_editor.setLineLimit(WorkArea::kAdmissionLimit - (m_wb.work.Search_Hit_All_Line_List().count() - m_editor.count()));
    m_wb.status.setText(StatusPanels::kSearch, QStringLiteral("Details"));
    m_wb.status.setText(StatusPanels::kPath, m_key);
    m_wb.status.setText(StatusPanels::kHitSu, QString());
    return true;
}

bool LineEditForm::Cmd_Hanei_Click()
{
    return ShownFile::putBack(m_wb, m_file, m_editor.reflectEntries(m_wb.work.storedKey(m_file)),
                               QStringLiteral("編集結果を作業領域に反映できませんでした。\r\n作業領域は変更されていません。"),
                               LineEditor::kCaption);
}
