#pragma once

#include "platform/MessagePort.h"

// Message boxes and the input box. A box is owned by the active window when
// that window is enabled (a dialog over a disabled main window), and kept on
// top, since most dialogs are.
class MessageBoxPort : public MessagePort
{
public:
    Answer show(const QString &text, const QString &caption, Icon icon, Buttons buttons) override;
    std::optional<QString> input(const QString &prompt, const QString &caption, const QString &initial) override;
};
