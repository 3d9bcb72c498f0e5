#pragma once

#include <QString>
#include <QStringView>

// A line of a text file never holds a line break: the reader ends a line at
// CR LF, LF or a lone CR. Text typed or pasted into a box that stands for one
// line (a search word, a replacement, an edited line, a parameter) is refused
// when it holds one, or a save would split the line in two.
class LineBreak
{
public:
    static bool isIn(QStringView text)
    {
        return text.contains(u'\n') || text.contains(u'\r');
    }

    // Empty when text holds no line break; otherwise the refusal message,
    // beginning with what (the box's name, "置替文字").
    static QString Refusal(const QString &what, QStringView text)
    {
        return isIn(text) ? what + QStringLiteral("に改行は使えません。") : QString();
    }
};
