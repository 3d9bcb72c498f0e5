#include "app/widgets/QtClipboardPort.h"

#include <QClipboard>
#include <QGuiApplication>

void QtClipboardPort::setText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

QString QtClipboardPort::text() const
{
    return QGuiApplication::clipboard()->text();
}
