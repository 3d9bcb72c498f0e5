#include "template/FolderEntries.h"

#include "search/SikibetuMatcher.h"
#include "base/Settings.h"

#include <algorithm>

QString FolderEntries::Identifier_Of_Name(QStringView name)
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

    FolderEntries out;
    for (const DirEntry &e : entries) {
        if (e.plainDirectory()) {
            out.folders.append(e.name);
            continue;
        }
        if (e.name == QLatin1String("RECYCLED"))
            continue;
        if (matcher.Match_Sikibetu(Identifier_Of_Name(e.name)) && !out.files.contains(e.name))
            out.files.append(e.name);
    }
    if (folder != QLatin1String("/"))
        out.folders.append(QStringLiteral(".."));
    // Both lists are kept sorted, whatever order the entries came in.
    std::sort(out.folders.begin(), out.folders.end(), DirectoryListing::lessByListingOrder);
    std::sort(out.files.begin(), out.files.end(), DirectoryListing::lessByListingOrder);
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
