#include "template/widgets/Quav_Parameter_Read.h"

#include "base/Workbench.h"
#include "template/widgets/TemplateFolderBrowser.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

const QString Quav_Parameter_Read::kTitle = QStringLiteral("複製用パラメーター読み込み");

Quav_Parameter_Read::Quav_Parameter_Read(Workbench &wb)
    : QuavDialog(wb)
    , m_images(wb.parameters)
{
    setObjectName(QStringLiteral("Quav_Parameter_Read"));
    setWindowTitle(kTitle);
    browser = new TemplateFolderBrowser(this, wb.settings.SIKIBETU, wb.messages, ParameterForm::kCaption);
    Drive1 = browser->Drive1;
    List2 = browser->folderList;
    List3 = browser->fileList;
    Label2 = browser->pathLabel;
    Label1 = browser->pathCaption;
    Label9 = browser->folderCaption;
    List3->setSelectionMode(QAbstractItemView::SingleSelection);
    List1 = new QListWidget(this);
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Txt_Tuika = new QLineEdit(this);
    Cmd_Tuika = new QPushButton(QStringLiteral("追加"), this);
    Cmd_Sakujyo = new QPushButton(QStringLiteral("削除"), this);
    Cmd_Read = new QPushButton(QStringLiteral("読み込み"), this);
    Cmd_Cancel = new QPushButton(this);
    for (QPushButton *b : {Cmd_Tuika, Cmd_Sakujyo, Cmd_Read, Cmd_Cancel})
        b->setAutoDefault(false);
    Label3 = new QLabel(QStringLiteral("↑　サーチ諸元設定で編集した識別子が対象です。　　　　また、複数選択はできません。"), this);
    TemplateFolderBrowser::fitNote(Label3);
    Label4 = new QLabel(QStringLiteral("現在パラメータイメージ"), this);
    Label6 = new QLabel(QStringLiteral("イメージ追加"), this);

    nameControls({{Drive1, "Drive1"}, {List2, "List2"}, {List3, "List3"}, {List1, "List1"},
                  {Txt_Tuika, "Txt_Tuika"}, {Cmd_Tuika, "Cmd_Tuika"}, {Cmd_Sakujyo, "Cmd_Sakujyo"},
                  {Cmd_Read, "Cmd_Read"}, {Cmd_Cancel, "Cmd_Cancel"}, {Label1, "Label1"}, {Label2, "Label2"},
                  {Label3, "Label3"}, {Label4, "Label4"}, {Label6, "Label6"}, {Label9, "Label9"}});

    auto *grid = new QGridLayout(this);
    browser->placeIn(grid, 3);
    grid->addWidget(Label3, 4, 1);
    grid->addWidget(Cmd_Read, 5, 1);
    grid->addWidget(Label4, 1, 2);
    grid->addWidget(List1, 2, 2, 2, 1);
    grid->addWidget(Cmd_Sakujyo, 4, 2);
    grid->addWidget(Label6, 5, 2);
    auto *add = new QHBoxLayout;
    add->addWidget(Txt_Tuika, 1);
    add->addWidget(Cmd_Tuika);
    grid->addLayout(add, 6, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Cmd_Cancel);
    grid->addLayout(buttons, 7, 0, 1, 3);

    connect(Cmd_Read, &QPushButton::clicked, this, &Quav_Parameter_Read::Cmd_Read_Click);
    connect(Cmd_Tuika, &QPushButton::clicked, this, &Quav_Parameter_Read::Cmd_Tuika_Click);
    connect(Txt_Tuika, &QLineEdit::returnPressed, this, &Quav_Parameter_Read::Cmd_Tuika_Click);
    connect(Cmd_Sakujyo, &QPushButton::clicked, this, &Quav_Parameter_Read::Cmd_Sakujyo_Click);
    connect(Cmd_Cancel, &QPushButton::clicked, this, &Quav_Parameter_Read::CMD_CANCEL_Click);

    showImages();
    browser->browseFrom(wb.work.Search_Path);
}

void Quav_Parameter_Read::showImages()
{
    List1->clear();
    List1->addItems(m_images.images());
    Cmd_Cancel->setText(m_images.commitCaption());
}

void Quav_Parameter_Read::Cmd_Read_Click()
{
    const QList<QByteArray> selected = browser->selectedFiles();
    if (m_wb.messages && m_images.readCard(selected.value(0), *m_wb.messages))
        showImages();
}

void Quav_Parameter_Read::Cmd_Tuika_Click()
{
    // The box keeps what was typed, trimmed, whether it was added or not.
    QString typed = Txt_Tuika->text();
    const bool added = m_wb.messages && m_images.Add(typed, *m_wb.messages);
    Txt_Tuika->setText(typed);
    if (added)
        showImages();
}

void Quav_Parameter_Read::Cmd_Sakujyo_Click()
{
    QList<int> rows;
    for (int i = 0; i < List1->count(); ++i)
        if (List1->item(i)->isSelected())
            rows.append(i);
    if (m_wb.messages && m_images.Delete(rows, *m_wb.messages))
        showImages();
}

void Quav_Parameter_Read::CMD_CANCEL_Click()
{
    if (!m_images.commitTo(m_wb))
        return;
    finish();
}
