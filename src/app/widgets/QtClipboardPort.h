#pragma once

#include "platform/ClipboardPort.h"

class QtClipboardPort : public ClipboardPort
{
public:
    void setText(const QString &text) override;
    QString text() const override;
};
