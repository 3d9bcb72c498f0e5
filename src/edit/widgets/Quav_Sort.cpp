#include "edit/widgets/Quav_Sort.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

Quav_Sort::Quav_Sort(Workbench &wb)
    : QuavDialog(wb)
    , m_command(wb)
{
    setObjectName(QStringLiteral("Quav_Sort"));
    setWindowTitle(QStringLiteral("データ並び替え"));
    Label1 = new QLabel(SortForm::kPathCaption, this);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    List1 = new QListWidget(this);
    List1->setMinimumSize(560, 300);
    List1->setUniformItemSizes(true);
    Frame1 = new QGroupBox(QStringLiteral("並び替え順"), this);
    Option1 = new QRadioButton(QStringLiteral("昇順"), Frame1);
    Option2 = new QRadioButton(QStringLiteral("降順"), Frame1);
    Command1 = new QPushButton(QStringLiteral("並び替え実行"), this);
    Command1->setDefault(true);
    Cmd_Hanei = new QPushButton(QStringLiteral("結果反映/完了"), this);
    Cmd_Hanei->setAutoDefault(false);
    Cmd_Hanei->hide();
    Command2 = new QPushButton(QStringLiteral("キャンセル"), this);
    Command2->setAutoDefault(false);
    nameControls({{Label1, "Label1"}, {List1, "List1"}, {Frame1, "Frame1"}, {Option1, "Option1"},
                  {Option2, "Option2"}, {Command1, "Command1"}, {Cmd_Hanei, "Cmd_Hanei"}, {Command2, "Command2"}});

    auto *frameLayout = new QHBoxLayout(Frame1);
    frameLayout->addWidget(Option1);
    frameLayout->addWidget(Option2);
    auto *orderLayout = new QHBoxLayout;
    orderLayout->addWidget(Frame1);
    orderLayout->addStretch();
    orderLayout->addWidget(Command1);
    orderLayout->addWidget(Cmd_Hanei);
    orderLayout->addWidget(Command2);
    auto *top = new QVBoxLayout(this);
    top->addWidget(Label1);
    top->addWidget(List1);
    top->addLayout(orderLayout);

    List1->setFont(listFont());
    connect(Command1, &QPushButton::clicked, this, &Quav_Sort::Command1_Click);
    connect(Cmd_Hanei, &QPushButton::clicked, this, &Quav_Sort::Cmd_Hanei_Click);
    connect(Command2, &QPushButton::clicked, this, &Quav_Sort::Command2_Click);
    // "結果反映/完了" appears after the first sort beside "並び替え実行",
    // whose room it must not take: a second click there would apply and
    // close. Its room is kept while it is hidden.
    keepRoomWhenHidden({Cmd_Hanei});
}

bool Quav_Sort::load()
{
    Option1->setChecked(true);
    if (!m_command.Form_Load())
        return false;
    Label1->setText(SortForm::kPathCaption + m_command.fileKey());
    showLines();
    Cmd_Hanei->hide();
    return true;
}

void Quav_Sort::showLines()
{
    List1->setUpdatesEnabled(false);
    List1->clear();
    List1->addItems(m_command.sort().lines());
    List1->setUpdatesEnabled(true);
}

void Quav_Sort::Command1_Click()
{
    m_command.Command1_Click(Option1->isChecked());
    showLines();
    Cmd_Hanei->show();
}

void Quav_Sort::Cmd_Hanei_Click()
{
    for (QPushButton *b : {Command1, Command2, Cmd_Hanei})
        b->setEnabled(false);
    if (!m_command.Cmd_Hanei_Click()) {
        for (QPushButton *b : {Command1, Command2, Cmd_Hanei})
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
