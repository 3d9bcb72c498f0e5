#include "search/widgets/QUAV_Search_Save.h"

#include "base/Workbench.h"
#include "platform/MessagePort.h"
#include "search/ResultExportForm.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QUAV_Search_Save::QUAV_Search_Save(Workbench &wb)
    : QuavDialog(wb)
{
    setWindowTitle(ResultExportForm::kCaption);

    Label1 = new QLabel(QStringLiteral("検索結果出力パス"), this);
    Text_Path = new QLineEdit(this);
    QFont fixed(QStringLiteral("IPAGothic"));
    fixed.setStyleHint(QFont::TypeWriter);
    Text_Path->setFont(fixed);
    Text_Path->setMinimumWidth(Text_Path->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 48);
    Label1->setBuddy(Text_Path);
    Cmd_Sansyo = new QPushButton(QStringLiteral("参照"), this);
    Cmd_Sansyo->setAutoDefault(false);
    Check2 = new QCheckBox(QStringLiteral("デフォルト出力ファイルとして登録する  "), this);
    Line1 = new QFrame(this);
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Check1 = new QCheckBox(QStringLiteral("検索結果の自動保存(今後自動的に保存する)"), this);
    Cmd_Settei = new QPushButton(QStringLiteral("設定変更"), this);
    Cmd_Settei->setAutoDefault(false);
    Cmd_Out = new QPushButton(QStringLiteral("検索結果出力"), this);
    Cmd_Out->setDefault(true);
    Cmd_Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    nameControls({{Label1, "Label1"}, {Text_Path, "Text_Path"}, {Cmd_Sansyo, "Cmd_Sansyo"},
                  {Check2, "Check2"}, {Check1, "Check1"}, {Cmd_Settei, "Cmd_Settei"}, {Cmd_Out, "Cmd_Out"},
                  {Cmd_Cancel, "Cmd_Cancel"}, {Line1, "Line1"}});
    Cmd_Cancel->setAutoDefault(false);

    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(Text_Path, 1);
    pathRow->addWidget(Cmd_Sansyo);
    auto *autoRow = new QHBoxLayout;
    autoRow->addWidget(Check1);
    autoRow->addStretch();
    autoRow->addWidget(Cmd_Settei);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Cmd_Out);
    buttons->addWidget(Cmd_Cancel);

    auto *top = new QVBoxLayout(this);
    top->addWidget(Label1);
    top->addLayout(pathRow);
    top->addWidget(Check2);
    top->addWidget(Line1);
    top->addLayout(autoRow);
    top->addSpacing(6);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetMinimumSize);

    pickFile = [this](const QString &initial) {
        return QFileDialog::getSaveFileName(this, ResultExportForm::kCaption, initial, QStringLiteral("Text (*.txt)"));
    };

    connect(Cmd_Sansyo, &QPushButton::clicked, this, &QUAV_Search_Save::Cmd_Sansyo_Click);
    connect(Check1, &QCheckBox::clicked, this, &QUAV_Search_Save::Check1_Click);
    connect(Cmd_Settei, &QPushButton::clicked, this, &QUAV_Search_Save::Cmd_Settei_Click);
    connect(Cmd_Out, &QPushButton::clicked, this, &QUAV_Search_Save::Cmd_Out_Click);
    connect(Cmd_Cancel, &QPushButton::clicked, this, &QUAV_Search_Save::CMD_CANCEL_Click);

    Form_Load();
}

void QUAV_Search_Save::Form_Load()
{
    Check1->setChecked(m_wb.settings.FILE_OUT == 1);
    Cmd_Settei->setEnabled(false);
    Text_Path->setText(m_wb.settings.FILE_OUT_NAME);
}

void QUAV_Search_Save::Cmd_Sansyo_Click()
{
    Cmd_Sansyo->setEnabled(false);
    const QString picked = pickFile ? pickFile(m_wb.settings.FILE_OUT_NAME) : QString();
    const QString shown = ResultExportForm::browseResult(picked, m_wb.settings.FILE_OUT_NAME);
    if (!shown.isEmpty())
        Text_Path->setText(shown);
    Cmd_Sansyo->setEnabled(true);
}

void QUAV_Search_Save::Check1_Click()
{
    Cmd_Settei->setEnabled(true);
}

void QUAV_Search_Save::Cmd_Settei_Click()
{
    Cmd_Settei->setEnabled(false);
    ResultExportForm::applyFileOut(m_wb, Check1->isChecked());
}

void QUAV_Search_Save::setButtonsEnabled(bool enabled)
{
    Cmd_Out->setEnabled(enabled);
    Cmd_Cancel->setEnabled(enabled);
    Cmd_Sansyo->setEnabled(enabled);
}

void QUAV_Search_Save::Cmd_Out_Click()
{
    setButtonsEnabled(false);
    const ResultExportForm::Result r = ResultExportForm::Output(m_wb, Text_Path->text(), Check2->isChecked());
    if (r.outcome == ResultExportForm::Outcome::WriteFailed)
        m_wb.messages->show(r.file.error, ResultExportForm::kCaption, MessagePort::Icon::Critical);
    if (r.closesDialog()) {
        finish();
        return;
    }
    // Refused or not written: the dialog stays for another path, the main
    // window stays disabled with it.
    setButtonsEnabled(true);
    Text_Path->setFocus();
}

void QUAV_Search_Save::CMD_CANCEL_Click()
{
    setButtonsEnabled(false);
    finish();
}
