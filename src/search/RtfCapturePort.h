#pragma once

#include "platform/RichViewPort.h"

// A list view without a window, for the batch search's --rtf: the document the
// view is asked to load is copied to a chosen file instead of being shown.
class RtfCapturePort : public RichViewPort
{
public:
    explicit RtfCapturePort(const QString &target) : m_target(target) {}

    bool loadRtf(const QString &path) override;
    void clearText() override {}
    QString plainText() const override { return {}; }
    int caret() const override { return 0; }
    void setCaret(int) override {}
    void selectToLineEnd() override {}
    int find(const QString &, int) override { return -1; }
    QString selectedText() const override { return {}; }
    void setShown(bool) override {}
    bool isShown() const override { return false; }
    void setViewEnabled(bool) override {}
    void refresh() override {}
    void focus() override {}

    bool captured() const { return m_captured; }
    const QString &error() const { return m_error; }

private:
    QString m_target;
    bool m_captured = false;
    QString m_error;
};
