#include "platform/DescriptorIo.h"

#include <cerrno>
#include <unistd.h>

namespace {

// at < 0: at the current position.
bool writeAll(int fd, QByteArrayView bytes, off_t at)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const char *from = bytes.data() + done;
        const size_t size = size_t(bytes.size() - done);
        const ssize_t n = at < 0 ? ::write(fd, from, size) : ::pwrite(fd, from, size, at + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

bool DescriptorIo::write(int fd, QByteArrayView bytes)
{
    return writeAll(fd, bytes, -1);
}

bool DescriptorIo::writeFromStart(int fd, QByteArrayView bytes)
{
    return writeAll(fd, bytes, 0);
}

QByteArray DescriptorIo::read(int fd)
{
    QByteArray all;
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return all;
        all.append(buffer, n);
        at += n;
    }
}
