#pragma once

#include <QStringList>

// The committed parameter list of template duplication, for the whole run of
// the program (never persisted). Changed only by a commit of the parameter
// dialog: at most kMax values, none empty, in the image list's sorted order,
// no value exactly equal to the one before it, each usable in a file name.
struct DuplicationParameters
{
    static constexpr int kMax = 100;

    QStringList values; // entries 1 to Param_Count, in order

    qint16 Param_Count() const { return qint16(values.size()); }
};
