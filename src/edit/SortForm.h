#pragma once

#include "edit/LineSort.h"

#include <QString>

struct Workbench;

// The sort dialog (Quav_Sort) bound to the work area: it loads the lines of
// the file the detail view shows, and reflect puts them back in their new
// order, renumbered from 000001.000, and shows the file again. The order is
// LineSort's.
class SortForm
{
public:
    static const QString kPathCaption; // Label1 before the path: "パス・ファイル名　＝　"

    explicit SortForm(Workbench &wb);

    // false when the detail view shows no file of the work area (the user
    // has been told); the dialog closes then.
    bool Form_Load();

    const QString &fileKey() const { return m_key; }
    int file() const { return m_file; }
    LineSort &sort() { return m_sort; }
    const LineSort &sort() const { return m_sort; }

    // "並び替え実行".
    void Command1_Click(bool ascending) { m_sort.Command1_Click(ascending); }
    // "結果反映/完了": the file's stored lines in the new order, in place;
    // the file is marked changed and the detail view rebuilt. The number of
    // lines does not change, so no other file moves. false when the work
    // area could not take them (the user has been told).
    bool Cmd_Hanei_Click();

private:
    Workbench &m_wb;
    LineSort m_sort;
    int m_file = -1;
    QString m_key;
};
