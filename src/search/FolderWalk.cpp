#include "search/FolderWalk.h"

#include "platform/DirectoryListing.h"
#include "search/SikibetuMatcher.h"

FolderWalk::FolderWalk(const QString &root, const SikibetuMatcher &sikibetu, bool subDirs, SkipNote skipped)
    : m_sikibetu(sikibetu), m_subDirs(subDirs), m_skipped(std::move(skipped)),
      m_pending(DirectoryListing::withSeparator(root))
{
}

bool FolderWalk::Next_Folder(QString &folder, QList<WalkFile> &files)
{
    files.clear();
    while (m_pending.isEmpty()) {
        // Back up to the nearest level with a subfolder left.
        if (m_stack.empty())
            return false;
        Level &top = m_stack.back();
        if (top.next < top.subDirs.size())
            m_pending = top.dir + top.subDirs.at(top.next++) + QLatin1Char('/');
        else
            m_stack.pop_back();
    }
    folder = std::exchange(m_pending, QString());

    QList<DirEntry> entries;
    QString error;
    // Plain files are told from the listing alone; the few the search opens
    // get their size and time from the open file.
    if (!DirectoryListing::list(folder, entries, &error, false)) {
        if (m_skipped)
            m_skipped((folder.size() > 1 ? folder.chopped(1) : folder)
                      + QStringLiteral("\r\nフォルダを読み込めません。（") + error + QStringLiteral("）"));
        return true;
    }
    Level level;
    level.dir = folder;
    for (const DirEntry &entry : std::as_const(entries)) {
        if (entry.directory) {
            if (entry.plainDirectory() && m_subDirs)
                level.subDirs.append(entry.name);
            continue;
        }
        // Links to files are read like files; links to folders, devices,
        // pipes and sockets are never opened.
        if (!entry.regularFile)
            continue;
        WalkFile file;
        file.upperName = entry.upperName;
        if (!m_sikibetu.Match_Sikibetu(SikibetuMatcher::Identifier_Of(file.upperName)))
            continue;
        file.dir = folder;
        file.name = entry.name;
        files.append(std::move(file));
    }
    if (!level.subDirs.isEmpty())
        m_stack.push_back(std::move(level));
    return true;
}
