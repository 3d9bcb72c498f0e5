#pragma once

#include "base/widgets/QuavDialog.h"

#include <QPointer>

#include <functional>

class CoffeeBreakPanel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

// "ＱＵＡＶ　時間管理": one dialog with two views. The settings view (TIME,
// M_CONFIG_DATE) sets the break reminder and the time-stamp option; the
// reminder view (the main window's Timer1) shows the break picture with
// "ＯＫ". There is one instance: a reminder that falls due while the settings
// view is open turns the same dialog into the reminder view.
class Time_Kanri : public QuavDialog
{
    Q_OBJECT
public:
    // timer1: the main window's timer, started or stopped by "設定".
    Time_Kanri(Workbench &wb, QTimer *timer1);

    // Milliseconds since the epoch; the system clock unless replaced.
    std::function<qint64()> now;

    // The settings view. opener: the window kept disabled while the dialog is
    // open (null from the toolbar button, which leaves the main window usable).
    void showSettingsView(QWidget *opener);
    // The reminder view; a window the settings view disabled stays so until
    // "ＯＫ".
    void showReminderView();
    bool isReminderView() const;

public Q_SLOTS:
    void Opt_VDT_Yes_Click();
    void Opt_VDT_No_Click();
    void Opt_Serch_Yes_Click();
    void Opt_Serch_No_Click();
    void CMD_JIKOU_Click();
    void CMD_OK_Click();
    void CMD_CANCEL_Click();

protected:
    void reject() override;

private:
    QGroupBox *Frame2 = nullptr;
    QRadioButton *Opt_VDT_No = nullptr;
    QRadioButton *Opt_VDT_Yes = nullptr;
    QLabel *LBL_Interval1 = nullptr;
    QLineEdit *Txt_Interval_Time = nullptr;
    QLabel *LBL_Interval2 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QRadioButton *Opt_Serch_No = nullptr;
    QRadioButton *Opt_Serch_Yes = nullptr;
    QPushButton *CMD_JIKOU = nullptr;
    QPushButton *CMD_CANCEL = nullptr;
    QPushButton *CMD_OK = nullptr;
    CoffeeBreakPanel *Image1 = nullptr;

    void Form_Load();
    void showInterval(bool shown);
    void setView(bool reminder);

    QPointer<QTimer> m_timer1;
};
