#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <array>

class MessagePort;
class QComboBox;
class QGridLayout;
class QLabel;
class QListWidget;
class QWidget;

// The drive, folder and file lists shared by the template read and parameter
// dialogs. The browse folder is held here rather than made the process's
// current folder: nothing else of the program is moved by browsing, so there
// is nothing to restore on close. It is held by its bytes as on disk, as the
// search walk holds folders, so that a folder or file whose name is not
// UTF-8 (Shift-JIS names unpacked from old archives) is entered and read
// by the name it has. Return in the folder list enters the current folder,
// as a double click does.
class TemplateFolderBrowser : public QObject
{
    Q_OBJECT
public:
    TemplateFolderBrowser(QWidget *dialog, const std::array<QString, 20> &sikibetu, MessagePort *port,
                          const QString &caption);

    QComboBox *Drive1 = nullptr;
    QListWidget *folderList = nullptr;
    QListWidget *fileList = nullptr;
    QLabel *pathLabel = nullptr;
    QLabel *pathCaption = nullptr;   // "Path　=　", before pathLabel
    QLabel *folderCaption = nullptr; // above Drive1

    // Rows 0 to 3 of the dialog's grid: the path across `columns` columns,
    // then the drive and folder lists in column 0 beside the file list.
    void placeIn(QGridLayout *grid, int columns);

    // The native paths of the selected rows of the file list, top to bottom.
    QList<QByteArray> selectedFiles() const;
    // Lists the folder; a folder that cannot be listed is reported and the
    // lists stay on the folder shown before.
    bool browseTo(const QByteArray &nativeFolder);
    // Where a dialog starts: the folder, or the root when it is gone.
    void browseFrom(const QString &folder);

    // The note under the file list: wide enough for its first sentence, so
    // that it wraps where its blanks stand, as two lines.
    static void fitNote(QLabel *note);

    void Drive1_Change();
    void Folder_DblClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::array<QString, 20> m_sikibetu;
    MessagePort *m_port;
    QString m_caption;
    QByteArray m_nativeFolder;
    int m_driveIndex = 0;
};
