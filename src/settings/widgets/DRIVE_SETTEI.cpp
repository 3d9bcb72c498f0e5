#include "settings/widgets/DRIVE_SETTEI.h"

#include "base/Workbench.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

DRIVE_SETTEI::DRIVE_SETTEI(Workbench &wb, const QStringList &drives)
    : QuavDialog(wb)
    , m_browser(wb, drives)
{
    setWindowTitle(PathBrowserForm::kCaption);

    Drive1 = new QComboBox(this);
    Drive1->addItems(m_browser.drives());
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
    nameControls({{Drive1, "Drive1"}, {List1, "List1"}, {List2, "List2"}, {Label1, "Label1"},
                  {Label2, "Label2"}, {Label3, "Label3"}, {Check1, "Check1"}, {Command1, "Command1"},
                  {Command2, "Command2"}});
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
    m_browser.Form_Load();
    render();
}

void DRIVE_SETTEI::render()
{
    Label1->setText(m_browser.folder());
    Drive1->setCurrentIndex(m_browser.driveIndex());
    List1->clear();
    List2->clear();
    List1->addItems(m_browser.lists().folders);
    List2->addItems(m_browser.lists().files);
}

void DRIVE_SETTEI::Drive1_Change()
{
    m_browser.chooseDrive(Drive1->currentIndex());
    render();
}

void DRIVE_SETTEI::List1_DblClick()
{
    if (List1->count() == 0)
        return;
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    int row = selected.isEmpty() ? 0 : List1->row(selected.first());
    for (const QListWidgetItem *item : selected)
        row = std::min(row, List1->row(item));
    const bool entered = m_browser.enterEntry(List1->item(row)->text());
    render();
    if (entered && List1->count() > 0)
        List1->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void DRIVE_SETTEI::Command1_Click()
{
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    if (!m_browser.Choose(Check1->isChecked())) {
        Command1->setEnabled(true);
        Command2->setEnabled(true);
        return;
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
