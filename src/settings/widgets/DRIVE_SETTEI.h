#pragma once

#include "base/widgets/QuavDialog.h"
#include "settings/PathBrowserForm.h"

#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// "サーチパス選択": browses drives and folders through the process's current
// directory; "選択・登録" makes the folder shown the search folder and, when
// ticked, records it in the folder history. The work is PathBrowserForm's; this
// shows its state. Opened by DRIVE and M_FILE_PATH:
//   (new DRIVE_SETTEI(wb))->openFrom(mainWindow);
class DRIVE_SETTEI : public QuavDialog
{
    Q_OBJECT
public:
    // `drives` replaces the mounted volumes found on the machine (tests).
    explicit DRIVE_SETTEI(Workbench &wb, const QStringList &drives = QStringList());

public Q_SLOTS:
    void Drive1_Change();
    void List1_DblClick();
    void Command1_Click();
    void Command2_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    QComboBox *Drive1 = nullptr;
    QListWidget *List1 = nullptr;
    QListWidget *List2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QCheckBox *Check1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;

    void Form_Load();
    // Shows the browser's drive, folder and lists.
    void render();
    PathBrowserForm m_browser;
};
