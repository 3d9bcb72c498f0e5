#pragma once

#include "base/widgets/QuavDialog.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
struct SearchChoice;

// "ＱＵＡＶ　サーチ諸元設定": the search string with its history, the
// identifiers, letter case and subfolders; its search button stores the
// choice and runs the search. Opened by SEARCH and M_EDIT_SEARCH:
//   (new QUAV_SEARCH_SETTEI(wb, buildViews))->openFrom(mainWindow);
// where buildViews, when given, builds the result views after the run.
class QUAV_SEARCH_SETTEI : public QuavDialog
{
    Q_OBJECT
public:
    explicit QUAV_SEARCH_SETTEI(Workbench &wb, std::function<void()> buildViews = {});

    // The history entries 0 to 9, empty ones included, as the combo's list.
    void COMBO_SEARCH_DATA_REFRESH();
    // The folder history dialog, opened from here, shows its choice.
    void showSearchPath(const QString &path);

public Q_SLOTS:
    void Form_Activate();
    void Check_Data_Default_Click();
    void Check_Sikibetu_Default_Click();
    void Check_Sikibetu_All_Click();
    void Cmd_Sikibetu_Hensyu_Click();
    void Cmd_Path_Saisettei_Click();
    void CMD_SEARCH_Click();
    void CMD_CANCEL_Click();

protected:
    void reject() override;

private:
    QComboBox *Combo_Search_Data = nullptr;
    QCheckBox *Check_Data_Default = nullptr;
    QComboBox *Combo_Search_Sikibetu = nullptr;
    QCheckBox *Check_Sikibetu_Default = nullptr;
    QCheckBox *Check_Sikibetu_All = nullptr;
    QPushButton *Cmd_Sikibetu_Hensyu = nullptr;
    QRadioButton *Opt_Moji_Kubetu_Yes = nullptr;
    QRadioButton *Opt_Moji_Kubetu_No = nullptr;
    QRadioButton *Opt_SUB_DIR_YES = nullptr;
    QRadioButton *Opt_SUB_DIR_NO = nullptr;
    QRadioButton *Opt_Encoding_Auto = nullptr;
    QRadioButton *Opt_Encoding_Cp932 = nullptr;
    QLabel *LBL_SEARCH_PATH = nullptr;
    QPushButton *Cmd_Path_Saisettei = nullptr;
    QPushButton *CMD_SEARCH = nullptr;
    QPushButton *CMD_CANCEL = nullptr;

    void buildUi();
    void Form_Load();
    SearchChoice choice() const;

    std::function<void()> m_buildViews;
};
