#pragma once

#include "platform/MessagePort.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QStringList>
#include <QStringEncoder>

#include <cstdio>

// The message port of the batch search: every message goes to standard error
// as "caption: text" (line breaks as "\n"), and the run goes on. A question is
// answered No and an input box cancelled: a batch run starts from an empty
// work area and has nobody to ask.
//
// A run over a large tree can refuse thousands of files; the messages are
// written in blocks (at 64 KiB, or when 200 ms have passed since the last
// write, and at the end) rather than with one write per message.
class BatchMessagePort : public MessagePort
{
public:
    explicit BatchMessagePort(std::FILE *out = stderr) : m_out(out) { m_clock.start(); }
    ~BatchMessagePort() override { flush(); }
    void flush();

    Answer show(const QString &text, const QString &caption, Icon icon, Buttons buttons) override;
    std::optional<QString> input(const QString &prompt, const QString &caption, const QString &initial) override;
    // Each file or folder a search could not read or did not search, under
    // the search's caption.
    void showSkipped(const QStringList &reasons);

    int shown() const { return m_shown; }

private:
    std::FILE *m_out;
    int m_shown = 0;
    QByteArray m_pending;
    // Stateless: each text is whole, a lone surrogate is not carried over.
    QStringEncoder m_utf8{QStringEncoder::Utf8, QStringConverter::Flag::Stateless};
    QElapsedTimer m_clock;
};
