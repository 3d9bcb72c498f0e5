#pragma once

#include "search/BatchCommandText.h"

#include <QList>
#include <QString>

#include <optional>

// The manual pages of quav and its commands and the bash completion, made
// from what each command says about itself and from the option table; the
// build writes them with the hidden "quav --man PAGE" and
// "quav --completion bash" and installs them.
class ManualPages
{
public:
    // The program first, then its commands.
    static QList<BatchCommandText> commands();
    // The page named `page` ("quav", "quav-search" ...) in roff; none when
    // there is no such page.
    static std::optional<QString> page(const QString &page);
    static QString bashCompletion();
    // Answers "--man PAGE" and "--completion bash" on standard output; none
    // when `args` (after the program's name) is neither, else the exit status.
    static std::optional<int> answer(const QStringList &args);
};
