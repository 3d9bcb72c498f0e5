#include "platform/DiskStamp.h"

#include <sys/stat.h>

std::optional<DiskStamp> DiskStamp::of(const QByteArray &path)
{
    struct stat st;
    if (::stat(path.constData(), &st) != 0)
        return std::nullopt;
    return of(st);
}

DiskStamp DiskStamp::of(const struct stat &st)
{
    DiskStamp s;
    s.size = st.st_size;
    s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}
