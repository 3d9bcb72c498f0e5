#include "template/FolderEntries.h"

#include "base/Settings.h"
#include "search/SikibetuMatcher.h"
#include "settings/SearchPath.h"

#include <algorithm>

QString FolderEntries::identifierOfName(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1).toString();
}

FolderEntries FolderEntries::ListFolderEntries(const QString &folder, const QList<DirEntry> &entries,
                                               const std::array<QString, 20> &SIKIBETU)
{
    // Every non-empty identifier of the list takes part, whatever the search
    // would choose; the matcher compares exactly and never matches "".
    Settings chosen;
    chosen.SIKIBETU = SIKIBETU;
    chosen.SIKIBETU_ALL_FLG = 1;
    const SikibetuMatcher matcher(chosen, QString());

    // The split into folders and files is the search path browser's.
    SearchPath::FolderLists lists = SearchPath::Fill_Folder_Lists(entries, folder == QLatin1String("/"));
    FolderEntries out;
    out.folders = std::move(lists.folders);
    for (QString &name : lists.files)
        if (matcher.Match_Sikibetu(identifierOfName(name)))
            out.files.append(std::move(name));
    // Both lists are kept sorted, whatever order the entries came in; a name
    // is offered once.
    std::sort(out.folders.begin(), out.folders.end(), DirectoryListing::lessByListingOrder);
    std::sort(out.files.begin(), out.files.end(), DirectoryListing::lessByListingOrder);
    out.files.erase(std::unique(out.files.begin(), out.files.end()), out.files.end());
    return out;
}

bool FolderEntries::ListFolderEntries(const QString &folder, const std::array<QString, 20> &SIKIBETU,
                                      FolderEntries &out, QString *error)
{
    QList<DirEntry> entries;
    if (!DirectoryListing::list(folder, entries, error))
        return false;
    out = ListFolderEntries(folder, entries, SIKIBETU);
    return true;
}
