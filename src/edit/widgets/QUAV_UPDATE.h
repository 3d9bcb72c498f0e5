#pragma once

#include "base/widgets/QuavDialog.h"
#include "edit/LineEditCommand.h"

#include "ui_QUAV_UPDATE.h"

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

    // The form's controls, by the names the handlers use.
    Ui::QUAV_UPDATE ui;

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
    // List1 from the editor's lines, ItemData (Qt::UserRole) the number.
    void showLines();
    void takeSelection();
    void setInsertMode(bool insert);
    void setWorking(bool working);

    LineEditCommand m_command;
};
