#pragma once

#include "base/widgets/QuavDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

// "雛形複製": makes one new file per committed parameter and chosen source
// file. Opened by HINA_FUKUSEI and M_EDIT_HINA_FUKUSEI once parameters are
// committed:
//   (new Quav_Hinagata_Fukusei(wb))->openFrom(mainWindow);
class Quav_Hinagata_Fukusei : public QuavDialog
{
    Q_OBJECT
public:
    explicit Quav_Hinagata_Fukusei(Workbench &wb);

public Q_SLOTS:
    void Cmd_Fukusei_Click();
    // Closes the dialog; during a run it stops the run between two files.
    void CMD_CANCEL_Click();
    void List_Pattern_Click();

private:
    QListWidget *List_Taisyou_File = nullptr; // sources, several selections
    QLineEdit *Text_Change = nullptr;
    QListWidget *List_Pattern = nullptr;      // the parameters, always all selected
    QComboBox *Combo_File_Make = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *Cmd_Fukusei = nullptr;
    QPushButton *Cmd_Cancel = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;

    void setInputsEnabled(bool enabled);
    bool m_stop = false;
};
