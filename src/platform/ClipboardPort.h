#pragma once

#include <QString>

class ClipboardPort
{
public:
    virtual ~ClipboardPort() = default;
    virtual void setText(const QString &text) = 0; // empties the clipboard first
    virtual QString text() const = 0;
};

// A clipboard that keeps nothing.
class NullClipboardPort : public ClipboardPort
{
public:
    void setText(const QString &) override {}
    QString text() const override { return {}; }
};
