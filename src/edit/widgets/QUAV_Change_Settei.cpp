#include "edit/widgets/QUAV_Change_Settei.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <QCloseEvent>

QUAV_Change_Settei::QUAV_Change_Settei(Workbench &wb)
    : QuavDialog(wb)
    , m_command(wb)
{
    setObjectName(QStringLiteral("QUAV_Change_Settei"));
    setWindowTitle(QStringLiteral("ＱＵＡＶ　置替諸元設定"));
    Label1 = new QLabel(QStringLiteral("サーチ文字"), this);
    Text_Search = new QLineEdit(this);
    Label1->setBuddy(Text_Search);
    Label2 = new QLabel(QStringLiteral("置替文字"), this);
    Text_Change = new QLineEdit(this);
    Label2->setBuddy(Text_Change);
    Label3 = new QLabel(QStringLiteral("対象ファイル"), this);
    List1 = new QListWidget(this);
    List1->setMinimumSize(520, 200);
    List1->setSelectionMode(QAbstractItemView::MultiSelection);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Label3->setBuddy(List1);
    Label4 = new QLabel(this); // the form's note for the mode, set on loading
    Frame2 = new QGroupBox(QStringLiteral("大文字小文字の区別"), this);
    Opt_Moji_Kubetu_Yes = new QRadioButton(QStringLiteral("する"), Frame2);
    Opt_Moji_Kubetu_No = new QRadioButton(QStringLiteral("しない"), Frame2);
    Cmd_All_Sentaku = new QPushButton(QStringLiteral("全て選択"), this);
    Cmd_All_Sentaku->setAutoDefault(false);
    Cmd_All_Clear = new QPushButton(QStringLiteral("クリア"), this);
    Cmd_All_Clear->setAutoDefault(false);
    Cmd_Jikkou = new QPushButton(QStringLiteral("実行"), this);
    Cmd_Jikkou->setDefault(true);
    Cmd_Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    Cmd_Cancel->setAutoDefault(false);
    nameControls({{Label1, "Label1"}, {Text_Search, "Text_Search"}, {Label2, "Label2"}, {Text_Change, "Text_Change"},
                  {Label3, "Label3"}, {List1, "List1"}, {Label4, "Label4"}, {Frame2, "Frame2"},
                  {Opt_Moji_Kubetu_Yes, "Opt_Moji_Kubetu_Yes"}, {Opt_Moji_Kubetu_No, "Opt_Moji_Kubetu_No"},
                  {Cmd_All_Sentaku, "Cmd_All_Sentaku"}, {Cmd_All_Clear, "Cmd_All_Clear"},
                  {Cmd_Jikkou, "Cmd_Jikkou"}, {Cmd_Cancel, "Cmd_Cancel"}});

    auto *textLayout = new QGridLayout;
    textLayout->addWidget(Label1, 0, 0);
    textLayout->addWidget(Text_Search, 0, 1);
    textLayout->addWidget(Label2, 1, 0);
    textLayout->addWidget(Text_Change, 1, 1);
    auto *caseLayout = new QHBoxLayout(Frame2);
    caseLayout->addWidget(Opt_Moji_Kubetu_Yes);
    caseLayout->addWidget(Opt_Moji_Kubetu_No);
    auto *optionLayout = new QHBoxLayout;
    optionLayout->addWidget(Frame2);
    optionLayout->addStretch();
    optionLayout->addWidget(Cmd_All_Sentaku);
    optionLayout->addWidget(Cmd_All_Clear);
    auto *buttonLayout = new QHBoxLayout;
    buttonLayout->addStretch();
    buttonLayout->addWidget(Cmd_Jikkou);
    buttonLayout->addWidget(Cmd_Cancel);
    auto *top = new QVBoxLayout(this);
    top->addLayout(textLayout);
    top->addWidget(Label3);
    top->addWidget(List1);
    top->addWidget(Label4);
    top->addLayout(optionLayout);
    top->addLayout(buttonLayout);

    List1->setFont(listFont());
    connect(Cmd_All_Sentaku, &QPushButton::clicked, this, &QUAV_Change_Settei::Cmd_All_Sentaku_Click);
    connect(Cmd_All_Clear, &QPushButton::clicked, this, &QUAV_Change_Settei::Cmd_All_Clear_Click);
    connect(Cmd_Jikkou, &QPushButton::clicked, this, &QUAV_Change_Settei::Cmd_Jikkou_Click);
    connect(Cmd_Cancel, &QPushButton::clicked, this, &QUAV_Change_Settei::CMD_CANCEL_Click);
    Form_Load();
}

void QUAV_Change_Settei::Form_Load()
{
    m_command.Form_Load();
    List1->addItems(m_command.files());
    fitPathList(List1);
    Label4->setText(m_command.note());
    if (m_command.Syousai_Gamen_Flg == 1) {
        Cmd_All_Sentaku->hide();
        Cmd_All_Clear->hide();
        if (QListWidgetItem *item = List1->item(m_command.lockedFile())) {
            item->setSelected(true);
            List1->scrollToItem(item);
        }
        List1->setEnabled(false);
    }
    Opt_Moji_Kubetu_No->setChecked(true);
    Text_Search->setText(m_command.initialSearch());
    Text_Change->clear();
}

void QUAV_Change_Settei::setButtonsEnabled(bool enabled)
{
    for (QPushButton *b : {Cmd_All_Sentaku, Cmd_All_Clear, Cmd_Cancel, Cmd_Jikkou})
        b->setEnabled(enabled);
}

void QUAV_Change_Settei::Cmd_All_Sentaku_Click()
{
    List1->selectAll();
}

void QUAV_Change_Settei::Cmd_All_Clear_Click()
{
    List1->clearSelection();
}

void QUAV_Change_Settei::Cmd_Jikkou_Click()
{
    setButtonsEnabled(false);
    QList<int> rows;
    for (const QModelIndex &index : List1->selectionModel()->selectedRows())
        rows.append(index.row());
    if (!m_command.Cmd_Jikkou_Click(Text_Search->text(), Text_Change->text(),
                                    Opt_Moji_Kubetu_Yes->isChecked(), rows)) {
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
