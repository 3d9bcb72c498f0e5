#pragma once

#include <QList>
#include <QStringView>

// What two versions of a line have in common, character by character: a
// shortest edit script (Myers' O(ND) difference algorithm, in linear space
// by bisection) told as the runs of units that both share, in order.
class TextDiff
{
public:
    struct Run
    {
        int oldPos = 0; // in the old text
        int newPos = 0; // in the new text
        int length = 0;
    };

    // The work a line may cost, in steps of the search (a step is a diagonal
    // looked at or a character compared), about a quarter of a second. A
    // line of 32,000 characters changed in 500 places takes a few
    // milliseconds; what is left unaligned when the budget is spent counts
    // as changed.
    static constexpr qint64 kBudget = qint64(1) << 25;

    // The common runs of a and b, ascending in both, none empty.
    static QList<Run> commonRuns(QStringView a, QStringView b, qint64 budget = kBudget);
};
