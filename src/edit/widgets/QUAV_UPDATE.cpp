#include "edit/widgets/QUAV_UPDATE.h"

QUAV_UPDATE::QUAV_UPDATE(Workbench &wb)
    : QuavDialog(wb)
    , m_command(wb)
{
    ui.setupUi(this);
    ui.List1->setFont(listFont());
    ui.RTB_Insert_Data->setFont(listFont());
    connect(ui.Cmd_Delete, &QPushButton::clicked, this, &QUAV_UPDATE::Cmd_Delete_Click);
    connect(ui.Cmd_Insert, &QPushButton::clicked, this, &QUAV_UPDATE::Cmd_Insert_Click);
    connect(ui.Cmd_Insert_Commit, &QPushButton::clicked, this, &QUAV_UPDATE::Cmd_Insert_Commit_Click);
    connect(ui.Cmd_Update, &QPushButton::clicked, this, &QUAV_UPDATE::Cmd_Update_Click);
    connect(ui.Cmd_Redo, &QPushButton::clicked, this, &QUAV_UPDATE::Cmd_Redo_Click);
    connect(ui.Cmd_Hanei, &QPushButton::clicked, this, &QUAV_UPDATE::Cmd_Hanei_Click);
    connect(ui.Cmd_Cancel, &QPushButton::clicked, this, &QUAV_UPDATE::CMD_CANCEL_Click);
}

bool QUAV_UPDATE::load()
{
    if (!m_command.Form_Load())
        return false;
    ui.Label2->setText(m_command.fileKey());
    showLines();
    setInsertMode(false);
    return true;
}

void QUAV_UPDATE::showLines()
{
    const QList<EditorLine> &lines = m_command.editor().lines();
    ui.List1->setUpdatesEnabled(false);
    ui.List1->clear();
    for (const EditorLine &line : lines) {
        auto *item = new QListWidgetItem(line.text);
        item->setData(Qt::UserRole, line.number);
        ui.List1->addItem(item);
    }
    ui.List1->setUpdatesEnabled(true);
}

void QUAV_UPDATE::takeSelection()
{
    QList<int> rows;
    for (const QModelIndex &index : ui.List1->selectionModel()->selectedRows())
        rows.append(index.row());
    m_command.editor().setSelection(rows);
}

void QUAV_UPDATE::setInsertMode(bool insert)
{
    // The text box takes the list's place: what leaves is hidden before what
    // comes is shown, or the window would grow to hold both for a moment.
    QWidget *leaving = insert ? static_cast<QWidget *>(ui.List1) : ui.RTB_Insert_Data;
    QWidget *coming = insert ? static_cast<QWidget *>(ui.RTB_Insert_Data) : ui.List1;
    leaving->hide();
    coming->show();
    ui.Cmd_Insert_Commit->setVisible(insert);
    ui.Cmd_Insert_Commit->setEnabled(insert && m_command.editor().commitEnabled());
    ui.List1->setEnabled(!insert);
    ui.Label3->setVisible(!insert);
    ui.Cmd_Cancel->setEnabled(true);
    for (QPushButton *b : {ui.Cmd_Delete, ui.Cmd_Insert, ui.Cmd_Update, ui.Cmd_Redo, ui.Cmd_Hanei}) {
        b->setVisible(!insert);
        b->setEnabled(!insert);
    }
    if (insert) {
        ui.RTB_Insert_Data->clear();
        ui.RTB_Insert_Data->setFocus();
    }
}

void QUAV_UPDATE::setWorking(bool working)
{
    for (QPushButton *b : {ui.Cmd_Delete, ui.Cmd_Insert, ui.Cmd_Update, ui.Cmd_Redo, ui.Cmd_Hanei, ui.Cmd_Cancel})
        b->setEnabled(!working);
    ui.List1->setEnabled(!working);
}

void QUAV_UPDATE::Cmd_Delete_Click()
{
    setWorking(true);
    takeSelection();
    if (m_command.editor().Cmd_Delete_Click())
        showLines();
    setWorking(false);
}

void QUAV_UPDATE::Cmd_Insert_Click()
{
    setWorking(true);
    ui.Label3->hide();
    takeSelection();
    if (m_command.editor().Cmd_Insert_Click()) {
        setInsertMode(true);
        return;
    }
    ui.Label3->show();
    setWorking(false);
}

void QUAV_UPDATE::Cmd_Insert_Commit_Click()
{
    const QString typed = ui.RTB_Insert_Data->toPlainText();
    switch (m_command.editor().Cmd_Insert_Commit_Click(typed)) {
    case LineEditor::Commit::Inserted:
        showLines();
        setInsertMode(false);
        break;
    case LineEditor::Commit::Refused:
        ui.RTB_Insert_Data->setPlainText(typed);
        break;
    case LineEditor::Commit::Blocked:
        ui.Cmd_Insert_Commit->setEnabled(false);
        break;
    }
}

void QUAV_UPDATE::Cmd_Update_Click()
{
    setWorking(true);
    takeSelection();
    const int row = ui.List1->currentRow();
    if (m_command.editor().Cmd_Update_Click()) {
        showLines();
        ui.List1->setCurrentRow(row);
    }
    setWorking(false);
}

void QUAV_UPDATE::Cmd_Redo_Click()
{
    setWorking(true);
    m_command.editor().Cmd_Redo_Click();
    showLines();
    setWorking(false);
}

void QUAV_UPDATE::Cmd_Hanei_Click()
{
    ui.Cmd_Hanei->setEnabled(false);
    ui.Cmd_Cancel->setEnabled(false);
    if (!m_command.Cmd_Hanei_Click()) {
        ui.Cmd_Hanei->setEnabled(true);
        ui.Cmd_Cancel->setEnabled(true);
        return;
    }
    finish();
}

void QUAV_UPDATE::CMD_CANCEL_Click()
{
    if (m_command.editor().Cmd_Cancel_Click()) {
        finish();
        return;
    }
    setInsertMode(false);
}

void QUAV_UPDATE::reject()
{
    CMD_CANCEL_Click();
}
