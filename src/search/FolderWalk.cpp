#include "search/FolderWalk.h"

#include "platform/DirectoryListing.h"
#include "platform/NativeName.h"
#include "search/SearchRequest.h"
#include "workarea/LineFormat.h"

const QString FolderWalk::kNameNotHeld = QStringLiteral("名前に \":@:\" を含むため検索できません。");
const QString FolderWalk::kNameShownTwice =
    QStringLiteral("同じ名前に見えるファイルまたはフォルダーが既にあるため検索できません。");

FolderWalk::FolderWalk(const SearchRequest &request, SkipNote skipped)
    : m_sikibetu(request.identifiers), m_subDirs(request.subDirs), m_skipped(std::move(skipped))
{
    const QByteArray &nativeRoot = request.nativeRoot;
    m_pending.shown = DirectoryListing::withSeparator(request.root);
    m_pending.native = nativeRoot.isEmpty() ? NativeName::encode(m_pending.shown)
                                            : (nativeRoot.endsWith('/') ? nativeRoot : nativeRoot + '/');
}

void FolderWalk::skip(const QString &path, const QString &reason)
{
    if (m_skipped)
        m_skipped(path + QStringLiteral("\r\n") + reason);
}

bool FolderWalk::nextFolder(QString &folder, QList<WalkFile> &files)
{
    files.clear();
    while (m_pending.native.isEmpty()) {
        // Back up to the nearest level with a subfolder left.
        if (m_stack.empty())
            return false;
        Level &top = m_stack.back();
        if (top.next < top.subDirs.size())
            m_pending = top.subDirs[top.next++];
        else
            m_stack.pop_back();
    }
    const Dir dir = std::exchange(m_pending, Dir());
    folder = dir.shown;
    const QString shownFolder = folder.size() > 1 ? folder.chopped(1) : folder;

    // Every key below this folder would hold the separator.
    if (folder.contains(LineFormat::kSeparator)) {
        skip(shownFolder, kNameNotHeld);
        return true;
    }
    QList<DirEntry> entries;
    QString error;
    // Plain files are told from the listing alone; the few the search opens
    // get their size and time from the open file.
    if (!DirectoryListing::listNative(dir.native, entries, &error, false)) {
        skip(shownFolder, QStringLiteral("フォルダを読み込めません。（") + error + QStringLiteral("）"));
        return true;
    }
    Level level;
    level.dir = dir;
    // A UTF-8 name and a Shift-JIS one that decodes to the same text would
    // share one key (two folders: keys for their files); the listing puts
    // names that show alike side by side.
    files.reserve(entries.size());
    const QString *lastFile = nullptr;
    const QString *lastDir = nullptr;
    for (const DirEntry &entry : std::as_const(entries)) {
        if (entry.directory) {
            if (entry.plainDirectory() && m_subDirs) {
                if (lastDir && *lastDir == entry.name) {
                    skip(folder + entry.name, kNameShownTwice);
                    continue;
                }
                lastDir = &entry.name;
                level.subDirs.push_back(Dir{folder + entry.name + QLatin1Char('/'),
                                            dir.native + entry.nativeName + '/'});
            }
            continue;
        }
        // Links to files are read like files; links to folders, devices,
        // pipes and sockets are never opened.
        if (!entry.regularFile)
            continue;
        if (!m_sikibetu.Match_Sikibetu(SikibetuMatcher::identifierIn(entry.upperName)))
            continue;
        if (lastFile && *lastFile == entry.name) {
            skip(folder + entry.name, kNameShownTwice);
            continue;
        }
        lastFile = &entry.name;
        // The folder holds no separator and ends in "/": the name decides.
        if (!LineFormat::holdsKey(entry.name)) {
            skip(folder + entry.name, kNameNotHeld);
            continue;
        }
        WalkFile file;
        file.dir = folder;
        file.name = entry.name;
        file.nativeDir = dir.native;
        file.nativeName = entry.nativeName;
        files.append(std::move(file));
    }
    if (!level.subDirs.empty())
        m_stack.push_back(std::move(level));
    return true;
}
