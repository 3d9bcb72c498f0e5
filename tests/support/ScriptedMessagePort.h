#pragma once

#include "platform/MessagePort.h"

#include <QList>
#include <QQueue>
#include <QString>

// A message port for tests: answers questions from a queue (when the queue
// is empty: No for a default-No question, Yes for another question with Yes,
// Ok otherwise) and records every
// message shown.
class ScriptedMessagePort : public MessagePort
{
public:
    struct Shown
    {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
    };

    QQueue<Answer> answers;
    QQueue<std::optional<QString>> inputs;
    QList<Shown> shown;

    Answer show(const QString &text, const QString &caption, Icon icon, Buttons buttons) override
    {
        shown.append({text, caption, icon, buttons});
        if (!answers.isEmpty())
            return answers.dequeue();
        if (buttons == Buttons::YesNoDefaultNo)
            return Answer::No;
        return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Answer::Yes : Answer::Ok;
    }

    std::optional<QString> input(const QString &prompt, const QString &caption, const QString &) override
    {
        shown.append({prompt, caption, Icon::None, Buttons::OkCancel});
        return inputs.isEmpty() ? std::nullopt : inputs.dequeue();
    }

    // The answers to the next questions, in order, instead of any queued.
    void answerWith(const QList<Answer> &next)
    {
        answers.clear();
        for (Answer a : next)
            answers.enqueue(a);
    }

    QStringList texts() const
    {
        QStringList out;
        for (const Shown &s : shown)
            out.append(s.text);
        return out;
    }
};
