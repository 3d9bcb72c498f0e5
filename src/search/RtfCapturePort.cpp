#include "search/RtfCapturePort.h"

#include "platform/TextFile.h"

bool RtfCapturePort::loadRtf(const QString &path)
{
    QByteArray bytes;
    if (!TextFile::readBytes(path, bytes, &m_error))
        return false;
    m_captured = TextFile::writeBytes(m_target, bytes, &m_error);
    return m_captured;
}
