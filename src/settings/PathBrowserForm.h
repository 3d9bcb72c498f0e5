#pragma once

#include "settings/SearchPath.h"

#include <QString>
#include <QStringList>

struct Workbench;

// The path browser of "サーチパス選択" without its widgets: the drive
// chosen, the folder shown and its two lists, entered through the process's
// current directory, and the choice of the search folder.
class PathBrowserForm
{
public:
    static const QString kCaption; // "サーチパス選択"

    // `drives` replaces the mounted volumes found on the machine (tests).
    PathBrowserForm(Workbench &wb, const QStringList &drives = QStringList());

    // The opening state: the current directory, or when it has gone the search
    // folder, the home folder or the root.
    void Form_Load();

    const QStringList &drives() const { return m_drives; }
    int driveIndex() const { return m_driveIndex; }
    const QString &folder() const { return m_folder; }
    const SearchPath::FolderLists &lists() const { return m_lists; }

    // Enters the drive at index; on failure the drive chosen before stays.
    bool chooseDrive(int index);
    // Enters an entry of the folder list ("..", or a subfolder's name),
    // relative to the folder shown.
    bool enterEntry(const QString &name);

    // "選択・登録": makes the folder shown the search folder and, when
    // `record`, records it in the folder history. False (and said why) when
    // the folder shown has gone.
    bool Choose(bool record);

private:
    // Enters a folder and shows it; on failure says why and keeps showing the
    // folder shown before.
    bool browseTo(const QString &folder);
    void Fill_Folder_Lists();
    void selectDriveOf(const QString &folder);

    Workbench &m_wb;
    QStringList m_drives;
    int m_driveIndex = 0;
    QString m_folder; // the folder shown
    SearchPath::FolderLists m_lists;
};
