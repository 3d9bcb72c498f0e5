#pragma once

#include <QString>

// What became of writing one file: the routine that writes reports it, and
// the caller that serves the user decides how to tell them.
struct WriteResult
{
    QString path;         // the file written, or the one that could not be
    bool written = false;
    QString reason;       // why not, in Japanese; empty when written
};
