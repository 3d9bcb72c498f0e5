#include "app/widgets/QuavDialog.h"

#include "app/Workbench.h"

#include <QCloseEvent>

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

QPoint QuavDialog::centredPosition(const Workbench &wb, const QSize &size)
{
    const int k = Workbench::kTwipsPerPixel;
    const int left = wb.Main_Left / k + (wb.Main_Width / k - size.width()) / 2;
    const int top = wb.Main_Top / k + (wb.Main_Height / k - size.height()) / 2;
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

void QuavDialog::openFrom(QWidget *opener)
{
    m_opener = opener;
    if (opener)
        opener->setEnabled(false);
    adjustSize();
    move(centredPosition(m_wb, size()));
    show();
    raise();
    activateWindow();
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
