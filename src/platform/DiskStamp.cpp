#include "platform/DiskStamp.h"

#include <algorithm>
#include <sys/stat.h>

namespace {

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

} // namespace

std::optional<DiskStamp> DiskStamp::of(const QByteArray &path)
{
    struct stat st;
    if (::stat(path.constData(), &st) != 0)
        return std::nullopt;
    DiskStamp s;
    s.size = st.st_size;
    s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}

DiskStamp DiskStamp::fromModified(qint64 size, const QDateTime &modified)
{
    DiskStamp s;
    s.size = size;
    s.mtimeNs = modified.toMSecsSinceEpoch() * 1000000;
    s.precisionNs = 1000000;
    return s;
}

bool DiskStamp::sameAs(const DiskStamp &other) const
{
    const qint64 p = std::max<qint64>(1, std::max(precisionNs, other.precisionNs));
    return size == other.size && floorDiv(mtimeNs, p) == floorDiv(other.mtimeNs, p);
}
