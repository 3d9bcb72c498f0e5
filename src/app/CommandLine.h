#pragma once

#include "search/BatchCommandText.h"

#include <QString>
#include <QStringList>

// The options of the window program ("quav" without "search"). "--help" and
// "--version" print and end the program before any window or display is
// touched; "--dump" shows the work-area dump button for developers.
class CommandLine
{
public:
    struct Options
    {
        bool help = false;
        bool version = false;
        bool dumpButton = false;
        QString error; // an argument the program does not know
    };

    // args: the arguments after the program's name, with the toolkit's own
    // options (-platform, -style ...) already taken out where they can be.
    // --help and --version count even beside an unknown argument.
    static Options Parse(const QStringList &args);

    // What the window program says about itself (help, manual page).
    static BatchCommandText text();
    static QString helpText();
    static QString versionText();

    // argv after the program's name, in the locale's encoding.
    static QStringList Arguments(int argc, char **argv);
    // Prints the help or the version to standard output when `options` asks
    // for one; true when it did, and the program then ends.
    static bool answerEarly(const Options &options);
};
