#pragma once

#include <QString>

// The access key of a menu caption: the character after its single "&"
// ("&&" is a literal ampersand). Captions may mark a full-width letter
// ("編集(&Ｅ)"); the keyboard sends its ASCII form, so full-width ASCII
// forms are folded to it. Letters come back in upper case; 0 when the
// caption has no access key.
class AccessKey
{
public:
    static QChar Of(const QString &caption);
    // Whether the key is one that the toolkit would not find by itself in
    // the caption (it compares the marked character as it stands).
    static bool needsFolding(const QString &caption);
};
