#pragma once

#include <QString>

#include <optional>

// The one road from the core to the user for messages and questions. The
// widget layer shows a message box; tests answer from a queue.
class MessagePort
{
public:
    enum class Icon { None, Information, Exclamation, Question, Critical };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
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

// A port for code that runs with nobody to ask: nothing is shown, a question
// is answered No (nothing is changed on an answer nobody gave) and an input
// box is cancelled.
class NullMessagePort : public MessagePort
{
public:
    Answer show(const QString &, const QString &, Icon, Buttons buttons) override
    {
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }

    // The port of a workbench or other owner that may have none.
    static MessagePort &orNull(MessagePort *port)
    {
        static NullMessagePort none;
        return port ? *port : none;
    }
};
