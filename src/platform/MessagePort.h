#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The one road from the core to the user for messages and questions. The
// widget layer shows a message box; tests answer from a queue.
class MessagePort
{
public:
    enum class Icon { None, Information, Exclamation, Question, Critical };
    // YesNoDefaultNo: a question where Enter, Escape and closing mean No
    // (overwriting what someone else wrote).
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~MessagePort() = default;

    // Several-line texts join their lines with "\r\n"; the port shows them as
    // line breaks.
    virtual Answer show(const QString &text, const QString &caption, Icon icon,
                        Buttons buttons = Buttons::Ok) = 0;

    // An input box; no value when the user cancels.
    virtual std::optional<QString> input(const QString &prompt, const QString &caption,
                                         const QString &initial = QString()) = 0;
};

// The port of a workbench with no user to ask (a test, a run without a
// window): every question is answered the cautious way, No or Cancel, nothing
// is typed, and each message is kept so that it is not lost without trace.
class NullMessagePort : public MessagePort
{
public:
    Answer show(const QString &text, const QString &caption, Icon, Buttons buttons = Buttons::Ok) override
    {
        shown.append(caption + QStringLiteral(": ") + text);
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
        case Buttons::YesNoDefaultNo:
            return Answer::No;
        case Buttons::OkCancel:
        case Buttons::YesNoCancel:
            break;
        }
        return Answer::Cancel;
    }
    std::optional<QString> input(const QString &, const QString &, const QString & = QString()) override
    {
        return std::nullopt;
    }

    QStringList shown; // "caption: text", oldest first
};
