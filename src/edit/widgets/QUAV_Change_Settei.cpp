#include "edit/widgets/QUAV_Change_Settei.h"

#include <QCloseEvent>

QUAV_Change_Settei::QUAV_Change_Settei(Workbench &wb)
    : QuavDialog(wb)
    , m_command(wb)
{
    ui.setupUi(this);
    ui.List1->setFont(listFont());
    connect(ui.Cmd_All_Sentaku, &QPushButton::clicked, this, &QUAV_Change_Settei::Cmd_All_Sentaku_Click);
    connect(ui.Cmd_All_Clear, &QPushButton::clicked, this, &QUAV_Change_Settei::Cmd_All_Clear_Click);
    connect(ui.Cmd_Jikkou, &QPushButton::clicked, this, &QUAV_Change_Settei::Cmd_Jikkou_Click);
    connect(ui.Cmd_Cancel, &QPushButton::clicked, this, &QUAV_Change_Settei::CMD_CANCEL_Click);
    Form_Load();
}

void QUAV_Change_Settei::Form_Load()
{
    m_command.Form_Load();
    ui.List1->addItems(m_command.files());
    fitPathList(ui.List1);
    ui.Label4->setText(m_command.note());
    if (m_command.Syousai_Gamen_Flg == 1) {
        ui.Cmd_All_Sentaku->hide();
        ui.Cmd_All_Clear->hide();
        if (QListWidgetItem *item = ui.List1->item(m_command.lockedFile())) {
            item->setSelected(true);
            ui.List1->scrollToItem(item);
        }
        ui.List1->setEnabled(false);
    }
    ui.Opt_Moji_Kubetu_No->setChecked(true);
    ui.Text_Search->setText(m_command.initialSearch());
    ui.Text_Change->clear();
}

void QUAV_Change_Settei::setButtonsEnabled(bool enabled)
{
    for (QPushButton *b : {ui.Cmd_All_Sentaku, ui.Cmd_All_Clear, ui.Cmd_Cancel, ui.Cmd_Jikkou})
        b->setEnabled(enabled);
}

void QUAV_Change_Settei::Cmd_All_Sentaku_Click()
{
    ui.List1->selectAll();
}

void QUAV_Change_Settei::Cmd_All_Clear_Click()
{
    ui.List1->clearSelection();
}

void QUAV_Change_Settei::Cmd_Jikkou_Click()
{
    setButtonsEnabled(false);
    QList<int> rows;
    for (const QModelIndex &index : ui.List1->selectionModel()->selectedRows())
        rows.append(index.row());
    if (!m_command.Cmd_Jikkou_Click(ui.Text_Search->text(), ui.Text_Change->text(),
                                    ui.Opt_Moji_Kubetu_Yes->isChecked(), rows)) {
        setButtonsEnabled(true);
        return;
    }
    m_done = true;
    finish();
}

void QUAV_Change_Settei::CMD_CANCEL_Click()
{
    setButtonsEnabled(false);
    m_command.Cmd_Cancel_Click();
    m_done = true;
    finish();
}

void QUAV_Change_Settei::reject()
{
    CMD_CANCEL_Click();
}

void QUAV_Change_Settei::closeEvent(QCloseEvent *event)
{
    // The close box cancels: the views come back.
    if (!m_done) {
        m_done = true;
        m_command.Cmd_Cancel_Click();
    }
    QuavDialog::closeEvent(event);
}
