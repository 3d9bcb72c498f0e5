#pragma once

#include "platform/WriteResult.h"

#include <QDateTime>
#include <QStringList>

class WorkArea;

// The work-area dump for developers: the five lists that make up a result, in
// one text file (code page 932, CR LF), for inspection. It only reads the
// work area.
class WorkAreaDump
{
public:
    static const QString kCaption; // caption of the failure message

    // "ListData_Output_" + MMDD + HHMMSS + ".txt", from the local time.
    static QString File_Name(const QDateTime &now);
    // The five sections: title lines, items, and a separator of 54 hyphens
    // before each section after the first. Numbers are plain decimal; the
    // parts of a line are separated by one space.
    static QStringList dumpLines(const WorkArea &work);
    // The system's temporary folder: $TMPDIR, else /tmp. A TMPDIR naming a
    // folder that is missing is kept, so that the failure names it.
    static QString dumpFolder();
    // Writes the dump into folder (the system's temporary folder in the
    // program) as a file only its owner can read, replacing a file of the
    // same name whole; a link of that name is replaced, not followed.
    static WriteResult writeDump(const WorkArea &work, const QString &folder, const QDateTime &now);
};
