#pragma once

#include "base/widgets/QuavDialog.h"

#include <functional>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// "検索結果の保存": the automatic result file of every search (FILE_OUT) and
// its path (FILE_OUT_NAME), and writing the current result to that file.
// Opened by SEARCH_SAVE and M_FILE_SAVE_SETTEI:
//   (new QUAV_Search_Save(wb))->openFrom(mainWindow);
class QUAV_Search_Save : public QuavDialog
{
    Q_OBJECT
public:
    explicit QUAV_Search_Save(Workbench &wb);

    // The save-as dialog: given the name to start from, the chosen name, or
    // an empty text when the user cancels. Qt's file dialog unless replaced.
    std::function<QString(const QString &initial)> pickFile;

public Q_SLOTS:
    void Cmd_Sansyo_Click();
    void Check1_Click();
    void Cmd_Settei_Click();
    void Cmd_Out_Click();
    void CMD_CANCEL_Click();

private:
    QLabel *Label1 = nullptr;
    QLineEdit *Text_Path = nullptr;
    QPushButton *Cmd_Sansyo = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check1 = nullptr;
    QPushButton *Cmd_Settei = nullptr;
    QPushButton *Cmd_Out = nullptr;
    QPushButton *Cmd_Cancel = nullptr;
    QFrame *Line1 = nullptr;

    void Form_Load();
    void setButtonsEnabled(bool enabled);
};
