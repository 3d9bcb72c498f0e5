#pragma once

#include <QByteArray>
#include <QList>

struct Workbench;
class ProgressPort;

// The template-read dialog's run: the chosen files join the work area, and
// the flags, views and command states change as one run of the command.
class TemplateReadForm
{
public:
    // Template read of the chosen files, by their paths as on disk (the
    // dialog's own progress bar, or none; `stop`, when set between two
    // files, ends the reading there). false when a check refused the read or
    // the user declined to discard the results (nothing changed then). A
    // discard leaves the state CLEAR leaves before anything is read.
    static bool Hinagata_Read(Workbench &wb, const QList<QByteArray> &nativePaths, bool discardTicked,
                              ProgressPort *progress = nullptr, const bool *stop = nullptr);
};
