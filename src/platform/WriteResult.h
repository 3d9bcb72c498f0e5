#pragma once

#include <QString>

// What became of writing one file: the routine that writes reports it, and
// the caller that serves the user decides how to tell them. Only the widget
// layer shows a failure.
struct WriteResult
{
    QString path;         // the file written, or the one that could not be
    bool written = false;
    QString reason;       // why not, in Japanese; empty when written
    // The whole text for the user, naming the file and the reason, where the
    // writer composes one; empty when written.
    QString error;

    bool ok() const { return written; }
};
