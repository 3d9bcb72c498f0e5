#include "search/FolderWalk.h"

#include "platform/DirectoryListing.h"
#include "search/SikibetuMatcher.h"
#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

namespace {

// The folder path without its trailing "/", the root staying "/".
QString withoutSeparator(const QString &dir)
{
    return (dir.size() > 1 && dir.endsWith(QLatin1Char('/'))) ? dir.chopped(1) : dir;
}

} // namespace

FolderWalk::FolderWalk(WorkArea &work, const SikibetuMatcher &sikibetu, bool subDirs, FileVisitor visit,
                       SkipNote skipped)
    : m_work(work), m_sikibetu(sikibetu), m_subDirs(subDirs), m_visit(std::move(visit)),
      m_skipped(std::move(skipped))
{
}

void FolderWalk::Walk_Folder()
{
    m_work.Current_Dir = DirectoryListing::withSeparator(m_work.Search_Path);
    walk(m_work.Current_Dir);
}

void FolderWalk::walk(QString dir)
{
    if (m_work.Search_Running == 0)
        return;
    QList<DirEntry> entries;
    QString error;
    // Plain files are told from the listing alone; the few the search opens
    // get their size and time from the open file.
    if (!DirectoryListing::list(dir, entries, &error, false)) {
        if (m_skipped)
            m_skipped(withoutSeparator(dir) + QStringLiteral("\r\nフォルダを読み込めません。（") + error
                      + QStringLiteral("）"));
        return;
    }

    // The whole listing is taken before any subfolder is entered.
    QStringList subDirs;
    QList<WalkFile> files;
    for (const DirEntry &entry : std::as_const(entries)) {
        if (entry.directory) {
            if (entry.plainDirectory() && m_subDirs)
                subDirs.append(entry.name);
            continue;
        }
        // Links to files are read like files; links to folders, devices,
        // pipes and sockets are never opened.
        if (!entry.regularFile)
            continue;
        WalkFile file;
        file.upperName = LineFormat::Ucase(entry.name);
        if (!m_sikibetu.Match_Sikibetu(SikibetuMatcher::Identifier_Of(file.upperName)))
            continue;
        file.dir = dir;
        file.name = entry.name;
        files.append(std::move(file));
    }
    if (!files.isEmpty())
        m_visit(files);
    m_work.Search_List.clear();

    for (const QString &name : std::as_const(subDirs)) {
        if (m_work.Search_Running == 0)
            return;
        m_work.Search_Path = dir + name;
        m_work.Current_Dir = m_work.Search_Path + QLatin1Char('/');
        walk(m_work.Current_Dir);
        m_work.Search_Path = withoutSeparator(dir);
        m_work.Current_Dir = dir;
    }
}
