#include "base/widgets/QuavDialog.h"

#include "base/ScreenFit.h"
#include "base/Workbench.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

QuavDialog::QuavDialog(Workbench &wb, bool stayOnTop)
    : QDialog(nullptr)
    , m_wb(wb)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (stayOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
}

QPoint QuavDialog::centredPosition(const QRect &mainTwips, const QSize &size)
{
    const int k = Workbench::kTwipsPerPixel;
    const int left = mainTwips.x() / k + (mainTwips.width() / k - size.width()) / 2;
    const int top = mainTwips.y() / k + (mainTwips.height() / k - size.height()) / 2;
    return {left, top};
}

QFont QuavDialog::listFont()
{
    QFont font(QStringLiteral("IPAGothic"));
    font.setPointSize(10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

void QuavDialog::fitPathList(QListWidget *list)
{
    int widest = 0;
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem *row = list->item(i);
        row->setToolTip(row->text());
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(row->text()));
    }
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() * 9 / 10 : 1200;
    const int wanted = widest + 2 * list->frameWidth() + list->verticalScrollBar()->sizeHint().width() + 8;
    list->setMinimumWidth(std::clamp(wanted, list->minimumWidth(), std::max(list->minimumWidth(), room - 40)));
}

void QuavDialog::keepRoomWhenHidden(std::initializer_list<QWidget *> widgets)
{
    for (QWidget *w : widgets) {
        QSizePolicy p = w->sizePolicy();
        p.setRetainSizeWhenHidden(true);
        w->setSizePolicy(p);
    }
}

bool QuavDialog::openFrom(QWidget *opener)
{
    // Rows as tall as the font leave an underscore on the row's last pixel,
    // where a selected row's edge hides it: every list gets a little room
    // below its text.
    for (QListWidget *list : findChildren<QListWidget *>())
        list->setStyleSheet(QStringLiteral("QListWidget::item { padding-bottom: 2px; }"));
    m_opener = opener;
    if (opener)
        opener->setEnabled(false);
    if (!load()) {
        m_finished = true;
        if (m_opener)
            m_opener->setEnabled(true);
        deleteLater();
        return false;
    }
    adjustSize();
    // The remembered rectangle may lie elsewhere than the main window now
    // (moved to another monitor, resized): the dialog must not land off the
    // screens.
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    QRect mainNow;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow *>(w) && w->isVisible())
            mainNow = w->frameGeometry();
    const QRect mainTwips(m_wb.mainLeft, m_wb.mainTop, m_wb.mainWidth, m_wb.mainHeight);
    const QRect wanted(centredPosition(mainTwips, size()), size());
    move(mainNow.isValid() ? ScreenFit::dialogPosition(wanted, mainNow, screens)
                           : ScreenFit::fitWindow(wanted, screens).topLeft());
    show();
    raise();
    activateWindow();
    return true;
}

void QuavDialog::finish(QWidget *enableInstead)
{
    if (m_finished)
        return;
    m_finished = true;
    QWidget *target = enableInstead ? enableInstead : m_opener.data();
    if (target) {
        target->setEnabled(true);
        target->activateWindow();
    }
    close();
}

void QuavDialog::closeEvent(QCloseEvent *event)
{
    // Disabled, this dialog has a child dialog open that will enable it
    // again: closing it now would enable its opener under the child. The
    // close box and Escape are ignored; finish() still closes it. So they
    // are while a run goes on.
    if (!m_finished && (!isEnabled() || m_running)) {
        event->ignore();
        return;
    }
    if (!m_finished) {
        m_finished = true;
        if (m_opener)
            m_opener->setEnabled(true);
    }
    event->accept();
}

void QuavDialog::reject()
{
    close();
}

void QuavDialog::nameControls(std::initializer_list<std::pair<QWidget *, const char *>> controls)
{
    for (const auto &[control, name] : controls)
        control->setObjectName(QLatin1String(name));
}
