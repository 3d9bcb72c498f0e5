#pragma once

#include "base/widgets/QuavDialog.h"

#include <QPointer>

class QLabel;
class QListWidget;
class QPushButton;

// "フォルダー履歴からパスを選択": picks the search folder from the folder
// history. Opened by FOLDER and M_FILE_FOLDER:
//   (new QUAV_FOLDER_SENTAKU(wb))->openFrom(mainWindow);
// and by the search settings dialog's "再設定", with that dialog given: it then
// returns to it and reports the chosen folder through folderChosen.
class QUAV_FOLDER_SENTAKU : public QuavDialog
{
    Q_OBJECT
public:
    explicit QUAV_FOLDER_SENTAKU(Workbench &wb, QWidget *searchDialog = nullptr);

Q_SIGNALS:
    // A folder was chosen for the search dialog, just before returning to it.
    void folderChosen(const QString &path);

public Q_SLOTS:
    void Command1_Click();
    void Command2_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    QListWidget *List1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;

    QPointer<QWidget> m_searchDialog;
};
