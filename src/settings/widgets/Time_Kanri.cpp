#include "settings/widgets/Time_Kanri.h"

#include "base/Workbench.h"
#include "settings/BreakReminder.h"
#include "settings/BreakReminderForm.h"
#include "settings/widgets/CoffeeBreakPanel.h"

#include <QDateTime>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

void clearWithoutAction(QRadioButton *b)
{
    // An exclusive button cannot be switched off by itself; setChecked fires
    // no click, so the option's action does not run.
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(true);
}

} // namespace

Time_Kanri::Time_Kanri(Workbench &wb, QTimer *timer1)
    : QuavDialog(wb)
    , now([] { return QDateTime::currentMSecsSinceEpoch(); })
    , m_timer1(timer1)
{
    setWindowTitle(QStringLiteral("ＱＵＡＶ　時間管理"));

    Frame2 = new QGroupBox(QStringLiteral("ＶＤＴ作業フォロー"), this);
    Opt_VDT_No = new QRadioButton(QStringLiteral("しない"), Frame2);
    Opt_VDT_Yes = new QRadioButton(QStringLiteral("する"), Frame2);
    LBL_Interval1 = new QLabel(QStringLiteral("メッセージ     インターバル＝"), Frame2);
    Txt_Interval_Time = new QLineEdit(Frame2);
    Txt_Interval_Time->setMaxLength(10);
    Txt_Interval_Time->setAlignment(Qt::AlignRight);
    Txt_Interval_Time->setFixedWidth(Txt_Interval_Time->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    // Minutes are ASCII digits: an input method should offer those first.
    Txt_Interval_Time->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhPreferLatin);
    LBL_Interval1->setBuddy(Txt_Interval_Time);
    LBL_Interval2 = new QLabel(QStringLiteral("分"), Frame2);
    auto *vdtOptions = new QHBoxLayout;
    vdtOptions->addWidget(Opt_VDT_No);
    vdtOptions->addWidget(Opt_VDT_Yes);
    vdtOptions->addStretch();
    auto *intervalRow = new QHBoxLayout;
    intervalRow->addWidget(LBL_Interval1);
    intervalRow->addWidget(Txt_Interval_Time);
    intervalRow->addWidget(LBL_Interval2);
    intervalRow->addStretch();
    auto *vdtLayout = new QVBoxLayout(Frame2);
    vdtLayout->addLayout(vdtOptions);
    vdtLayout->addLayout(intervalRow);
    keepRoomWhenHidden({LBL_Interval1, Txt_Interval_Time, LBL_Interval2});

    Frame1 = new QGroupBox(QStringLiteral("サーチリストへのファイル・タイムスタンプ出力"), this);
    Opt_Serch_No = new QRadioButton(QStringLiteral("しない"), Frame1);
    Opt_Serch_Yes = new QRadioButton(QStringLiteral("する"), Frame1);
    auto *stampLayout = new QHBoxLayout(Frame1);
    stampLayout->addWidget(Opt_Serch_No);
    stampLayout->addWidget(Opt_Serch_Yes);
    stampLayout->addStretch();

    Image1 = new CoffeeBreakPanel(this);

    CMD_JIKOU = new QPushButton(QStringLiteral("設定"), this);
    CMD_CANCEL = new QPushButton(QStringLiteral("キャンセル"), this);
    CMD_CANCEL->setAutoDefault(false);
    CMD_OK = new QPushButton(QStringLiteral("ＯＫ"), this);
    nameControls({{Frame2, "Frame2"}, {Opt_VDT_No, "Opt_VDT_No"}, {Opt_VDT_Yes, "Opt_VDT_Yes"},
                  {LBL_Interval1, "LBL_Interval1"}, {Txt_Interval_Time, "Txt_Interval_Time"},
                  {LBL_Interval2, "LBL_Interval2"}, {Frame1, "Frame1"}, {Opt_Serch_No, "Opt_Serch_No"},
                  {Opt_Serch_Yes, "Opt_Serch_Yes"}, {CMD_JIKOU, "CMD_JIKOU"}, {CMD_CANCEL, "CMD_CANCEL"},
                  {CMD_OK, "CMD_OK"}, {Image1, "Image1"}});
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CMD_JIKOU);
    buttons->addWidget(CMD_CANCEL);
    buttons->addWidget(CMD_OK);
    buttons->addStretch();

    auto *top = new QVBoxLayout(this);
    top->addWidget(Frame2);
    top->addWidget(Frame1);
    top->addWidget(Image1);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(Opt_VDT_Yes, &QRadioButton::clicked, this, &Time_Kanri::Opt_VDT_Yes_Click);
    connect(Opt_VDT_No, &QRadioButton::clicked, this, &Time_Kanri::Opt_VDT_No_Click);
    connect(Opt_Serch_Yes, &QRadioButton::clicked, this, &Time_Kanri::Opt_Serch_Yes_Click);
    connect(Opt_Serch_No, &QRadioButton::clicked, this, &Time_Kanri::Opt_Serch_No_Click);
    connect(CMD_JIKOU, &QPushButton::clicked, this, &Time_Kanri::CMD_JIKOU_Click);
    connect(CMD_CANCEL, &QPushButton::clicked, this, &Time_Kanri::CMD_CANCEL_Click);
    connect(CMD_OK, &QPushButton::clicked, this, &Time_Kanri::CMD_OK_Click);

    Form_Load();
    setView(false);
}

void Time_Kanri::Form_Load()
{
    const Settings &s = m_wb.settings;
    (s.FILE_NAME_DISP == 1 ? Opt_Serch_Yes : Opt_Serch_No)->setChecked(true);
    if (s.VDT_FOLLOW == 1) {
        Opt_VDT_Yes->setChecked(true);
        showInterval(true);
        Txt_Interval_Time->setText(BreakReminderForm::intervalText(s));
    } else {
        Opt_VDT_No->setChecked(true);
        showInterval(false);
    }
}

void Time_Kanri::showInterval(bool shown)
{
    LBL_Interval1->setVisible(shown);
    Txt_Interval_Time->setVisible(shown);
    LBL_Interval2->setVisible(shown);
}

void Time_Kanri::setView(bool reminder)
{
    Frame2->setVisible(!reminder);
    Frame1->setVisible(!reminder);
    CMD_JIKOU->setVisible(!reminder);
    CMD_CANCEL->setVisible(!reminder);
    CMD_OK->setVisible(reminder);
    Image1->setVisible(reminder);
    CMD_JIKOU->setDefault(!reminder);
    CMD_OK->setDefault(reminder);
    CMD_JIKOU->setEnabled(true);
    CMD_CANCEL->setEnabled(true);
}

bool Time_Kanri::isReminderView() const
{
    return Image1->isVisibleTo(this);
}

void Time_Kanri::showSettingsView(QWidget *opener)
{
    // Coming from the reminder view, whose options were cleared, the
    // settings are shown afresh; an open settings view keeps what the user
    // has changed.
    if (isReminderView()) {
        Form_Load();
        setView(false);
    }
    if (opener || !isVisible())
        openFrom(opener ? opener : QuavDialog::opener());
    else
        activateWindow();
}

void Time_Kanri::showReminderView()
{
    clearWithoutAction(Opt_VDT_Yes);
    clearWithoutAction(Opt_VDT_No);
    showInterval(false);
    setView(true);
    if (!isVisible()) {
        openFrom(QuavDialog::opener());
    } else {
        adjustSize();
        raise();
        activateWindow();
    }
    CMD_OK->setFocus();
}

void Time_Kanri::Opt_VDT_Yes_Click()
{
    showInterval(true);
    m_wb.settings.VDT_FOLLOW = 1;
}

void Time_Kanri::Opt_VDT_No_Click()
{
    showInterval(false);
    m_wb.settings.VDT_FOLLOW = 0;
}

void Time_Kanri::Opt_Serch_Yes_Click()
{
    m_wb.settings.FILE_NAME_DISP = 1;
}

void Time_Kanri::Opt_Serch_No_Click()
{
    m_wb.settings.FILE_NAME_DISP = 0;
}

void Time_Kanri::CMD_JIKOU_Click()
{
    CMD_JIKOU->setEnabled(false);
    CMD_CANCEL->setEnabled(false);
    const bool on = Opt_VDT_Yes->isChecked();
    const BreakReminderForm::Commit c = BreakReminderForm::CMD_JIKOU(m_wb, on, Txt_Interval_Time->text(), now());
    if (on)
        Txt_Interval_Time->setText(c.text);
    if (!c.accepted) {
        CMD_JIKOU->setEnabled(true);
        CMD_CANCEL->setEnabled(true);
        Txt_Interval_Time->setFocus();
        Txt_Interval_Time->selectAll();
        return;
    }
    if (m_timer1) {
        if (c.reminderRuns)
            m_timer1->start(); // ticks from now on, in step with the due time
        else
            m_timer1->stop();
    }
    finish();
}

void Time_Kanri::CMD_OK_Click()
{
    BreakReminder::CMD_OK(m_wb.settings, m_wb.VDT_Next_Time, now());
    // Ticks in step with the new due time, so it is not missed by a tick
    // that comes just before it.
    if (m_timer1 && m_timer1->isActive())
        m_timer1->start();
    finish();
}

void Time_Kanri::CMD_CANCEL_Click()
{
    CMD_JIKOU->setEnabled(false);
    CMD_CANCEL->setEnabled(false);
    finish();
}

void Time_Kanri::reject()
{
    // Escape and the close box cancel the settings view; the reminder view
    // closes unacknowledged and comes back at the next tick.
    if (isReminderView())
        close();
    else
        CMD_CANCEL_Click();
}
