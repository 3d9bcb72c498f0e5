#pragma once

#include "search/BatchCommandLine.h"
#include "search/HitStream.h"

#include <QList>
#include <QString>

#include <optional>

// The programs and commands a command-line option can belong to; an option
// lists every one it serves, as bits.
enum class BatchCommand : unsigned {
    Window = 1,
    Search = 2,
    Replace = 4,
    Duplicate = 8,
    Undo = 16,
};

// Every value a command line of quav can set. Each command reads the members
// of the options it takes; the others keep their defaults.
struct BatchChoices
{
    BatchSearchOptions search; // --dir, --ext, --case, --subdirs, --encoding
    bool help = false;
    // quav search
    std::optional<bool> timestamps;
    QString out;
    QString rtf;
    std::optional<HitStream::What> stream; // -l, -n
    // quav replace
    std::optional<QString> with;
    // quav duplicate
    QByteArray params; // bytes as given
    QString searchText;
    std::optional<int> pattern; // 1, 2 or 3; none: the first
    bool force = false;
    // quav replace, duplicate and undo
    bool dryRun = false;
    bool noUndo = false;
    // quav undo
    bool list = false;
    bool keep = false;
    // the window program
    bool dumpButton = false;
    bool version = false;
};

// One option of the command line, defined once for every command that takes
// it: the help, the manual pages and the shell completion are made from
// these, and the commands parse with them.
struct BatchOption
{
    // What the shell completes for the option's value.
    enum class Completes { Nothing, Folders, Files, Choices };

    QString name;       // "--dir"
    QString alias;      // "-h"; empty when none
    QString value;      // what the value is, as the help shows it; empty for a flag
    unsigned commands;  // BatchCommand bits
    QString help;       // lines joined by "\n"
    Completes completes = Completes::Nothing;
    QString choices;    // for Completes::Choices, separated by spaces
    // Takes the option `a` stands at (its value, when it has one) into the
    // choices; why it cannot serve, else empty.
    QString (*apply)(BatchArguments &a, BatchChoices &c) = nullptr;

    bool serves(BatchCommand command) const { return commands & unsigned(command); }
    bool isFlag() const { return value.isEmpty(); }
    // The options in the order the help lists them.
    static const QList<BatchOption> &all();
    // The option of `command` written `written` (a flag, or a name without
    // "=VALUE"); null when there is none.
    static const BatchOption *find(BatchCommand command, QStringView written);
    // Every option `a` meets, taken for `command`; the first reason one
    // cannot serve (an unknown option among them), else empty. The words
    // stay in `a`.
    static QString parse(BatchCommand command, BatchArguments &a, BatchChoices &c);
};
