#include "edit/widgets/Quav_Sort.h"

Quav_Sort::Quav_Sort(Workbench &wb)
    : QuavDialog(wb)
    , m_command(wb)
{
    ui.setupUi(this);
    ui.List1->setFont(listFont());
    connect(ui.Command1, &QPushButton::clicked, this, &Quav_Sort::Command1_Click);
    connect(ui.Cmd_Hanei, &QPushButton::clicked, this, &Quav_Sort::Cmd_Hanei_Click);
    connect(ui.Command2, &QPushButton::clicked, this, &Quav_Sort::Command2_Click);
    // "結果反映/完了" appears after the first sort beside "並び替え実行",
    // whose room it must not take: a second click there would apply and
    // close. Its room is kept while it is hidden.
    keepRoomWhenHidden({ui.Cmd_Hanei});
}

bool Quav_Sort::load()
{
    ui.Option1->setChecked(true);
    if (!m_command.Form_Load())
        return false;
    ui.Label1->setText(SortCommand::kPathCaption + m_command.fileKey());
    showLines();
    ui.Cmd_Hanei->hide();
    return true;
}

void Quav_Sort::showLines()
{
    ui.List1->setUpdatesEnabled(false);
    ui.List1->clear();
    ui.List1->addItems(m_command.sort().lines());
    ui.List1->setUpdatesEnabled(true);
}

void Quav_Sort::Command1_Click()
{
    m_command.Command1_Click(ui.Option1->isChecked());
    showLines();
    ui.Cmd_Hanei->show();
}

void Quav_Sort::Cmd_Hanei_Click()
{
    for (QPushButton *b : {ui.Command1, ui.Command2, ui.Cmd_Hanei})
        b->setEnabled(false);
    if (!m_command.Cmd_Hanei_Click()) {
        for (QPushButton *b : {ui.Command1, ui.Command2, ui.Cmd_Hanei})
            b->setEnabled(true);
        return;
    }
    finish();
}

void Quav_Sort::Command2_Click()
{
    finish();
}

void Quav_Sort::reject()
{
    Command2_Click();
}
