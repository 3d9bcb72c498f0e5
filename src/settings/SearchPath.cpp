#include "settings/SearchPath.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

QString reasonFor(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return QStringLiteral("フォルダーが見つかりません。（削除または移動された可能性があります。）");
    if (!info.isDir())
        return QStringLiteral("フォルダーではありません。");
    return QStringLiteral("フォルダーに入るアクセス権がありません。");
}

} // namespace

QString SearchPath::currentDirectory()
{
    // QDir::currentPath() gives the path even when the folder has been removed
    // meanwhile; such a folder is no place to search or record.
    const QString path = QDir::currentPath();
    return QFileInfo(path).isDir() ? path : QString();
}

qint16 SearchPath::Change_Folder(const QString &path)
{
    if (path.isEmpty())
        return 9;
    const QString before = QDir::currentPath();
    if (QDir::cleanPath(path) == before && QFileInfo(path).isDir())
        return 0;
    if (!QDir::setCurrent(path)) {
        QDir::setCurrent(before);
        return 9;
    }
    return 0;
}

bool SearchPath::enterForBrowsing(const QString &path, QString *why)
{
    const QString before = QDir::currentPath();
    if (Change_Folder(path) != 0) {
        if (why)
            *why = reasonFor(path);
        return false;
    }
    FolderLists probe;
    if (!Fill_Folder_Lists(QDir::currentPath(), probe, why)) {
        QDir::setCurrent(before);
        return false;
    }
    return true;
}

void SearchPath::recordFolder(std::array<QString, kHistory> &history, qint32 &defaultIndex,
                               const QString &folder)
{
    int match = -1;
    for (int i = 0; i < kHistory; ++i)
        if (history[size_t(i)] == folder)
            match = i;
    if (match >= 0) {
        defaultIndex = match;
        return;
    }
    for (int i = kHistory - 1; i > 0; --i)
        history[size_t(i)] = history[size_t(i - 1)];
    history[0] = folder;
    defaultIndex = 0;
}

QStringList SearchPath::historyLines(const std::array<QString, kHistory> &history, qint32 defaultIndex)
{
    QStringList lines;
    for (int i = 0; i < kHistory; ++i)
        lines.append((i == defaultIndex ? QStringLiteral("* ") : QStringLiteral("  ")) + history[size_t(i)]);
    return lines;
}

SearchPath::FolderLists SearchPath::Fill_Folder_Lists(const QList<DirEntry> &entries, bool isRoot)
{
    FolderLists lists;
    if (!isRoot)
        lists.folders.append(QStringLiteral(".."));
    for (const DirEntry &e : entries) {
        if (e.name == QLatin1String(".") || e.name == QLatin1String(".."))
            continue;
        if (e.plainDirectory())
            lists.folders.append(e.name);
        else if (e.name != QLatin1String("RECYCLED"))
            lists.files.append(e.name);
    }
    return lists;
}

bool SearchPath::Fill_Folder_Lists(const QString &folder, FolderLists &lists, QString *why)
{
    QList<DirEntry> entries;
    if (!DirectoryListing::list(folder, entries)) {
        if (why)
            *why = QFileInfo(folder).isDir() ? QStringLiteral("フォルダーの内容を読み取るアクセス権がありません。")
                                             : reasonFor(folder);
        return false;
    }
    lists = Fill_Folder_Lists(entries, QDir(folder).isRoot());
    return true;
}

QStringList SearchPath::driveList(const QStringList &mountPoints)
{
    QStringList drives{QStringLiteral("/")};
    for (const char *base : {"/media/", "/mnt/", "/run/media/"}) {
        QStringList found;
        for (const QString &m : mountPoints)
            if (m.startsWith(QLatin1String(base)) && m.size() > int(qstrlen(base)) && !drives.contains(m)
                && !found.contains(m))
                found.append(m);
        found.sort();
        drives += found;
    }
    return drives;
}

QStringList SearchPath::driveList()
{
    QStringList mounts;
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes())
        mounts.append(v.rootPath());
    return driveList(mounts);
}

QString SearchPath::driveOf(const QStringList &drives, const QString &folder)
{
    QString best = QStringLiteral("/");
    for (const QString &d : drives)
        if ((folder == d || folder.startsWith(DirectoryListing::withSeparator(d))) && d.size() > best.size())
            best = d;
    return best;
}
