#pragma once

#include "platform/Cp932.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Builds small folder trees of code page 932 files for the search tests.
namespace SearchTree {

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A file (and its folders) named by raw bytes, such as a Shift-JIS name
// that QString paths cannot reach.
inline bool writeBytesAt(const QByteArray &path, const QByteArray &bytes)
{
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), 0755);
    const int fd = ::open(path.constData(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && ok;
}

// Lines in code page 932, each followed by CR LF.
inline bool writeLines(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += Cp932::encode(line) + "\r\n";
    return writeBytes(path, bytes);
}

// n lines "line k", with the word on the lines listed in hits (1-based).
inline bool writeNumbered(const QString &path, int n, const QString &word, const QList<int> &hits)
{
    QByteArray bytes;
    bytes.reserve(n * 12);
    const QByteArray w = Cp932::encode(word);
    for (int k = 1; k <= n; ++k) {
        bytes += "line " + QByteArray::number(k);
        if (hits.contains(k))
            bytes += " " + w;
        bytes += "\r\n";
    }
    return writeBytes(path, bytes);
}

} // namespace SearchTree
