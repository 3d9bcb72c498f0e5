#pragma once

// The control types the dialogs use, so that a test can work them.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QObject>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

// A dialog's control by its object name, which is the name of the member that
// holds it. A control that is missing or of another type ends the run with
// its name rather than a crash further on.
template<typename T>
T *control(const QObject *dialog, const char *name)
{
    T *found = dialog ? dialog->findChild<T *>(QLatin1String(name)) : nullptr;
    if (!found)
        qFatal("the dialog has no control %s of the type asked for", name);
    return found;
}
