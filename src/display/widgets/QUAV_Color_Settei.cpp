#include "display/widgets/QUAV_Color_Settei.h"

#include "base/Workbench.h"
#include "display/DisplayColorsForm.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QColor toQColor(qint32 c)
{
    return QColor(DisplayColorsForm::Red(c), DisplayColorsForm::Green(c), DisplayColorsForm::Blue(c));
}

} // namespace

QUAV_Color_Settei::QUAV_Color_Settei(Workbench &wb)
    : QuavDialog(wb)
{
    setWindowTitle(QStringLiteral("ＱＵＡＶ　表示色設定"));

    Frame1 = new QGroupBox(QStringLiteral("表示色設定"), this);
    QUAV_Color_Enabled_Yes = new QRadioButton(QStringLiteral("有効"), Frame1);
    QUAV_Color_Enabled_No = new QRadioButton(QStringLiteral("無効"), Frame1);
    auto *switchRow = new QHBoxLayout(Frame1);
    switchRow->addWidget(QUAV_Color_Enabled_Yes);
    switchRow->addWidget(QUAV_Color_Enabled_No);
    switchRow->addStretch();

    Label2 = new QLabel(QStringLiteral("色の設定対象"), this);
    QUAV_Color_Base = new QComboBox(this);
    QUAV_Color_Base->addItems({QStringLiteral("検索文字列"), QStringLiteral("ﾌｧｲﾙ名・ﾀｲﾑｽﾀﾝﾌﾟ"), QStringLiteral("行番号")});
    Label2->setBuddy(QUAV_Color_Base);
    Cmd_Color_Settei = new QPushButton(QStringLiteral("設定"), this);
    Cmd_Color_Settei->setAutoDefault(false);
    Label1 = new QLabel(QStringLiteral("表示色サンプル"), this);
    Text1 = new QLineEdit(this);
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::NoFocus);
    Label1->setBuddy(Text1);
    keepRoomWhenHidden({Label2, QUAV_Color_Base, Cmd_Color_Settei, Label1, Text1});

    Cmd_Settei = new QPushButton(QStringLiteral("設定完了"), this);
    Cmd_Settei->setDefault(true);
    Cmd_Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    nameControls({{Frame1, "Frame1"}, {QUAV_Color_Enabled_Yes, "QUAV_Color_Enabled_Yes"},
                  {QUAV_Color_Enabled_No, "QUAV_Color_Enabled_No"}, {Label2, "Label2"},
                  {QUAV_Color_Base, "QUAV_Color_Base"}, {Label1, "Label1"}, {Text1, "Text1"},
                  {Cmd_Color_Settei, "Cmd_Color_Settei"}, {Cmd_Settei, "Cmd_Settei"},
                  {Cmd_Cancel, "Cmd_Cancel"}});
    Cmd_Cancel->setAutoDefault(false);

    auto *grid = new QGridLayout;
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(QUAV_Color_Base, 0, 1);
    grid->addWidget(Cmd_Color_Settei, 0, 2);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(Text1, 1, 1);
    grid->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Cmd_Settei);
    buttons->addWidget(Cmd_Cancel);

    auto *top = new QVBoxLayout(this);
    top->addWidget(Frame1);
    top->addLayout(grid);
    top->addSpacing(8);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

    pickColor = [this](qint32 start) {
        const QColor c = QColorDialog::getColor(toQColor(start), this);
        return c.isValid() ? DisplayColorsForm::fromRgb(c.red(), c.green(), c.blue()) : start;
    };

    connect(QUAV_Color_Enabled_Yes, &QRadioButton::clicked, this, &QUAV_Color_Settei::QUAV_Color_Enabled_Yes_Click);
    connect(QUAV_Color_Enabled_No, &QRadioButton::clicked, this, &QUAV_Color_Settei::QUAV_Color_Enabled_No_Click);
    connect(QUAV_Color_Base, &QComboBox::activated, this, &QUAV_Color_Settei::QUAV_Color_Base_Click);
    connect(Cmd_Color_Settei, &QPushButton::clicked, this, &QUAV_Color_Settei::CMD_COLOR_SETTEI_Click);
    connect(Cmd_Settei, &QPushButton::clicked, this, &QUAV_Color_Settei::Cmd_Settei_Click);
    connect(Cmd_Cancel, &QPushButton::clicked, this, &QUAV_Color_Settei::CMD_CANCEL_Click);

    Form_Load();
}

void QUAV_Color_Settei::Form_Load()
{
    const bool on = m_wb.settings.Color_Set_Flg == 1;
    (on ? QUAV_Color_Enabled_Yes : QUAV_Color_Enabled_No)->setChecked(true);
    showTargets(on);
    QUAV_Color_Base->setCurrentIndex(-1);
    paintSample(-1);
}

void QUAV_Color_Settei::showTargets(bool shown)
{
    for (QWidget *w : {static_cast<QWidget *>(Label2), static_cast<QWidget *>(QUAV_Color_Base),
                       static_cast<QWidget *>(Cmd_Color_Settei), static_cast<QWidget *>(Label1),
                       static_cast<QWidget *>(Text1)})
        w->setVisible(shown);
}

void QUAV_Color_Settei::paintSample(qint32 color)
{
    // No target chosen yet: the sample shows the plain field.
    if (color < 0) {
        Text1->setStyleSheet(QString());
        return;
    }
    Text1->setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; }").arg(toQColor(color).name()));
}

void QUAV_Color_Settei::QUAV_Color_Enabled_Yes_Click()
{
    showTargets(true);
}

void QUAV_Color_Settei::QUAV_Color_Enabled_No_Click()
{
    showTargets(false);
}

void QUAV_Color_Settei::QUAV_Color_Base_Click()
{
    if (const qint32 *color = DisplayColorsForm::targetColor(m_wb.settings, QUAV_Color_Base->currentIndex())) {
        m_pickerColor = *color;
        paintSample(*color);
    }
}

void QUAV_Color_Settei::CMD_COLOR_SETTEI_Click()
{
    const int target = QUAV_Color_Base->currentIndex();
    if (!DisplayColorsForm::checkTarget(m_wb.settings, *m_wb.messages, target))
        return;
    const qint32 before = m_pickerColor;
    m_pickerColor = pickColor ? pickColor(before) : before;
    if (DisplayColorsForm::storePicked(m_wb.settings, target, before, m_pickerColor))
        paintSample(m_pickerColor);
}

void QUAV_Color_Settei::Cmd_Settei_Click()
{
    Cmd_Settei->setEnabled(false);
    Cmd_Cancel->setEnabled(false);
    DisplayColorsForm::Apply(m_wb, QUAV_Color_Enabled_Yes->isChecked());
    finish();
}

void QUAV_Color_Settei::CMD_CANCEL_Click()
{
    finish();
}
