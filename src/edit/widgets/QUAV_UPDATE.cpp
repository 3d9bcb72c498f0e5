#include "edit/widgets/QUAV_UPDATE.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QUAV_UPDATE::QUAV_UPDATE(Workbench &wb)
    : QuavDialog(wb)
    , m_command(wb)
{
    setObjectName(QStringLiteral("QUAV_UPDATE"));
    setWindowTitle(QStringLiteral("ＱＵＡＶ　簡易編集"));
    Label1 = new QLabel(QStringLiteral("ファイル："), this);
    Label2 = new QLabel(this);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setWordWrap(true);
    List1 = new QListWidget(this);
    List1->setMinimumSize(640, 320);
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List1->setUniformItemSizes(true);
    RTB_Insert_Data = new QPlainTextEdit(this);
    RTB_Insert_Data->setMinimumSize(640, 320);
    RTB_Insert_Data->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The insert box and its button take the list's place only while
    // inserting; hidden from the start, the dialog first sizes for the list.
    RTB_Insert_Data->hide();
    Label3 = new QLabel(QStringLiteral("↑　削除時、複数選択が可能です。"), this);
    Cmd_Delete = new QPushButton(QStringLiteral("削除"), this);
    Cmd_Insert = new QPushButton(QStringLiteral("挿入"), this);
    Cmd_Update = new QPushButton(QStringLiteral("修正"), this);
    Cmd_Redo = new QPushButton(QStringLiteral("戻す"), this);
    Cmd_Insert_Commit = new QPushButton(QStringLiteral("入力完了"), this);
    Cmd_Insert_Commit->hide();
    Cmd_Hanei = new QPushButton(QStringLiteral("編集反映"), this);
    Cmd_Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    // No default button: Return in the insert box is a line break.
    for (QPushButton *b : {Cmd_Delete, Cmd_Insert, Cmd_Update, Cmd_Redo, Cmd_Insert_Commit, Cmd_Hanei, Cmd_Cancel})
        b->setAutoDefault(false);
    nameControls({{Label1, "Label1"}, {Label2, "Label2"}, {List1, "List1"}, {RTB_Insert_Data, "RTB_Insert_Data"},
                  {Label3, "Label3"}, {Cmd_Delete, "Cmd_Delete"}, {Cmd_Insert, "Cmd_Insert"},
                  {Cmd_Update, "Cmd_Update"}, {Cmd_Redo, "Cmd_Redo"}, {Cmd_Insert_Commit, "Cmd_Insert_Commit"},
                  {Cmd_Hanei, "Cmd_Hanei"}, {Cmd_Cancel, "Cmd_Cancel"}});

    auto *fileLayout = new QHBoxLayout;
    fileLayout->addWidget(Label1);
    fileLayout->addWidget(Label2, 1);
    auto *buttonLayout = new QHBoxLayout;
    buttonLayout->addWidget(Cmd_Delete);
    buttonLayout->addWidget(Cmd_Insert);
    buttonLayout->addWidget(Cmd_Update);
    buttonLayout->addWidget(Cmd_Redo);
    buttonLayout->addWidget(Cmd_Insert_Commit);
    buttonLayout->addStretch();
    buttonLayout->addWidget(Cmd_Hanei);
    buttonLayout->addWidget(Cmd_Cancel);
    auto *top = new QVBoxLayout(this);
    top->addLayout(fileLayout);
    top->addWidget(List1);
    top->addWidget(RTB_Insert_Data);
    top->addWidget(Label3);
    top->addLayout(buttonLayout);

    List1->setFont(listFont());
    RTB_Insert_Data->setFont(listFont());
    connect(Cmd_Delete, &QPushButton::clicked, this, &QUAV_UPDATE::Cmd_Delete_Click);
    connect(Cmd_Insert, &QPushButton::clicked, this, &QUAV_UPDATE::Cmd_Insert_Click);
    connect(Cmd_Insert_Commit, &QPushButton::clicked, this, &QUAV_UPDATE::Cmd_Insert_Commit_Click);
    connect(Cmd_Update, &QPushButton::clicked, this, &QUAV_UPDATE::Cmd_Update_Click);
    connect(Cmd_Redo, &QPushButton::clicked, this, &QUAV_UPDATE::Cmd_Redo_Click);
    connect(Cmd_Hanei, &QPushButton::clicked, this, &QUAV_UPDATE::Cmd_Hanei_Click);
    connect(Cmd_Cancel, &QPushButton::clicked, this, &QUAV_UPDATE::CMD_CANCEL_Click);
}

bool QUAV_UPDATE::load()
{
    if (!m_command.Form_Load())
        return false;
    Label2->setText(m_command.fileKey());
    showLines();
    setInsertMode(false);
    return true;
}

void QUAV_UPDATE::showLines()
{
    const QList<EditorLine> &lines = m_command.editor().lines();
    List1->setUpdatesEnabled(false);
    List1->clear();
    for (const EditorLine &line : lines) {
        auto *item = new QListWidgetItem(line.text);
        item->setData(Qt::UserRole, line.number);
        List1->addItem(item);
    }
    List1->setUpdatesEnabled(true);
}

void QUAV_UPDATE::takeSelection()
{
    QList<int> rows;
    for (const QModelIndex &index : List1->selectionModel()->selectedRows())
        rows.append(index.row());
    m_command.editor().setSelection(rows);
}

void QUAV_UPDATE::setInsertMode(bool insert)
{
    // The text box takes the list's place: what leaves is hidden before what
    // comes is shown, or the window would grow to hold both for a moment.
    QWidget *leaving = insert ? static_cast<QWidget *>(List1) : RTB_Insert_Data;
    QWidget *coming = insert ? static_cast<QWidget *>(RTB_Insert_Data) : List1;
    leaving->hide();
    coming->show();
    Cmd_Insert_Commit->setVisible(insert);
    Cmd_Insert_Commit->setEnabled(insert && m_command.editor().commitEnabled());
    List1->setEnabled(!insert);
    Label3->setVisible(!insert);
    Cmd_Cancel->setEnabled(true);
    for (QPushButton *b : {Cmd_Delete, Cmd_Insert, Cmd_Update, Cmd_Redo, Cmd_Hanei}) {
        b->setVisible(!insert);
        b->setEnabled(!insert);
    }
    if (insert) {
        RTB_Insert_Data->clear();
        RTB_Insert_Data->setFocus();
    }
}

void QUAV_UPDATE::setWorking(bool working)
{
    for (QPushButton *b : {Cmd_Delete, Cmd_Insert, Cmd_Update, Cmd_Redo, Cmd_Hanei, Cmd_Cancel})
        b->setEnabled(!working);
    List1->setEnabled(!working);
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
    Label3->hide();
    takeSelection();
    if (m_command.editor().Cmd_Insert_Click()) {
        setInsertMode(true);
        return;
    }
    Label3->show();
    setWorking(false);
}

void QUAV_UPDATE::Cmd_Insert_Commit_Click()
{
    const QString typed = RTB_Insert_Data->toPlainText();
    switch (m_command.editor().Cmd_Insert_Commit_Click(typed)) {
    case LineEditor::Commit::Inserted:
        showLines();
        setInsertMode(false);
        break;
    case LineEditor::Commit::Refused:
        RTB_Insert_Data->setPlainText(typed);
        break;
    case LineEditor::Commit::Blocked:
        Cmd_Insert_Commit->setEnabled(false);
        break;
    }
}

void QUAV_UPDATE::Cmd_Update_Click()
{
    setWorking(true);
    takeSelection();
    const int row = List1->currentRow();
    if (m_command.editor().Cmd_Update_Click()) {
        showLines();
        List1->setCurrentRow(row);
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
    Cmd_Hanei->setEnabled(false);
    Cmd_Cancel->setEnabled(false);
    if (!m_command.Cmd_Hanei_Click()) {
        Cmd_Hanei->setEnabled(true);
        Cmd_Cancel->setEnabled(true);
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
