#include "template/FolderEntries.h"

#include "platform/NativeName.h"
#include "platform/TextCase.h"
#include "search/SearchRequest.h"
#include "search/SikibetuMatcher.h"
#include "settings/SearchPath.h"

#include <QHash>

#include <algorithm>

QString FolderEntries::identifierOfName(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : TextCase::upperUnits(name.mid(dot + 1));
}

FolderEntries FolderEntries::ListFolderEntries(const QString &folder, const QList<DirEntry> &entries,
                                               const std::array<QString, 20> &SIKIBETU)
{
    // Every non-empty identifier of the list takes part, whatever the search
    // would choose; the matcher compares with the stored (upper-case)
    // identifiers and never matches "".
    const SikibetuMatcher matcher(SearchRequest::listed(SIKIBETU));

    // Two names on disk may show alike (a UTF-8 name and a Shift-JIS one that
    // decodes to it): the list offers the first of them in listing order.
    QHash<QString, QByteArray> native;
    for (const DirEntry &e : entries)
        if (!native.contains(e.name))
            native.insert(e.name, e.nativeName.isEmpty() ? NativeName::encode(e.name) : e.nativeName);

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
    for (const QString &name : std::as_const(out.folders))
        out.nativeFolders.append(name == QLatin1String("..") ? QByteArray("..") : native.value(name));
    for (const QString &name : std::as_const(out.files))
        out.nativeFiles.append(native.value(name));
    return out;
}

bool FolderEntries::ListFolderEntries(const QByteArray &nativeFolder, const std::array<QString, 20> &SIKIBETU,
                                      FolderEntries &out, QString *error)
{
    QList<DirEntry> entries;
    if (!DirectoryListing::listNative(nativeFolder, entries, error))
        return false;
    out = ListFolderEntries(nativeFolder == "/" ? QStringLiteral("/") : NativeName::decodePath(nativeFolder),
                            entries, SIKIBETU);
    return true;
}
