#pragma once

#include "base/widgets/QuavDialog.h"

#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// "サーチパス選択": browses drives and folders through the process's current
// directory; "選択・登録" makes the folder shown the search folder and, when
// ticked, records it in the folder history. Opened by DRIVE and M_FILE_PATH:
//   (new DRIVE_SETTEI(wb))->openFrom(mainWindow);
class DRIVE_SETTEI : public QuavDialog
{
    Q_OBJECT
public:
    // `drives` replaces the mounted volumes found on the machine (tests).
    explicit DRIVE_SETTEI(Workbench &wb, const QStringList &drives = QStringList());

    QComboBox *Drive1 = nullptr;
    QListWidget *List1 = nullptr;
    QListWidget *List2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QCheckBox *Check1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;

    static const QString kCaption; // "サーチパス選択"

public Q_SLOTS:
    void Drive1_Change();
    void List1_DblClick();
    void Command1_Click();
    void Command2_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    void Form_Load();
    // Enters a folder and shows it; on failure says why and keeps showing the
    // folder shown before.
    bool browseTo(const QString &folder);
    void Fill_Folder_Lists();
    void selectDriveOf(const QString &folder);
    int m_driveIndex = 0;
    QString m_folder; // the folder shown in Label1 and the lists
};
