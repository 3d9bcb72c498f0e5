#pragma once

#include "base/widgets/QuavDialog.h"
#include "edit/LineEditCommand.h"

#include "ui_QUAV_UPDATE.h"

// "ＱＵＡＶ　簡易編集": delete, insert and change lines of the file the
// detail view shows, on a private copy, and put them back with "編集反映".
// Opened by UPDATE and M_EDIT_EDIT:
//   auto *d = new QUAV_UPDATE(wb);
//   if (d->loaded()) d->openFrom(mainWindow); else d->deleteLater();
class QUAV_UPDATE : public QuavDialog
{
    Q_OBJECT
public:
    explicit QUAV_UPDATE(Workbench &wb);

    // The form's controls, named as the program names them.
    Ui::QUAV_UPDATE ui;

    // Whether the file could be loaded; otherwise the user has been told and
    // the dialog is not to be shown.
    bool loaded() const { return m_loaded; }
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

private:
    void Form_Load();
    // List1 from the editor's lines, ItemData (Qt::UserRole) the number.
    void showLines();
    void takeSelection();
    void setInsertMode(bool insert);
    void setWorking(bool working);

    LineEditCommand m_command;
    bool m_loaded = false;
};
