#pragma once

#include "base/widgets/QuavDialog.h"
#include "edit/LineEditForm.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "ＱＵＡＶ　簡易編集": delete, insert and change lines of the file the
// detail view shows, on a private copy, and put them back with "編集反映".
// Opened by UPDATE and M_EDIT_EDIT, which loads the file with the main
// window already disabled:
//   (new QUAV_UPDATE(wb))->openFrom(mainWindow);
class QUAV_UPDATE : public QuavDialog
{
    Q_OBJECT
public:
    explicit QUAV_UPDATE(Workbench &wb);

    const LineEditor &editor() const { return m_command.editor(); }

public Q_SLOTS:
    void Cmd_Delete_Click();
    void Cmd_Insert_Click();
    void Cmd_Insert_Commit_Click();
    void Cmd_Update_Click();
    void Cmd_Redo_Click();
    void Cmd_Hanei_Click();
    void CMD_CANCEL_Click();

protected:
    void reject() override;
    // Form_Load; false when the detail view shows no file (the user has been
    // told).
    bool load() override;

private:
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QListWidget *List1 = nullptr;
    QPlainTextEdit *RTB_Insert_Data = nullptr;
    QLabel *Label3 = nullptr;
    QPushButton *Cmd_Delete = nullptr;
    QPushButton *Cmd_Insert = nullptr;
    QPushButton *Cmd_Update = nullptr;
    QPushButton *Cmd_Redo = nullptr;
    QPushButton *Cmd_Insert_Commit = nullptr;
    QPushButton *Cmd_Hanei = nullptr;
    QPushButton *Cmd_Cancel = nullptr;

    // List1 from the editor's lines, ItemData (Qt::UserRole) the number.
    void showLines();
    void takeSelection();
    void setInsertMode(bool insert);
    void setWorking(bool working);

    LineEditForm m_command;
};
