#include "edit/SortForm.h"

#include "base/Workbench.h"
#include "edit/ShownFile.h"

const QString SortForm::kPathCaption = QStringLiteral("パス・ファイル名　＝　");

namespace {

const QString kCaption = QStringLiteral("データ並び替え");

} // namespace

SortForm::SortForm(Workbench &wb) : m_wb(wb) {}

bool SortForm::Form_Load()
{
    QStringList entries;
    m_file = ShownFile::take(m_wb.work, m_wb.display.detailFileIndex, *m_wb.messages, kCaption, entries);
    if (m_file < 0)
        return false;
    m_key = m_wb.display.Detail_File_Key;
    m_sort.Load(entries);
    return true;
}

bool SortForm::Cmd_Hanei_Click()
{
    return ShownFile::putBack(m_wb, m_file, m_sort.reflectEntries(m_wb.work.storedKey(m_file)),
                               QStringLiteral("並び替えの結果を作業領域に反映できませんでした。\r\n作業領域は変更されていません。"),
                               kCaption);
}
