#include "search/widgets/QUAV_Search_Sikibetu_Hensyu.h"

#include "base/Workbench.h"
#include "platform/MessagePort.h"
#include "settings/SettingsIo.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

QUAV_Search_Sikibetu_Hensyu::QUAV_Search_Sikibetu_Hensyu(Workbench &wb)
    : QuavDialog(wb)
    , m_editor(wb.settings.SIKIBETU)
{
    setWindowTitle(QStringLiteral("識別子　登録　編集"));

    Text1 = new QLineEdit(this);
    List1 = new QListWidget(this);
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List1->setMinimumHeight(List1->fontMetrics().height() * 10);
    Cmd_Tuika = new QPushButton(QStringLiteral("追加"), this);
    Cmd_Tuika->setDefault(true);
    Cmd_Sakujyo = new QPushButton(QStringLiteral("削除"), this);
    Cmd_End = new QPushButton(QStringLiteral("編集登録"), this);
    Cmd_Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    nameControls({{Text1, "Text1"}, {List1, "List1"}, {Cmd_Tuika, "Cmd_Tuika"}, {Cmd_Sakujyo, "Cmd_Sakujyo"},
                  {Cmd_End, "Cmd_End"}, {Cmd_Cancel, "Cmd_Cancel"}});
    for (QPushButton *b : {Cmd_Sakujyo, Cmd_End, Cmd_Cancel})
        b->setAutoDefault(false);

    auto *example = new QLabel(QStringLiteral("例　　TXT"), this);
    example->setBuddy(Text1);

    auto *grid = new QGridLayout(this);
    grid->addWidget(example, 0, 0);
    grid->addWidget(Text1, 1, 0);
    grid->addWidget(Cmd_Tuika, 1, 1);
    grid->addWidget(List1, 2, 0, 3, 1);
    grid->addWidget(Cmd_Sakujyo, 2, 1, Qt::AlignTop);
    grid->addWidget(Cmd_End, 3, 1, Qt::AlignBottom);
    grid->addWidget(Cmd_Cancel, 4, 1, Qt::AlignBottom);
    grid->setSizeConstraint(QLayout::SetMinimumSize);

    connect(Cmd_Tuika, &QPushButton::clicked, this, &QUAV_Search_Sikibetu_Hensyu::Cmd_Tuika_Click);
    connect(Cmd_Sakujyo, &QPushButton::clicked, this, &QUAV_Search_Sikibetu_Hensyu::Cmd_Sakujyo_Click);
    connect(Cmd_End, &QPushButton::clicked, this, &QUAV_Search_Sikibetu_Hensyu::Cmd_End_Click);
    connect(Cmd_Cancel, &QPushButton::clicked, this, &QUAV_Search_Sikibetu_Hensyu::Cmd_Cancel_Click);

    showItems();
}

void QUAV_Search_Sikibetu_Hensyu::setButtonsEnabled(bool enabled)
{
    for (QPushButton *b : {Cmd_Tuika, Cmd_Sakujyo, Cmd_End, Cmd_Cancel})
        b->setEnabled(enabled);
}

void QUAV_Search_Sikibetu_Hensyu::showItems()
{
    List1->clear();
    List1->addItems(m_editor.items());
}

void QUAV_Search_Sikibetu_Hensyu::Cmd_Tuika_Click()
{
    setButtonsEnabled(false);
    QString text = Text1->text();
    if (m_editor.Add(text, *m_wb.messages))
        List1->addItem(m_editor.items().constLast());
    Text1->setText(text);
    setButtonsEnabled(true);
    Text1->setFocus();
}

void QUAV_Search_Sikibetu_Hensyu::Cmd_Sakujyo_Click()
{
    setButtonsEnabled(false);
    QList<int> rows;
    for (const QListWidgetItem *item : List1->selectedItems())
        rows.append(List1->row(item));
    if (m_editor.Remove(rows, *m_wb.messages)) {
        std::sort(rows.begin(), rows.end());
        for (auto it = rows.crbegin(); it != rows.crend(); ++it)
            delete List1->takeItem(*it);
    }
    setButtonsEnabled(true);
}

void QUAV_Search_Sikibetu_Hensyu::Cmd_End_Click()
{
    setButtonsEnabled(false);
    m_editor.Store(m_wb.settings.SIKIBETU);
    SettingsIo::Write_Search_Sikibetu(m_wb);
    finish();
}

void QUAV_Search_Sikibetu_Hensyu::Cmd_Cancel_Click()
{
    setButtonsEnabled(false);
    finish();
}

void QUAV_Search_Sikibetu_Hensyu::closeEvent(QCloseEvent *event)
{
    QuavDialog::closeEvent(event);
    Q_EMIT closed();
}
