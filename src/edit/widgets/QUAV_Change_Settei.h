#pragma once

#include "base/widgets/QuavDialog.h"
#include "edit/ReplaceForm.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// "ＱＵＡＶ　置替諸元設定": replace a text in the chosen files of the work
// area. Opened by CHANGE and M_EDIT_CHANGE:
//   (new QUAV_Change_Settei(wb))->openFrom(mainWindow);
// From the detail view it works on the file shown there only.
class QUAV_Change_Settei : public QuavDialog
{
    Q_OBJECT
public:
    explicit QUAV_Change_Settei(Workbench &wb);

    qint16 Syousai_Gamen_Flg() const { return m_command.Syousai_Gamen_Flg; }

public Q_SLOTS:
    void Cmd_All_Sentaku_Click();
    void Cmd_All_Clear_Click();
    void Cmd_Jikkou_Click();
    void CMD_CANCEL_Click();

protected:
    void reject() override;
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *Label1 = nullptr;
    QLineEdit *Text_Search = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text_Change = nullptr;
    QLabel *Label3 = nullptr;
    QListWidget *List1 = nullptr;
    QLabel *Label4 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QRadioButton *Opt_Moji_Kubetu_Yes = nullptr;
    QRadioButton *Opt_Moji_Kubetu_No = nullptr;
    QPushButton *Cmd_All_Sentaku = nullptr;
    QPushButton *Cmd_All_Clear = nullptr;
    QPushButton *Cmd_Jikkou = nullptr;
    QPushButton *Cmd_Cancel = nullptr;

    void Form_Load();
    void setButtonsEnabled(bool enabled);

    ReplaceForm m_command;
    bool m_done = false;
};
