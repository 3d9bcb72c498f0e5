#pragma once

#include "search/BatchOption.h"

#include <QList>
#include <QString>
#include <QStringList>

// What one command of quav says about itself; its help text (--help), its
// manual page (roff) and its part of the shell completion are made from this
// and from the options the command takes (BatchOption::all()).
struct BatchCommandText
{
    BatchCommand command;
    QString page;      // the manual page's name: "quav-search"
    QString summary;   // one line, for the page's NAME
    QStringList usage; // each way to call it, from the program's name on
    QString body;      // before the options, lines ending in "\n"
    QString notes;     // after the options, lines ending in "\n"
    bool wordsAreFiles = false; // the words after the options name files

    QString helpText() const;
    // The page, in UTF-8 roff; `seeAlso`: the other pages.
    QString manPage(const QString &version, const QStringList &seeAlso) const;
    // A bash completion of the program `program` and its commands, the
    // first of `commands` being the program itself.
    static QString bashCompletion(const QString &program, const QList<BatchCommandText> &commands);
};
