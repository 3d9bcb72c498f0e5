#pragma once

#include "template/TemplateDuplication.h"

#include <QString>
#include <QStringList>

struct Workbench;
class ProgressPort;
class ParameterImages;

// The three template commands as the main window runs them: each dialog hands
// its choices here, and the work area, flags, views and command states
// change as one run of the command.
class TemplateCommands
{
public:
    // The replace routine of the editing commands, for duplication.
    static ReplaceInLineFunction lineReplacer();

    // Template read of the chosen files, by their paths as on disk (the
    // dialog's own progress bar, or none; `stop`, when set between two
    // files, ends the reading there). false when a check refused the read or
    // the user declined to discard the results (nothing changed then). A
    // discard leaves the state CLEAR leaves before anything is read.
    static bool Hinagata_Read(Workbench &wb, const QList<QByteArray> &nativePaths, bool discardTicked,
                              ProgressPort *progress = nullptr, const bool *stop = nullptr);

    // The parameter dialog's commit: the images become the parameters, and
    // Param_Count and the duplication command follow them. false, with
    // nothing changed, when the commit was refused.
    static bool commitParameters(Workbench &wb, const ParameterImages &images);

    // Duplication of the chosen sources for every committed parameter, the
    // main window's pointer busy meanwhile; the views are brought up to date
    // afterwards, the detail view too when it is the one showing.
    static TemplateDuplication::Summary Hinagata_Fukusei(Workbench &wb, const QStringList &sources,
                                                        const QString &searchText, int pattern,
                                                        ProgressPort *progress = nullptr, const bool *stop = nullptr);

    // The files of the work area, in file-list order (the duplication
    // dialog's source list).
    static QStringList sourceFiles(const Workbench &wb);
};
