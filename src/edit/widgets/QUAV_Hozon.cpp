#include "edit/widgets/QUAV_Hozon.h"

#include "base/Workbench.h"
#include "edit/SaveForm.h"

#include <QHBoxLayout>
#include <QItemSelection>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

QUAV_Hozon::QUAV_Hozon(Workbench &wb)
    : QuavDialog(wb)
{
    setWindowTitle(SaveForm::kCaption);

    Label1 = new QLabel(QStringLiteral("保存対象ファイル"), this);
    List1 = new QListWidget(this);
    List1->setSelectionMode(QAbstractItemView::MultiSelection);
    List1->setMinimumSize(560, 240);
    Label1->setBuddy(List1);
    Label2 = new QLabel(QStringLiteral("↑　複数ファイルの個別選択も可能です。"), this);
    Cmd_All_Sentaku = new QPushButton(QStringLiteral("全て選択"), this);
    Cmd_All_Sentaku->setAutoDefault(false);
    Cmd_All_Clear = new QPushButton(QStringLiteral("クリア"), this);
    Cmd_All_Clear->setAutoDefault(false);
    Cmd_Jikkou = new QPushButton(QStringLiteral("保存"), this);
    Cmd_Jikkou->setDefault(true);
    Cmd_Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    nameControls({{Label1, "Label1"}, {List1, "List1"}, {Label2, "Label2"},
                  {Cmd_All_Sentaku, "Cmd_All_Sentaku"}, {Cmd_All_Clear, "Cmd_All_Clear"},
                  {Cmd_Jikkou, "Cmd_Jikkou"}, {Cmd_Cancel, "Cmd_Cancel"}});
    Cmd_Cancel->setAutoDefault(false);

    setObjectName(QStringLiteral("QUAV_Hozon"));

    auto *selectRow = new QHBoxLayout;
    selectRow->addWidget(Label2, 1);
    selectRow->addWidget(Cmd_All_Sentaku);
    selectRow->addWidget(Cmd_All_Clear);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Cmd_Jikkou);
    buttons->addWidget(Cmd_Cancel);
    auto *top = new QVBoxLayout(this);
    top->addWidget(Label1);
    top->addWidget(List1, 1);
    top->addLayout(selectRow);
    top->addSpacing(6);
    top->addLayout(buttons);

    connect(Cmd_All_Sentaku, &QPushButton::clicked, this, &QUAV_Hozon::Cmd_All_Sentaku_Click);
    connect(Cmd_All_Clear, &QPushButton::clicked, this, &QUAV_Hozon::Cmd_All_Clear_Click);
    connect(Cmd_Jikkou, &QPushButton::clicked, this, &QUAV_Hozon::Cmd_Jikkou_Click);
    connect(Cmd_Cancel, &QPushButton::clicked, this, &QUAV_Hozon::CMD_CANCEL_Click);

    Form_Load();
}

void QUAV_Hozon::Form_Load()
{
    // Selected as one selection of runs of neighbouring rows: selecting item
    // by item costs a pass over every range selected so far, which grows
    // with the square of the number of files (seconds for 10,000).
    const QList<SaveForm::Item> items = SaveForm::Form_Load(m_wb.work);
    QStringList texts;
    texts.reserve(items.size());
    for (const SaveForm::Item &item : items)
        texts.append(item.text);
    List1->addItems(texts);
    QItemSelection preselected;
    QAbstractItemModel *model = List1->model();
    for (qsizetype i = 0; i < items.size();) {
        if (!items.at(i).selected) {
            ++i;
            continue;
        }
        qsizetype last = i;
        while (last + 1 < items.size() && items.at(last + 1).selected)
            ++last;
        preselected.append(QItemSelectionRange(model->index(int(i), 0), model->index(int(last), 0)));
        i = last + 1;
    }
    List1->selectionModel()->select(preselected, QItemSelectionModel::Select);
    fitPathList(List1);
}

void QUAV_Hozon::Cmd_All_Sentaku_Click()
{
    List1->selectAll();
}

void QUAV_Hozon::Cmd_All_Clear_Click()
{
    List1->clearSelection();
}

void QUAV_Hozon::setControlsEnabled(bool enabled)
{
    for (QWidget *w : {static_cast<QWidget *>(List1), static_cast<QWidget *>(Cmd_All_Sentaku),
                       static_cast<QWidget *>(Cmd_All_Clear), static_cast<QWidget *>(Cmd_Jikkou),
                       static_cast<QWidget *>(Cmd_Cancel)})
        w->setEnabled(enabled);
}

void QUAV_Hozon::Cmd_Jikkou_Click()
{
    setControlsEnabled(false);
    // Read range by range: asking each item costs a pass over the ranges.
    QList<bool> selected(List1->count(), false);
    for (const QItemSelectionRange &range : List1->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            if (row < selected.size())
                selected[row] = true;
    // The main window comes back (its commands busy, STOP alone enabled) so
    // that STOP can end a long save; the dialog's close box waits for it.
    QWidget *main = opener();
    if (main)
        main->setEnabled(true);
    setRunning(true);
    const SaveForm::Outcome out = SaveForm::Cmd_Jikkou(m_wb, selected);
    setRunning(false);
    if (out.closes) {
        finish();
        return;
    }
    if (main)
        main->setEnabled(false);
    setControlsEnabled(true);
    List1->setFocus();
}

void QUAV_Hozon::CMD_CANCEL_Click()
{
    setControlsEnabled(false);
    finish();
}
