#include "search/RtfCapturePort.h"

#include "platform/FileReplacer.h"
#include "platform/TextFile.h"

#include <QFile>

bool RtfCapturePort::loadRtf(const QString &path)
{
    QByteArray bytes;
    if (!TextFile::readBytes(path, bytes, &m_error))
        return false;
    const WriteResult written = FileReplacer::replaceWhole(QFile::encodeName(m_target), bytes);
    m_captured = written.written;
    m_error = written.error;
    return m_captured;
}
