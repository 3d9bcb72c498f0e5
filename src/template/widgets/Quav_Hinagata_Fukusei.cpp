#include "template/widgets/Quav_Hinagata_Fukusei.h"

#include "base/Workbench.h"
#include "template/TemplateDuplication.h"
#include "template/TemplateDuplicationForm.h"
#include "template/widgets/BarProgressPort.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

Quav_Hinagata_Fukusei::Quav_Hinagata_Fukusei(Workbench &wb)
    : QuavDialog(wb)
{
    setObjectName(QStringLiteral("Quav_Hinagata_Fukusei"));
    setWindowTitle(TemplateDuplication::kCaption);
    List_Taisyou_File = new QListWidget(this);
    List_Taisyou_File->setSelectionMode(QAbstractItemView::MultiSelection);
    List_Taisyou_File->addItems(TemplateDuplicationForm::sourceFiles(wb.work));
    fitPathList(List_Taisyou_File);
    Text_Change = new QLineEdit(this);
    List_Pattern = new QListWidget(this);
    List_Pattern->setSelectionMode(QAbstractItemView::MultiSelection);
    List_Pattern->addItems(wb.parameters.values);
    List_Pattern->selectAll();
    Combo_File_Make = new QComboBox(this);
    const QStringList items = TemplateDuplication::patternItems();
    for (int i = 0; i < items.size(); ++i)
        Combo_File_Make->addItem(items.at(i), i + 1);
    Combo_File_Make->setCurrentIndex(0);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    Cmd_Fukusei = new QPushButton(QStringLiteral("複製実行"), this);
    Cmd_Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    Cmd_Fukusei->setAutoDefault(false);
    Cmd_Cancel->setAutoDefault(false);
    Label1 = new QLabel(QStringLiteral("対象ファイル選択　　　　（複数選択可能）"), this);
    Label2 = new QLabel(QStringLiteral("置替文字(変換パラメータ)"), this);
    Label3 = new QLabel(QStringLiteral("＜－－"), this);
    Label4 = new QLabel(QStringLiteral("└─＞ 検索文字列"), this);
    Label6 = new QLabel(QStringLiteral("生成ファイル名"), this);
    Label7 = new QLabel(QStringLiteral("(修正は出来ません)"), this);
    Label8 = new QLabel(QStringLiteral("(＃＃＃の位置にパラメータを適用して、ファイル名を生成します。)"), this);
    Label9 = new QLabel(QStringLiteral("大文字と小文字も区別されます。"), this);

    nameControls({{List_Taisyou_File, "List_Taisyou_File"}, {Text_Change, "Text_Change"},
                  {List_Pattern, "List_Pattern"}, {Combo_File_Make, "Combo_File_Make"},
                  {ProgressBar1, "ProgressBar1"}, {Cmd_Fukusei, "Cmd_Fukusei"}, {Cmd_Cancel, "Cmd_Cancel"},
                  {Label1, "Label1"}, {Label2, "Label2"}, {Label3, "Label3"}, {Label4, "Label4"},
                  {Label6, "Label6"}, {Label7, "Label7"}, {Label8, "Label8"}, {Label9, "Label9"}});

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(List_Taisyou_File, 1, 0, 3, 1);
    grid->addWidget(Label4, 4, 0);
    grid->addWidget(Text_Change, 5, 0);
    grid->addWidget(Label9, 6, 0);
    grid->addWidget(Label3, 5, 1);
    grid->addWidget(Label2, 0, 2);
    grid->addWidget(List_Pattern, 1, 2, 3, 1);
    grid->addWidget(Label7, 4, 2);
    grid->addWidget(Label6, 7, 0);
    grid->addWidget(Combo_File_Make, 8, 0);
    grid->addWidget(Label8, 9, 0, 1, 3);
    grid->addWidget(ProgressBar1, 9, 0, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Cmd_Fukusei);
    buttons->addWidget(Cmd_Cancel);
    grid->addLayout(buttons, 10, 0, 1, 3);

    connect(Cmd_Fukusei, &QPushButton::clicked, this, &Quav_Hinagata_Fukusei::Cmd_Fukusei_Click);
    connect(Cmd_Cancel, &QPushButton::clicked, this, &Quav_Hinagata_Fukusei::CMD_CANCEL_Click);
    // The parameter list shows what will be used and cannot be changed: any
    // click selects every entry again.
    connect(List_Pattern, &QListWidget::itemClicked, this, &Quav_Hinagata_Fukusei::List_Pattern_Click);
    connect(List_Pattern, &QListWidget::itemDoubleClicked, this, &Quav_Hinagata_Fukusei::List_Pattern_Click);
    connect(List_Pattern, &QListWidget::itemSelectionChanged, this, &Quav_Hinagata_Fukusei::List_Pattern_Click);
}

void Quav_Hinagata_Fukusei::List_Pattern_Click()
{
    const QSignalBlocker block(List_Pattern);
    List_Pattern->selectAll();
}

void Quav_Hinagata_Fukusei::setInputsEnabled(bool enabled)
{
    // The cancel button stays: during the run it stops it between files.
    for (QWidget *w : {static_cast<QWidget *>(Cmd_Fukusei),
                       static_cast<QWidget *>(Combo_File_Make), static_cast<QWidget *>(List_Taisyou_File),
                       static_cast<QWidget *>(Text_Change)})
        w->setEnabled(enabled);
}

void Quav_Hinagata_Fukusei::Cmd_Fukusei_Click()
{
    QStringList sources;
    for (int i = 0; i < List_Taisyou_File->count(); ++i)
        if (List_Taisyou_File->item(i)->isSelected())
            sources.append(List_Taisyou_File->item(i)->text());
    setInputsEnabled(false);
    setRunning(true);
    m_stop = false;
    BarProgressPort progress(ProgressBar1, Label8);
    const TemplateDuplication::Summary summary = TemplateDuplicationForm::Hinagata_Fukusei(
        m_wb, sources, Text_Change->text(), Combo_File_Make->currentData().toInt(), &progress, &m_stop);
    setRunning(false);
    setInputsEnabled(true);
    if (!summary.refused)
        finish();
}

void Quav_Hinagata_Fukusei::CMD_CANCEL_Click()
{
    if (isRunning()) {
        m_stop = true;
        return;
    }
    finish();
}
