#pragma once

#include "base/widgets/QuavDialog.h"
#include "edit/SortCommand.h"

#include "ui_Quav_Sort.h"

// "データ並び替え": the lines of the template or made file the detail view
// shows, sorted as often as wanted and put back with "結果反映/完了".
// Opened by SORT and M_EDIT_SORT:
//   auto *d = new Quav_Sort(wb);
//   if (d->loaded()) d->openFrom(mainWindow); else d->deleteLater();
class Quav_Sort : public QuavDialog
{
    Q_OBJECT
public:
    explicit Quav_Sort(Workbench &wb);

    // The form's controls, named as the program names them.
    Ui::Quav_Sort ui;

    bool loaded() const { return m_loaded; }

public Q_SLOTS:
    void Command1_Click();
    void Cmd_Hanei_Click();
    void Command2_Click();

protected:
    void reject() override;

private:
    void Form_Load();
    void showLines();

    SortCommand m_command;
    bool m_loaded = false;
};
