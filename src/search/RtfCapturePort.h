#pragma once

#include "platform/RichViewPort.h"

// A list view without a window, for the batch search's --rtf: the document the
// view is asked to load is copied to a chosen file instead of being shown.
class RtfCapturePort : public NullRichViewPort
{
public:
    explicit RtfCapturePort(const QString &target) : m_target(target) {}

    bool loadRtf(const QString &path) override;

    bool captured() const { return m_captured; }
    const QString &error() const { return m_error; }

private:
    QString m_target;
    bool m_captured = false;
    QString m_error;
};
