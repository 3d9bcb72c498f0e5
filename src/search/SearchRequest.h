#pragma once

#include "platform/TextEncoding.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

// Everything a search needs to know of what to look for and where, decided
// before it starts: the search dialog's start makes one from the dialog's
// choices and the settings, the command line from its options over the
// stored settings. The walk and the run read nothing else to learn what to
// search, so a command line never has to change the settings to steer one.
struct SearchRequest
{
    QString word; // prepared (SearchWord::Prepare)
    bool ignoreCase = true;
    QString root;          // the folder searched, as shown
    QByteArray nativeRoot; // its bytes on disk when they are not its UTF-8 form; else empty
    // The identifiers whose files are read, upper case; the empty identifier
    // never matches.
    QStringList identifiers;
    bool subDirs = false;
    bool timestamps = false; // file headers show the modification time and size
    bool resultFile = false; // the result file is written after the run
    QString resultFileName;
    EncodingChoice encoding = EncodingChoice::Detect;

    // The non-empty identifiers of a stored list, in order.
    template<size_t N>
    static QStringList listed(const std::array<QString, N> &stored)
    {
        QStringList out;
        for (const QString &s : stored)
            if (!s.isEmpty())
                out.append(s);
        return out;
    }
};
