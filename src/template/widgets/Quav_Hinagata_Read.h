#pragma once

#include "base/widgets/QuavDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class TemplateFolderBrowser;

// "雛形読み込み": browses for template files and reads the selected ones
// into the work area. Opened by HINAGATA and M_FILE_HINAGATA:
//   (new Quav_Hinagata_Read(wb))->openFrom(mainWindow);
class Quav_Hinagata_Read : public QuavDialog
{
    Q_OBJECT
public:
    explicit Quav_Hinagata_Read(Workbench &wb);

public Q_SLOTS:
    void Cmd_Read_Click();
    // Closes the dialog; during a read it stops the read between two files.
    void CMD_CANCEL_Click();

private:
    QComboBox *Drive1 = nullptr;
    QListWidget *List1 = nullptr; // folders
    QListWidget *List2 = nullptr; // template files, several selections
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QCheckBox *Check1 = nullptr;
    QPushButton *Cmd_Read = nullptr;
    QPushButton *Cmd_Cancel = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    TemplateFolderBrowser *browser = nullptr;

    // The controls a read disables: the read button, the drive box and both
    // lists.
    void setInputsEnabled(bool enabled);
    bool m_stop = false;
};
