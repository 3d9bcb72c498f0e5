#include "template/widgets/TemplateFolderBrowser.h"

#include "platform/MessagePort.h"
#include "platform/NativeName.h"
#include "settings/SearchPath.h"
#include "template/FolderEntries.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
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
    folderList->installEventFilter(this);
}

bool TemplateFolderBrowser::eventFilter(QObject *watched, QEvent *event)
{
    // Return on a folder enters it rather than pressing the dialog's default
    // button.
    if (watched == folderList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && folderList->currentItem()) {
            Folder_DblClick();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QList<QByteArray> TemplateFolderBrowser::selectedFiles() const
{
    QList<QByteArray> out;
    for (int i = 0; i < fileList->count(); ++i)
        if (fileList->item(i)->isSelected())
            out.append(m_nativeFolder + fileList->item(i)->data(Qt::UserRole).toByteArray());
    return out;
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
    if (!browseTo(NativeName::encode(QDir::cleanPath(folder))))
        browseTo(QByteArrayLiteral("/"));
}

namespace {

void fill(QListWidget *list, const QStringList &names, const QList<QByteArray> &natives)
{
    list->clear();
    for (qsizetype i = 0; i < names.size(); ++i) {
        auto *item = new QListWidgetItem(names.at(i), list);
        item->setData(Qt::UserRole, natives.value(i));
    }
}

} // namespace

bool TemplateFolderBrowser::browseTo(const QByteArray &nativeFolder)
{
    FolderEntries entries;
    QString why;
    const QByteArray target = nativeFolder.endsWith('/') ? nativeFolder : nativeFolder + '/';
    const QString shown = NativeName::decodePath(target);
    if (!FolderEntries::ListFolderEntries(target, m_sikibetu, entries, &why)) {
        if (m_port)
            m_port->show(QStringLiteral("フォルダー「%1」を開けません。").arg(shown) + QStringLiteral("\r\n") + why,
                         m_caption, MessagePort::Icon::Exclamation);
        return false;
    }
    m_nativeFolder = target;
    pathLabel->setText(shown);
    fill(folderList, entries.folders, entries.nativeFolders);
    fill(fileList, entries.files, entries.nativeFiles);
    // The keyboard goes on from the top of the new folder list.
    if (folderList->count() > 0)
        folderList->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QStringList drives;
    for (int i = 0; i < Drive1->count(); ++i)
        drives.append(Drive1->itemText(i));
    m_driveIndex = std::max(0, int(drives.indexOf(SearchPath::driveOf(drives, shown))));
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
    if (!browseTo(NativeName::encode(Drive1->currentText())))
        Drive1->setCurrentIndex(m_driveIndex);
}

void TemplateFolderBrowser::Folder_DblClick()
{
    QListWidgetItem *item = folderList->currentItem();
    if (!item)
        return;
    const QByteArray name = item->data(Qt::UserRole).toByteArray();
    if (name == "..") {
        // The folder ends in "/": its parent ends at the "/" before that.
        const qsizetype slash = m_nativeFolder.lastIndexOf('/', m_nativeFolder.size() - 2);
        if (slash >= 0)
            browseTo(m_nativeFolder.left(slash + 1));
        return;
    }
    browseTo(m_nativeFolder + name);
}
