#include "settings/PathBrowserForm.h"

#include "base/Workbench.h"
#include "platform/MessagePort.h"
#include "settings/SettingsIo.h"

#include <QDir>

const QString PathBrowserForm::kCaption = QStringLiteral("サーチパス選択");

PathBrowserForm::PathBrowserForm(Workbench &wb, const QStringList &drives)
    : m_wb(wb)
    , m_drives(drives.isEmpty() ? SearchPath::driveList() : SearchPath::driveList(drives))
{
}

void PathBrowserForm::Form_Load()
{
    // The current directory may have been removed since it was entered; then
    // browsing starts from the search folder, the home folder or the root.
    const QString here = SearchPath::currentDirectory();
    SearchPath::FolderLists probe;
    if (here.isEmpty() || !SearchPath::Fill_Folder_Lists(here, probe, nullptr)) {
        for (const QString &fallback : {m_wb.work.Search_Path, QDir::homePath(), QStringLiteral("/")})
            if (SearchPath::enterForBrowsing(fallback, nullptr))
                break;
    }
    m_folder = QDir::currentPath();
    selectDriveOf(m_folder);
    Fill_Folder_Lists();
}

void PathBrowserForm::selectDriveOf(const QString &folder)
{
    m_driveIndex = std::max(0, int(m_drives.indexOf(SearchPath::driveOf(m_drives, folder))));
}

void PathBrowserForm::Fill_Folder_Lists()
{
    m_lists = {};
    QString why;
    if (!SearchPath::Fill_Folder_Lists(m_folder, m_lists, &why)) {
        m_lists = {};
        m_lists.folders.append(QStringLiteral(".."));
    }
}

bool PathBrowserForm::browseTo(const QString &folder)
{
    QString why;
    if (!SearchPath::enterForBrowsing(folder, &why)) {
        m_wb.messages->show(QStringLiteral("フォルダー「%1」に移動できません。").arg(folder) + QStringLiteral("\r\n")
                                + why,
                            kCaption, MessagePort::Icon::Exclamation);
        // The folder shown stays; its lists are read again so that an entry
        // that has vanished meanwhile is no longer offered.
        Fill_Folder_Lists();
        return false;
    }
    m_folder = QDir::currentPath();
    Fill_Folder_Lists();
    return true;
}

bool PathBrowserForm::chooseDrive(int index)
{
    if (index < 0 || index >= m_drives.size())
        return false;
    if (!browseTo(m_drives.at(index)))
        return false;
    m_driveIndex = index;
    return true;
}

bool PathBrowserForm::enterEntry(const QString &name)
{
    // Relative to the folder shown, which stays known even when it has been
    // removed while shown (the system then no longer reports it).
    const QString target = name == QLatin1String("..") ? QDir::cleanPath(m_folder + QStringLiteral("/.."))
                                                       : QDir(m_folder).filePath(name);
    if (!browseTo(target))
        return false;
    selectDriveOf(m_folder);
    return true;
}

bool PathBrowserForm::Choose(bool record)
{
    const QString folder = SearchPath::currentDirectory();
    if (folder.isEmpty()) {
        m_wb.messages->show(QStringLiteral("表示中のフォルダーが見つかりません。（削除または移動された可能性があります。）"),
                            kCaption, MessagePort::Icon::Exclamation);
        return false;
    }
    m_wb.work.Search_Path = folder;
    m_wb.status.setText(StatusPanels::kPath, folder);
    if (record) {
        SearchPath::recordFolder(m_wb.settings.PATH, m_wb.settings.DEFAULT_PATH, folder);
        SettingsIo::Write_Search_Path(m_wb);
    }
    return true;
}
