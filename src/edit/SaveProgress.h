#pragma once

#include <QElapsedTimer>
#include <QString>

struct Workbench;

// The window's side of a long save: the busy state with STOP as the one
// command left, the count of files in the status bar and the progress bar,
// the event loop served between files, and STOP's request to end.
// The state before it is put back by end() (or at destruction).
class SaveProgress
{
public:
    SaveProgress(Workbench &wb, int total);
    ~SaveProgress();
    SaveProgress(const SaveProgress &) = delete;
    SaveProgress &operator=(const SaveProgress &) = delete;

    // Before the next file (named as the work area shows it): false when
    // STOP was pressed, and the save must end here.
    bool next(const QString &file);
    // While the file waits for another save to end: says so in the status
    // bar and serves the window; false when STOP was pressed.
    bool waiting(const QString &file);
    void end();

private:
    Workbench &m_wb;
    int m_total;
    int m_done = 0;
    bool m_busy = false;
    bool m_ended = false;
    QString m_searchPanel, m_pathPanel;
    QString m_waitingFor; // the file the status bar names as waiting
    QElapsedTimer m_shown;
};
