#include "template/widgets/TemplateFolderBrowser.h"

#include "platform/MessagePort.h"
#include "settings/SearchPath.h"
#include "template/FolderEntries.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>

TemplateFolderBrowser::TemplateFolderBrowser(QWidget *dialog, const std::array<QString, 20> &sikibetu,
                                             MessagePort *port, const QString &caption)
    : QObject(dialog)
    , m_sikibetu(sikibetu)
    , m_port(port)
    , m_caption(caption)
{
    Drive1 = new QComboBox(dialog);
    Drive1->addItems(SearchPath::driveList());
    folderList = new QListWidget(dialog);
    fileList = new QListWidget(dialog);
    pathLabel = new QLabel(dialog);
    pathCaption = new QLabel(QStringLiteral("Path　=　"), dialog);
    folderCaption = new QLabel(QStringLiteral("フォルダー選択"), dialog);
    connect(Drive1, &QComboBox::activated, this, &TemplateFolderBrowser::Drive1_Change);
    connect(folderList, &QListWidget::itemDoubleClicked, this, &TemplateFolderBrowser::Folder_DblClick);
}

void TemplateFolderBrowser::placeIn(QGridLayout *grid, int columns)
{
    auto *path = new QHBoxLayout;
    path->addWidget(pathCaption);
    path->addWidget(pathLabel, 1);
    grid->addLayout(path, 0, 0, 1, columns);
    grid->addWidget(folderCaption, 1, 0);
    grid->addWidget(Drive1, 2, 0);
    grid->addWidget(folderList, 3, 0);
    grid->addWidget(fileList, 2, 1, 2, 1);
}

void TemplateFolderBrowser::browseFrom(const QString &folder)
{
    if (!browseTo(folder))
        browseTo(QStringLiteral("/"));
}

bool TemplateFolderBrowser::browseTo(const QString &folder)
{
    FolderEntries entries;
    QString why;
    const QString target = DirectoryListing::withSeparator(QDir::cleanPath(folder));
    if (!FolderEntries::ListFolderEntries(target, m_sikibetu, entries, &why)) {
        if (m_port)
            m_port->show(QStringLiteral("フォルダー「%1」を開けません。").arg(target) + QStringLiteral("\r\n") + why,
                         m_caption, MessagePort::Icon::Exclamation);
        return false;
    }
    m_folder = target;
    pathLabel->setText(m_folder);
    folderList->clear();
    folderList->addItems(entries.folders);
    fileList->clear();
    fileList->addItems(entries.files);
    QStringList drives;
    for (int i = 0; i < Drive1->count(); ++i)
        drives.append(Drive1->itemText(i));
    m_driveIndex = std::max(0, int(drives.indexOf(SearchPath::driveOf(drives, m_folder))));
    Drive1->setCurrentIndex(m_driveIndex);
    return true;
}

void TemplateFolderBrowser::fitNote(QLabel *note)
{
    const QString text = note->text();
    const qsizetype end = text.indexOf(QChar(u'。'));
    note->setWordWrap(true);
    note->setMinimumWidth(note->fontMetrics().horizontalAdvance(text.left(end + 1)) + 2 * note->margin() + 4);
}

void TemplateFolderBrowser::Drive1_Change()
{
    if (!browseTo(Drive1->currentText()))
        Drive1->setCurrentIndex(m_driveIndex);
}

void TemplateFolderBrowser::Folder_DblClick()
{
    QListWidgetItem *item = folderList->currentItem();
    if (!item)
        return;
    const QString name = item->text();
    if (name == QLatin1String("..")) {
        QDir up(m_folder);
        if (up.cdUp())
            browseTo(up.path());
        return;
    }
    browseTo(m_folder + name);
}
