#pragma once

#include <QString>

// Text that a user types into the work area (a replacement, an edited or
// inserted line) ends up in a Shift-JIS file when saved. A character without
// a code page 932 form would be written as "?", so such text is refused where
// it is typed, with the characters named.
class UnsavableText
{
public:
    // Empty when text can be saved; otherwise the refusal message, beginning
    // with what (the field's name, "置替文字") and naming the characters
    // without a code page 932 form, each once, in order of appearance (the
    // search dialog refuses the same characters in a search string).
    static QString Refusal(const QString &what, const QString &text);
};
