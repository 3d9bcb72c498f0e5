#include "platform/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemReason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QString refusal(const QString &path, const QString &text)
{
    return path + QStringLiteral("\r\n") + text;
}

// Creates the folder and every missing parent with mode 0700, as a cache
// folder is created for the user alone.
bool makeFolders(const QString &folder, QString *error)
{
    const QString clean = QDir::cleanPath(folder);
    QString path;
    const QStringList parts = clean.split(QLatin1Char('/'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        path += (i == 0 ? QString() : QStringLiteral("/")) + parts[i];
        if (path.isEmpty())
            continue;
        const QByteArray native = QFile::encodeName(path);
        if (::mkdir(native.constData(), 0700) == 0 || errno == EEXIST)
            continue;
        if (error)
            *error = refusal(path, QStringLiteral("フォルダーを作成できません。（%1）").arg(systemReason(errno)));
        return false;
    }
    return true;
}

} // namespace

QString PrivateFolder::cachePath()
{
    const QString xdg = qEnvironmentVariable("XDG_CACHE_HOME");
    // A relative XDG_CACHE_HOME is invalid and ignored: it would name a
    // folder below wherever the program happens to start.
    const QString base = QDir::isAbsolutePath(xdg) ? xdg : QDir::homePath() + QStringLiteral("/.cache");
    return QDir::cleanPath(base + QStringLiteral("/quav"));
}

bool PrivateFolder::prepare(const QString &folder, QString *error)
{
    const QByteArray native = QFile::encodeName(folder);
    const uid_t self = ::geteuid();
    struct stat link{};
    if (::lstat(native.constData(), &link) != 0) {
        if (errno != ENOENT) {
            if (error)
                *error = refusal(folder, QStringLiteral("フォルダーを調べられません。（%1）").arg(systemReason(errno)));
            return false;
        }
        if (!makeFolders(folder, error))
            return false;
        if (::lstat(native.constData(), &link) != 0) {
            if (error)
                *error = refusal(folder, QStringLiteral("フォルダーを調べられません。（%1）").arg(systemReason(errno)));
            return false;
        }
    }
    if (S_ISLNK(link.st_mode) && link.st_uid != self) {
        if (error)
            *error = refusal(folder, QStringLiteral("ほかのユーザーのリンクのため、使用しません。"));
        return false;
    }
    struct stat target{};
    if (::stat(native.constData(), &target) != 0) {
        if (error)
            *error = refusal(folder, QStringLiteral("フォルダーを調べられません。（%1）").arg(systemReason(errno)));
        return false;
    }
    if (!S_ISDIR(target.st_mode)) {
        if (error)
            *error = refusal(folder, QStringLiteral("フォルダーではないため、使用しません。"));
        return false;
    }
    if (target.st_uid != self) {
        if (error)
            *error = refusal(folder, QStringLiteral("ほかのユーザーのフォルダーのため、使用しません。"));
        return false;
    }
    if ((target.st_mode & 077) != 0 && ::chmod(native.constData(), target.st_mode & 0700) != 0) {
        if (error)
            *error = refusal(folder, QStringLiteral("フォルダーをほかのユーザーから保護できません。（%1）").arg(systemReason(errno)));
        return false;
    }
    return true;
}

bool PrivateFolder::writeFile(const QString &folder, const QString &name, const QByteArray &bytes, QString *error)
{
    const QString path = QDir(folder).filePath(name);
    auto fail = [&](const QString &reason) {
        if (error)
            *error = refusal(path, QStringLiteral("ファイルに書き込めません。（%1）").arg(reason));
        return false;
    };
    // Created new (never opened through an existing name), mode 0600.
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    if (!file.open())
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush())
        return fail(file.errorString());
    // rename() replaces whatever has the name, a link included, without
    // looking at what a link points to.
    if (::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return fail(systemReason(errno));
    file.setAutoRemove(false);
    return true;
}
