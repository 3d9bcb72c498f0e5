#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct Workbench;
class WorkArea;
class ReplacePass;

// The replace dialog (QUAV_Change_Settei) without its widgets: what it lists
// and selects when it opens, the checks and the replacement when its execute
// button is pressed, and the refresh of the views afterwards.
//
// Opened from the list view it offers every file; opened from the detail view
// (detail mode) only the file shown there, selected and locked.
class ReplaceForm
{
public:
    static const QString kListNote;   // Label4 in list mode
    static const QString kDetailNote; // Label4 in detail mode

    explicit ReplaceForm(Workbench &wb);

    // Loading: the file items, the mode, the search text; both views are
    // disabled while the dialog is open.
    void Form_Load();

    // 1 when opened while the detail view was shown.
    qint16 Syousai_Gamen_Flg = 0;
    // List1: one item per file of the work area, in file-list order.
    const QStringList &files() const { return m_files; }
    // In detail mode the one file processed, selected and locked; else -1.
    int lockedFile() const { return m_lockedFile; }
    // What Text_Search starts with.
    QString initialSearch() const;
    QString note() const { return Syousai_Gamen_Flg == 1 ? kDetailNote : kListNote; }

    // Execute with the dialog's texts, letter-case option and the selected
    // rows of List1 (ignored in detail mode). false when a check refused: the
    // dialog stays open and the work area is as it was. true when done: the
    // work area and the views are refreshed and the dialog closes.
    bool Cmd_Jikkou_Click(const QString &search, const QString &replacement, bool caseSensitive,
                          const QList<int> &selectedRows);
    // Cancel: both views enabled again; the work area is untouched.
    void Cmd_Cancel_Click();

    // The replacement over the given files (file-list indexes, in order):
    // each file's display block (hit lines only; headers never change) and
    // all its stored lines, every changed line rewritten where it stands, and
    // each file whose stored lines changed marked changed. Returns how many
    // files changed.
    static int replaceFiles(WorkArea &work, ReplacePass &pass, const QList<int> &files);

private:
    void refresh(int caretLine, qint32 caretColumn);

    Workbench &m_wb;
    QStringList m_files;
    int m_lockedFile = -1;
};
