#pragma once

#include "template/TemplateDuplication.h"

#include <QString>
#include <QStringList>

struct Workbench;
class ProgressPort;
class WorkArea;

// The template-duplication dialog's run: the made files join the work area,
// and the flags, views and command states change as one run of the command.
class TemplateDuplicationForm
{
public:
    // Duplication of the chosen sources for every committed parameter, the
    // main window's pointer busy meanwhile; the views are brought up to date
    // afterwards, the detail view too when it is the one showing.
    static TemplateDuplication::Summary Hinagata_Fukusei(Workbench &wb, const QStringList &sources,
                                                        const QString &searchText, int pattern,
                                                        ProgressPort *progress = nullptr, const bool *stop = nullptr);

    // The files of the work area, in file-list order (the dialog's source
    // list).
    static QStringList sourceFiles(const WorkArea &work);
};
