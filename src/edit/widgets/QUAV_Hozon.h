#pragma once

#include "base/widgets/QuavDialog.h"

class QLabel;
class QListWidget;
class QPushButton;

// "保存": writes the chosen files of the work area back to disk. Opened by
// HOZON and M_FILE_SAVE:
//   (new QUAV_Hozon(wb))->openFrom(mainWindow);
class QUAV_Hozon : public QuavDialog
{
    Q_OBJECT
public:
    explicit QUAV_Hozon(Workbench &wb);

public Q_SLOTS:
    void Cmd_All_Sentaku_Click();
    void Cmd_All_Clear_Click();
    void Cmd_Jikkou_Click();
    void CMD_CANCEL_Click();

private:
    QLabel *Label1 = nullptr;
    QListWidget *List1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Cmd_All_Sentaku = nullptr;
    QPushButton *Cmd_All_Clear = nullptr;
    QPushButton *Cmd_Jikkou = nullptr;
    QPushButton *Cmd_Cancel = nullptr;

    void Form_Load();
    void setControlsEnabled(bool enabled);
};
