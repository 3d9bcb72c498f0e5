#include "template/widgets/Quav_Hinagata_Read.h"

#include "base/Workbench.h"
#include "template/TemplateReadForm.h"
#include "template/TemplateRead.h"
#include "template/widgets/BarProgressPort.h"
#include "template/widgets/TemplateFolderBrowser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

Quav_Hinagata_Read::Quav_Hinagata_Read(Workbench &wb)
    : QuavDialog(wb)
{
    setObjectName(QStringLiteral("Quav_Hinagata_Read"));
    setWindowTitle(TemplateRead::kCaption);
    browser = new TemplateFolderBrowser(this, wb.settings.SIKIBETU, wb.messages, TemplateRead::kCaption);
    Drive1 = browser->Drive1;
    List1 = browser->folderList;
    List2 = browser->fileList;
    Label2 = browser->pathLabel;
    Label1 = browser->pathCaption;
    Label4 = browser->folderCaption;
    List2->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Label3 = new QLabel(QStringLiteral("↑　サーチ諸元設定で編集した識別子が対象です。　　　　また、複数選択も可能です。"), this);
    TemplateFolderBrowser::fitNote(Label3);
    Check1 = new QCheckBox(QStringLiteral("現在編集中の検索内容を破棄して読み込む"), this);
    Cmd_Read = new QPushButton(QStringLiteral("読み込み"), this);
    Cmd_Read->setDefault(true);
    Cmd_Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    Cmd_Cancel->setAutoDefault(false);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();

    nameControls({{Drive1, "Drive1"}, {List1, "List1"}, {List2, "List2"}, {Label1, "Label1"},
                  {Label2, "Label2"}, {Label3, "Label3"}, {Label4, "Label4"}, {Check1, "Check1"},
                  {Cmd_Read, "Cmd_Read"}, {Cmd_Cancel, "Cmd_Cancel"}, {ProgressBar1, "ProgressBar1"}});

    auto *grid = new QGridLayout(this);
    browser->placeIn(grid, 2);
    grid->addWidget(Label3, 4, 1);
    grid->addWidget(Check1, 5, 0, 1, 2);
    grid->addWidget(ProgressBar1, 6, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Cmd_Read);
    buttons->addWidget(Cmd_Cancel);
    grid->addLayout(buttons, 7, 0, 1, 2);

    connect(Cmd_Read, &QPushButton::clicked, this, &Quav_Hinagata_Read::Cmd_Read_Click);
    connect(Cmd_Cancel, &QPushButton::clicked, this, &Quav_Hinagata_Read::CMD_CANCEL_Click);

    browser->browseFrom(wb.work.Search_Path);
}

void Quav_Hinagata_Read::setInputsEnabled(bool enabled)
{
    for (QWidget *w : {static_cast<QWidget *>(Cmd_Read), static_cast<QWidget *>(Drive1),
                       static_cast<QWidget *>(List1), static_cast<QWidget *>(List2)})
        w->setEnabled(enabled);
}

void Quav_Hinagata_Read::Cmd_Read_Click()
{
    const QList<QByteArray> paths = browser->selectedFiles();
    // The cancel button stays: during the run it stops it between files.
    setInputsEnabled(false);
    setRunning(true);
    m_stop = false;
    BarProgressPort progress(ProgressBar1);
    const bool done = TemplateReadForm::Hinagata_Read(m_wb, paths, Check1->isChecked(), &progress, &m_stop);
    setRunning(false);
    setInputsEnabled(true);
    if (done)
        finish();
}

void Quav_Hinagata_Read::CMD_CANCEL_Click()
{
    if (isRunning()) {
        m_stop = true;
        return;
    }
    finish();
}
