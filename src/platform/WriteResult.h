#pragma once

#include <QString>

// What became of writing one file: the file meant, and on failure a Japanese
// text that names it and gives the reason. Routines that write a file return
// one; only the widget layer shows the failure to the user.
struct WriteResult
{
    QString path;
    QString error; // empty when the file was written whole

    bool ok() const { return error.isEmpty(); }
};
