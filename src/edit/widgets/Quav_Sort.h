#pragma once

#include "base/widgets/QuavDialog.h"
#include "edit/SortForm.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

// "データ並び替え": the lines of the template or made file the detail view
// shows, sorted as often as wanted and put back with "結果反映/完了".
// Opened by SORT and M_EDIT_SORT:
//   (new Quav_Sort(wb))->openFrom(mainWindow);
class Quav_Sort : public QuavDialog
{
    Q_OBJECT
public:
    explicit Quav_Sort(Workbench &wb);

public Q_SLOTS:
    void Command1_Click();
    void Cmd_Hanei_Click();
    void Command2_Click();

protected:
    void reject() override;
    // Form_Load; false when the detail view shows no file (the user has been
    // told).
    bool load() override;

private:
    QLabel *Label1 = nullptr;
    QListWidget *List1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Cmd_Hanei = nullptr;
    QPushButton *Command2 = nullptr;

    void showLines();

    SortForm m_command;
};
