#include "settings/widgets/QUAV_FOLDER_SENTAKU.h"

#include "base/Workbench.h"
#include "settings/FolderChoiceForm.h"
#include "settings/SearchPath.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

QUAV_FOLDER_SENTAKU::QUAV_FOLDER_SENTAKU(Workbench &wb, QWidget *searchDialog)
    : QuavDialog(wb)
    , m_searchDialog(searchDialog)
{
    setWindowTitle(FolderChoiceForm::kCaption);
    Label1 = new QLabel(QStringLiteral("フォルダー履歴一覧"), this);
    List1 = new QListWidget(this);
    Label1->setBuddy(List1);
    List1->addItems(SearchPath::historyLines(wb.settings.PATH, wb.settings.DEFAULT_PATH));
    List1->setMinimumWidth(List1->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 40);
    List1->setMinimumHeight(List1->sizeHintForRow(0) * SearchPath::kHistory + 2 * List1->frameWidth() + 4);
    // The cursor starts on the default entry, unselected: choosing needs a
    // selection, but the arrow keys start from the entry used last.
    if (wb.settings.DEFAULT_PATH >= 0 && wb.settings.DEFAULT_PATH < List1->count())
        List1->setCurrentRow(wb.settings.DEFAULT_PATH, QItemSelectionModel::NoUpdate);
    Command1 = new QPushButton(QStringLiteral("選択"), this);
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("キャンセル"), this);
    nameControls({{List1, "List1"}, {Label1, "Label1"}, {Command1, "Command1"}, {Command2, "Command2"}});
    Command2->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *top = new QVBoxLayout(this);
    top->addWidget(Label1);
    top->addWidget(List1);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetMinimumSize);

    connect(List1, &QListWidget::itemDoubleClicked, this, &QUAV_FOLDER_SENTAKU::Command1_Click);
    connect(Command1, &QPushButton::clicked, this, &QUAV_FOLDER_SENTAKU::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QUAV_FOLDER_SENTAKU::Command2_Click);
}

void QUAV_FOLDER_SENTAKU::Command1_Click()
{
    int index = -1;
    for (int i = 0; i < List1->count(); ++i)
        if (List1->item(i)->isSelected())
            index = i;
    if (FolderChoiceForm::Check(*m_wb.messages, index, index < 0 ? QString() : List1->item(index)->text().mid(2))
        != FolderChoiceForm::Refusal::None)
        return;
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    const QString path = FolderChoiceForm::Take(m_wb, index);

    if (SearchPath::Folder_From_Search_Flg == 1 && m_searchDialog) {
        SearchPath::Folder_From_Search_Flg = 0;
        Q_EMIT folderChosen(path);
        finish(m_searchDialog);
    } else {
        SearchPath::Folder_From_Search_Flg = 0;
        finish();
    }
}

void QUAV_FOLDER_SENTAKU::Command2_Click()
{
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    SearchPath::Folder_From_Search_Flg = 0;
    finish(m_searchDialog);
}

void QUAV_FOLDER_SENTAKU::reject()
{
    Command2_Click();
}

void QUAV_FOLDER_SENTAKU::closeEvent(QCloseEvent *event)
{
    SearchPath::Folder_From_Search_Flg = 0;
    QuavDialog::closeEvent(event);
}
