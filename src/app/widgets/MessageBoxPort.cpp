#include "app/widgets/MessageBoxPort.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QWidget *ownerWindow()
{
    QWidget *w = QApplication::activeWindow();
    return (w && w->isEnabled()) ? w : nullptr;
}

QString displayText(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

} // namespace

MessagePort::Answer MessageBoxPort::show(const QString &text, const QString &caption, Icon icon, Buttons buttons)
{
    QMessageBox box(ownerWindow());
    box.setWindowTitle(caption);
    box.setText(displayText(text));
    switch (icon) {
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::None: break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Buttons::YesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    }
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: break;
    }
    // Closing a Yes/No box by its close button is not a Yes.
    return (buttons == Buttons::YesNo || buttons == Buttons::YesNoDefaultNo) ? Answer::No : (buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel);
}

std::optional<QString> MessageBoxPort::input(const QString &prompt, const QString &caption, const QString &initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(ownerWindow(), caption, displayText(prompt), QLineEdit::Normal,
                                               initial, &ok, Qt::WindowStaysOnTopHint);
    if (!ok)
        return std::nullopt;
    return text;
}
