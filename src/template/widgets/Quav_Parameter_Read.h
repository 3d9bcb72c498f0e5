#pragma once

#include "base/widgets/QuavDialog.h"
#include "template/ParameterForm.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TemplateFolderBrowser;

// "複製用パラメーター読み込み": edits a working copy of the duplication
// parameters (read from parameter cards, added, deleted) and commits it.
// Opened by PARAMETER and M_FILE_PARAMETER:
//   (new Quav_Parameter_Read(wb))->openFrom(mainWindow);
// The button under either caption commits; a refused commit keeps it open.
// Escape and the close box leave without committing: the parameters stay as
// they were.
class Quav_Parameter_Read : public QuavDialog
{
    Q_OBJECT
public:
    explicit Quav_Parameter_Read(Workbench &wb);

    static const QString kTitle; // "複製用パラメーター読み込み"


public Q_SLOTS:
    void Cmd_Read_Click();
    void Cmd_Tuika_Click();
    void Cmd_Sakujyo_Click();
    void CMD_CANCEL_Click();

private:
    QComboBox *Drive1 = nullptr;
    QListWidget *List2 = nullptr; // folders
    QListWidget *List3 = nullptr; // parameter cards, one selection
    QListWidget *List1 = nullptr; // images, several selections
    QLineEdit *Txt_Tuika = nullptr;
    QPushButton *Cmd_Tuika = nullptr;
    QPushButton *Cmd_Sakujyo = nullptr;
    QPushButton *Cmd_Read = nullptr;
    QPushButton *Cmd_Cancel = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label9 = nullptr;
    TemplateFolderBrowser *browser = nullptr;

    void showImages();
    ParameterForm m_images;
};
