#pragma once

#include "base/widgets/QuavDialog.h"

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "ＱＵＡＶ　表示色設定": switches the colouring of the result documents and
// picks the colours of hits, file headers and line numbers. Opened by SETTEI
// and M_DISP_COLOR:
//   (new QUAV_Color_Settei(wb))->openFrom(mainWindow);
class QUAV_Color_Settei : public QuavDialog
{
    Q_OBJECT
public:
    explicit QUAV_Color_Settei(Workbench &wb);

    // The colour picker: given the colour to start from, the colour chosen,
    // or the starting one when the user cancels. Qt's standard colour dialog
    // unless replaced.
    std::function<qint32(qint32 start)> pickColor;

    // The colour the picker starts from next (the target's colour once a
    // target is chosen).
    qint32 pickerColor() const { return m_pickerColor; }

public Q_SLOTS:
    void QUAV_Color_Enabled_Yes_Click();
    void QUAV_Color_Enabled_No_Click();
    void QUAV_Color_Base_Click();
    void CMD_COLOR_SETTEI_Click();
    void Cmd_Settei_Click();
    void CMD_CANCEL_Click();

private:
    QGroupBox *Frame1 = nullptr;
    QRadioButton *QUAV_Color_Enabled_Yes = nullptr;
    QRadioButton *QUAV_Color_Enabled_No = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *QUAV_Color_Base = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Cmd_Color_Settei = nullptr;
    QPushButton *Cmd_Settei = nullptr;
    QPushButton *Cmd_Cancel = nullptr;

    void Form_Load();
    void showTargets(bool shown);
    void paintSample(qint32 color);

    qint32 m_pickerColor = 0;
};
