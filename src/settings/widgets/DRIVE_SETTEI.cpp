#include "settings/widgets/DRIVE_SETTEI.h"

#include "base/Workbench.h"
#include "platform/MessagePort.h"
#include "settings/SearchPath.h"
#include "settings/SettingsIo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

const QString DRIVE_SETTEI::kCaption = QStringLiteral("サーチパス選択");

DRIVE_SETTEI::DRIVE_SETTEI(Workbench &wb, const QStringList &drives)
    : QuavDialog(wb)
{
    setWindowTitle(kCaption);

    Drive1 = new QComboBox(this);
    Drive1->addItems(drives.isEmpty() ? SearchPath::Drive_List() : SearchPath::Drive_List(drives));
    List1 = new QListWidget(this);
    List2 = new QListWidget(this);
    List2->setSelectionMode(QAbstractItemView::NoSelection);
    List2->setFocusPolicy(Qt::NoFocus);
    for (QListWidget *l : {List1, List2}) {
        l->setMinimumSize(200, l->fontMetrics().height() * 12);
        l->setSortingEnabled(false);
    }
    Label1 = new QLabel(this);
    Label1->setWordWrap(true);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setMinimumWidth(300);
    Label2 = new QLabel(QStringLiteral("PATH ="), this);
    Label3 = new QLabel(QStringLiteral("フォルダー選択"), this);
    Label3->setBuddy(List1);
    Check1 = new QCheckBox(QStringLiteral("フォルダーリストに登録する"), this);
    Command1 = new QPushButton(QStringLiteral("選択・登録"), this);
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("キャンセル"), this);
    Command2->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(Label2, 0, Qt::AlignTop);
    pathRow->addWidget(Label1, 1);
    grid->addLayout(pathRow, 0, 0, 1, 2);
    grid->addWidget(Drive1, 1, 0, 1, 2);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(List1, 3, 0);
    grid->addWidget(List2, 3, 1);
    grid->addWidget(Check1, 4, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    grid->addLayout(buttons, 5, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetMinimumSize);

    connect(Drive1, &QComboBox::activated, this, &DRIVE_SETTEI::Drive1_Change);
    connect(List1, &QListWidget::itemDoubleClicked, this, &DRIVE_SETTEI::List1_DblClick);
    // Return on a folder enters it rather than pressing the default button.
    List1->installEventFilter(this);
    connect(Command1, &QPushButton::clicked, this, &DRIVE_SETTEI::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &DRIVE_SETTEI::Command2_Click);

    Form_Load();
}

void DRIVE_SETTEI::Form_Load()
{
    List1->clear();
    List2->clear();
    // The current directory may have been removed since it was entered; then
    // browsing starts from the search folder, the home folder or the root.
    const QString here = SearchPath::Current_Directory();
    SearchPath::FolderLists probe;
    if (here.isEmpty() || !SearchPath::Fill_Folder_Lists(here, probe, nullptr)) {
        for (const QString &fallback : {m_wb.work.Search_Path, QDir::homePath(), QStringLiteral("/")})
            if (SearchPath::Enter_For_Browsing(fallback, nullptr))
                break;
    }
    m_folder = QDir::currentPath();
    selectDriveOf(m_folder);
    Fill_Folder_Lists();
}

void DRIVE_SETTEI::selectDriveOf(const QString &folder)
{
    QStringList drives;
    for (int i = 0; i < Drive1->count(); ++i)
        drives.append(Drive1->itemText(i));
    m_driveIndex = std::max(0, int(drives.indexOf(SearchPath::Drive_Of(drives, folder))));
    Drive1->setCurrentIndex(m_driveIndex);
}

void DRIVE_SETTEI::Fill_Folder_Lists()
{
    Label1->setText(m_folder);
    List1->clear();
    List2->clear();
    SearchPath::FolderLists lists;
    QString why;
    if (SearchPath::Fill_Folder_Lists(m_folder, lists, &why)) {
        List1->addItems(lists.folders);
        List2->addItems(lists.files);
    } else {
        List1->addItem(QStringLiteral(".."));
    }
}

bool DRIVE_SETTEI::browseTo(const QString &folder)
{
    QString why;
    if (!SearchPath::Enter_For_Browsing(folder, &why)) {
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

void DRIVE_SETTEI::Drive1_Change()
{
    if (browseTo(Drive1->currentText()))
        m_driveIndex = Drive1->currentIndex();
    else
        Drive1->setCurrentIndex(m_driveIndex);
}

void DRIVE_SETTEI::List1_DblClick()
{
    if (List1->count() == 0)
        return;
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    int row = selected.isEmpty() ? 0 : List1->row(selected.first());
    for (const QListWidgetItem *item : selected)
        row = std::min(row, List1->row(item));
    const QString name = List1->item(row)->text();
    // Relative to the folder shown, which stays known even when it has been
    // removed while shown (the system then no longer reports it).
    const QString target = name == QLatin1String("..") ? QDir::cleanPath(m_folder + QStringLiteral("/.."))
                                                       : QDir(m_folder).filePath(name);
    if (browseTo(target)) {
        selectDriveOf(m_folder);
        if (List1->count() > 0)
            List1->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    }
}

void DRIVE_SETTEI::Command1_Click()
{
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    const QString folder = SearchPath::Current_Directory();
    if (folder.isEmpty()) {
        m_wb.messages->show(QStringLiteral("表示中のフォルダーが見つかりません。（削除または移動された可能性があります。）"),
                            kCaption, MessagePort::Icon::Exclamation);
        Command1->setEnabled(true);
        Command2->setEnabled(true);
        return;
    }
    m_wb.work.Search_Path = folder;
    m_wb.status.setText(StatusPanels::kPath, folder);
    if (Check1->isChecked()) {
        SearchPath::Record_Folder(m_wb.settings.PATH, m_wb.settings.DEFAULT_PATH, folder);
        QString error;
        if (!SettingsIo::Write_Search_Path(m_wb, &error))
            m_wb.messages->show(error, kCaption, MessagePort::Icon::Critical);
    }
    finish();
}

void DRIVE_SETTEI::Command2_Click()
{
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    finish();
}

void DRIVE_SETTEI::reject()
{
    Command2_Click();
}

bool DRIVE_SETTEI::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && List1->currentItem()) {
            List1->currentItem()->setSelected(true);
            List1_DblClick();
            return true;
        }
    }
    return QuavDialog::eventFilter(watched, event);
}
