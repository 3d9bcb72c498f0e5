#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Whole reads and writes on an open file, resumed after a signal or a short
// count. A write that fails gives false with errno set (EIO when the system
// wrote nothing and gave no reason).
class DescriptorIo
{
public:
    // At the current position: the end, for a file opened with O_APPEND.
    static bool write(int fd, QByteArrayView bytes);
    // From the file's start on, whatever the current position.
    static bool writeFromStart(int fd, QByteArrayView bytes);
    // Everything from the file's start; what could be read when reading fails.
    static QByteArray read(int fd);
};
