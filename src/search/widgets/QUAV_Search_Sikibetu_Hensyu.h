#pragma once

#include "base/widgets/QuavDialog.h"
#include "search/IdentifierForm.h"

class QLineEdit;
class QListWidget;
class QPushButton;

// "識別子　登録　編集": edits the identifier list. Opened from the search
// settings dialog, which it disables while open; the list is stored only by
// its store button.
class QUAV_Search_Sikibetu_Hensyu : public QuavDialog
{
    Q_OBJECT
public:
    explicit QUAV_Search_Sikibetu_Hensyu(Workbench &wb);

public Q_SLOTS:
    void Cmd_Tuika_Click();
    void Cmd_Sakujyo_Click();
    void Cmd_End_Click();
    void Cmd_Cancel_Click();

Q_SIGNALS:
    // Emitted once the dialog closes, its opener enabled again.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLineEdit *Text1 = nullptr;
    QListWidget *List1 = nullptr;
    QPushButton *Cmd_Tuika = nullptr;
    QPushButton *Cmd_Sakujyo = nullptr;
    QPushButton *Cmd_End = nullptr;
    QPushButton *Cmd_Cancel = nullptr;

    void setButtonsEnabled(bool enabled);
    void showItems();
    IdentifierForm m_editor;
};
