#include "search/widgets/QUAV_SEARCH_SETTEI.h"

#include "base/Workbench.h"
#include "platform/MessagePort.h"
#include "search/SearchHistory.h"
#include "search/SearchRun.h"
#include "search/SearchForm.h"
#include "search/SearchWord.h"
#include "search/widgets/QUAV_Search_Sikibetu_Hensyu.h"
#include "settings/SearchPath.h"
#include "settings/widgets/QUAV_FOLDER_SENTAKU.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Long history entries (thousands of characters are accepted) must not widen
// the dialog beyond the screen.
void keepNarrow(QComboBox *combo)
{
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(32);
}

} // namespace

QUAV_SEARCH_SETTEI::QUAV_SEARCH_SETTEI(Workbench &wb, std::function<void()> buildViews)
    : QuavDialog(wb)
    , m_buildViews(std::move(buildViews))
{
    buildUi();
    Form_Load();
    Form_Activate();
}

void QUAV_SEARCH_SETTEI::buildUi()
{
    setWindowTitle(QStringLiteral("ＱＵＡＶ　サーチ諸元設定"));

    Combo_Search_Data = new QComboBox(this);
    Combo_Search_Data->setEditable(true);
    Combo_Search_Data->setInsertPolicy(QComboBox::NoInsert);
    // The word is searched exactly as typed: completion would replace it by
    // a history entry that differs in letter case (or only begins with it),
    // and Return would then pick that entry. The history is in the list.
    Combo_Search_Data->setCompleter(nullptr);
    keepNarrow(Combo_Search_Data);
    Check_Data_Default = new QCheckBox(QStringLiteral("ﾃﾞﾌｫﾙﾄ登録する"), this);

    Combo_Search_Sikibetu = new QComboBox(this);
    Combo_Search_Sikibetu->setEditable(true);
    Combo_Search_Sikibetu->setInsertPolicy(QComboBox::NoInsert);
    keepNarrow(Combo_Search_Sikibetu);
    Combo_Search_Sikibetu->setMinimumContentsLength(8);
    // Listed identifiers are upper case and a search compares them exactly
    // with the upper-case identifiers of the files: typed text follows suit.
    QLineEdit *idEdit = Combo_Search_Sikibetu->lineEdit();
    connect(idEdit, &QLineEdit::textEdited, this, [idEdit](const QString &text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int pos = idEdit->cursorPosition();
            idEdit->setText(upper);
            idEdit->setCursorPosition(pos);
        }
    });
    Check_Sikibetu_Default = new QCheckBox(QStringLiteral("ﾃﾞﾌｫﾙﾄ登録する"), this);
    Check_Sikibetu_All = new QCheckBox(QStringLiteral("登録識別子全て"), this);
    Cmd_Sikibetu_Hensyu = new QPushButton(QStringLiteral("編集"), this);
    Cmd_Sikibetu_Hensyu->setAutoDefault(false);

    auto *caseFrame = new QGroupBox(QStringLiteral("大文字小文字の区別"), this);
    Opt_Moji_Kubetu_Yes = new QRadioButton(QStringLiteral("する"), caseFrame);
    Opt_Moji_Kubetu_No = new QRadioButton(QStringLiteral("しない"), caseFrame);
    auto *caseLayout = new QHBoxLayout(caseFrame);
    caseLayout->addWidget(Opt_Moji_Kubetu_Yes);
    caseLayout->addWidget(Opt_Moji_Kubetu_No);
    caseLayout->addStretch();

    auto *subFrame = new QGroupBox(QStringLiteral("サブディレクトリーの検索"), this);
    Opt_SUB_DIR_YES = new QRadioButton(QStringLiteral("する"), subFrame);
    Opt_SUB_DIR_NO = new QRadioButton(QStringLiteral("しない"), subFrame);
    auto *subLayout = new QHBoxLayout(subFrame);
    subLayout->addWidget(Opt_SUB_DIR_YES);
    subLayout->addWidget(Opt_SUB_DIR_NO);
    subLayout->addStretch();

    auto *encodingFrame = new QGroupBox(QStringLiteral("ファイルの文字コード"), this);
    Opt_Encoding_Auto = new QRadioButton(QStringLiteral("自動判定"), encodingFrame);
    Opt_Encoding_Auto->setToolTip(QStringLiteral("BOM、UTF-8 として正しいかを見てファイルごとに判定します"));
    Opt_Encoding_Cp932 = new QRadioButton(QStringLiteral("すべてシフトJIS"), encodingFrame);
    auto *encodingLayout = new QHBoxLayout(encodingFrame);
    encodingLayout->addWidget(Opt_Encoding_Auto);
    encodingLayout->addWidget(Opt_Encoding_Cp932);
    encodingLayout->addStretch();

    LBL_SEARCH_PATH = new QLabel(this);
    LBL_SEARCH_PATH->setWordWrap(true);
    LBL_SEARCH_PATH->setTextFormat(Qt::PlainText);
    LBL_SEARCH_PATH->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LBL_SEARCH_PATH->setMinimumWidth(240);
    Cmd_Path_Saisettei = new QPushButton(QStringLiteral("再設定"), this);
    Cmd_Path_Saisettei->setAutoDefault(false);

    CMD_SEARCH = new QPushButton(QStringLiteral("サーチ開始"), this);
    CMD_SEARCH->setDefault(true);
    CMD_CANCEL = new QPushButton(QStringLiteral("キャンセル"), this);
    nameControls({{Combo_Search_Data, "Combo_Search_Data"}, {Check_Data_Default, "Check_Data_Default"},
                  {Combo_Search_Sikibetu, "Combo_Search_Sikibetu"},
                  {Check_Sikibetu_Default, "Check_Sikibetu_Default"},
                  {Check_Sikibetu_All, "Check_Sikibetu_All"}, {Cmd_Sikibetu_Hensyu, "Cmd_Sikibetu_Hensyu"},
                  {Opt_Moji_Kubetu_Yes, "Opt_Moji_Kubetu_Yes"}, {Opt_Moji_Kubetu_No, "Opt_Moji_Kubetu_No"},
                  {Opt_SUB_DIR_YES, "Opt_SUB_DIR_YES"}, {Opt_SUB_DIR_NO, "Opt_SUB_DIR_NO"},
                  {Opt_Encoding_Auto, "Opt_Encoding_Auto"}, {Opt_Encoding_Cp932, "Opt_Encoding_Cp932"},
                  {LBL_SEARCH_PATH, "LBL_SEARCH_PATH"}, {Cmd_Path_Saisettei, "Cmd_Path_Saisettei"},
                  {CMD_SEARCH, "CMD_SEARCH"}, {CMD_CANCEL, "CMD_CANCEL"}});
    CMD_CANCEL->setAutoDefault(false);

    auto *grid = new QGridLayout;
    int row = 0;
    auto *wordLabel = new QLabel(QStringLiteral("サーチ文字"), this);
    wordLabel->setBuddy(Combo_Search_Data);
    grid->addWidget(wordLabel, row, 0);
    grid->addWidget(Combo_Search_Data, row, 1, 1, 2);
    grid->addWidget(Check_Data_Default, row, 3);
    ++row;
    auto *idLabel = new QLabel(QStringLiteral("サーチ対象識別子"), this);
    idLabel->setBuddy(Combo_Search_Sikibetu);
    grid->addWidget(idLabel, row, 0);
    grid->addWidget(Combo_Search_Sikibetu, row, 1);
    grid->addWidget(Cmd_Sikibetu_Hensyu, row, 2);
    grid->addWidget(Check_Sikibetu_Default, row, 3);
    ++row;
    grid->addWidget(Check_Sikibetu_All, row, 1, 1, 3);
    grid->setColumnStretch(1, 1);

    auto *frames = new QHBoxLayout;
    frames->addWidget(caseFrame);
    frames->addWidget(subFrame);
    frames->addWidget(encodingFrame);

    auto *pathRow = new QHBoxLayout;
    auto *pathLabel = new QLabel(QStringLiteral("サーチPATH　="), this);
    pathLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pathRow->addWidget(pathLabel);
    pathRow->addWidget(LBL_SEARCH_PATH, 1);
    pathRow->addWidget(Cmd_Path_Saisettei, 0, Qt::AlignTop);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CMD_SEARCH);
    buttons->addWidget(CMD_CANCEL);

    auto *top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addLayout(frames);
    top->addLayout(pathRow);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetMinimumSize);

    connect(Check_Data_Default, &QCheckBox::clicked, this, &QUAV_SEARCH_SETTEI::Check_Data_Default_Click);
    connect(Check_Sikibetu_Default, &QCheckBox::clicked, this, &QUAV_SEARCH_SETTEI::Check_Sikibetu_Default_Click);
    connect(Check_Sikibetu_All, &QCheckBox::clicked, this, &QUAV_SEARCH_SETTEI::Check_Sikibetu_All_Click);
    connect(Cmd_Sikibetu_Hensyu, &QPushButton::clicked, this, &QUAV_SEARCH_SETTEI::Cmd_Sikibetu_Hensyu_Click);
    connect(Cmd_Path_Saisettei, &QPushButton::clicked, this, &QUAV_SEARCH_SETTEI::Cmd_Path_Saisettei_Click);
    connect(CMD_SEARCH, &QPushButton::clicked, this, &QUAV_SEARCH_SETTEI::CMD_SEARCH_Click);
    connect(CMD_CANCEL, &QPushButton::clicked, this, &QUAV_SEARCH_SETTEI::CMD_CANCEL_Click);
}

void QUAV_SEARCH_SETTEI::Form_Load()
{
    const Settings &s = m_wb.settings;
    Combo_Search_Data->clear();
    Combo_Search_Data->addItems(SearchHistory::nonEmpty(s.DATA));
    Combo_Search_Data->setEditText(SearchHistory::defaultText(s.DATA, s.DEFAULT_DATA));
    // Ticked as by a click: with no default text yet (first use) the user is
    // told at once and the box comes up unticked.
    Check_Data_Default->setChecked(true);
    Check_Data_Default_Click();
    showSearchPath(m_wb.work.Search_Path);
    (s.SUB_DIR_FLG == 1 ? Opt_SUB_DIR_YES : Opt_SUB_DIR_NO)->setChecked(true);
    Opt_Moji_Kubetu_No->setChecked(true);
    (s.encodingChoice() == EncodingChoice::Cp932 ? Opt_Encoding_Cp932 : Opt_Encoding_Auto)->setChecked(true);
}

void QUAV_SEARCH_SETTEI::Form_Activate()
{
    const Settings &s = m_wb.settings;
    Combo_Search_Sikibetu->clear();
    for (const QString &id : s.SIKIBETU)
        if (!id.isEmpty())
            Combo_Search_Sikibetu->addItem(id);
    if (s.SIKIBETU_ALL_FLG == 1) {
        Check_Sikibetu_All->setChecked(true);
        Check_Sikibetu_All_Click();
        Check_Sikibetu_Default->setChecked(false);
        Combo_Search_Sikibetu->setEditText(QString());
    } else {
        Check_Sikibetu_All->setChecked(false);
        Check_Sikibetu_All_Click();
        Check_Sikibetu_Default->setChecked(false);
        const qint32 d = s.DEFAULT_SIKIBETU;
        Combo_Search_Sikibetu->setEditText(d >= 0 && d < qint32(s.SIKIBETU.size()) ? s.SIKIBETU[size_t(d)]
                                                                                     : QString());
    }
}

void QUAV_SEARCH_SETTEI::COMBO_SEARCH_DATA_REFRESH()
{
    const QString text = Combo_Search_Data->currentText();
    Combo_Search_Data->clear();
    Combo_Search_Data->addItems(SearchHistory::All(m_wb.settings.DATA));
    Combo_Search_Data->setEditText(text);
}

void QUAV_SEARCH_SETTEI::showSearchPath(const QString &path)
{
    LBL_SEARCH_PATH->setText(path);
    LBL_SEARCH_PATH->setToolTip(path);
}

void QUAV_SEARCH_SETTEI::Check_Data_Default_Click()
{
    if (Check_Data_Default->isChecked() && SearchWord::trimSpaces(Combo_Search_Data->currentText()).isEmpty()) {
        m_wb.messages->show(QStringLiteral("サーチ文字が設定されていません。"), SearchForm::kCaption,
                            MessagePort::Icon::Exclamation);
        Check_Data_Default->setChecked(false);
    }
}

void QUAV_SEARCH_SETTEI::Check_Sikibetu_Default_Click()
{
    if (Check_Sikibetu_Default->isChecked() && SearchWord::trimSpaces(Combo_Search_Sikibetu->currentText()).isEmpty()) {
        m_wb.messages->show(QStringLiteral("識別子が選択されていません。"), SearchForm::kCaption,
                            MessagePort::Icon::Exclamation);
        Check_Sikibetu_Default->setChecked(false);
    }
}

void QUAV_SEARCH_SETTEI::Check_Sikibetu_All_Click()
{
    const bool all = Check_Sikibetu_All->isChecked();
    // Takes effect at once: a cancelled dialog still leaves the choice for
    // the next opening (the store hears of it with the next search).
    m_wb.settings.SIKIBETU_ALL_FLG = all ? 1 : 0;
    if (all) {
        Check_Sikibetu_Default->setChecked(false);
        Combo_Search_Sikibetu->setEditText(QString());
    }
    Check_Sikibetu_Default->setEnabled(!all);
    Combo_Search_Sikibetu->setEnabled(!all);
}

void QUAV_SEARCH_SETTEI::Cmd_Sikibetu_Hensyu_Click()
{
    auto *editor = new QUAV_Search_Sikibetu_Hensyu(m_wb);
    connect(editor, &QUAV_Search_Sikibetu_Hensyu::closed, this, &QUAV_SEARCH_SETTEI::Form_Activate);
    editor->openFrom(this);
}

void QUAV_SEARCH_SETTEI::Cmd_Path_Saisettei_Click()
{
    SearchPath::Folder_From_Search_Flg = 1;
    auto *folders = new QUAV_FOLDER_SENTAKU(m_wb, this);
    connect(folders, &QUAV_FOLDER_SENTAKU::folderChosen, this, &QUAV_SEARCH_SETTEI::showSearchPath);
    folders->openFrom(this);
}

SearchChoice QUAV_SEARCH_SETTEI::choice() const
{
    SearchChoice c;
    c.searchText = Combo_Search_Data->currentText();
    c.identifierText = Combo_Search_Sikibetu->currentText();
    for (int i = 0; i < Combo_Search_Sikibetu->count(); ++i)
        c.identifierItems.append(Combo_Search_Sikibetu->itemText(i));
    c.dataDefault = Check_Data_Default->isChecked();
    c.sikibetuDefault = Check_Sikibetu_Default->isChecked();
    c.sikibetuAll = Check_Sikibetu_All->isChecked();
    c.subDirs = Opt_SUB_DIR_YES->isChecked();
    c.caseSensitive = Opt_Moji_Kubetu_Yes->isChecked();
    c.encoding = Opt_Encoding_Cp932->isChecked() ? EncodingChoice::Cp932 : EncodingChoice::Detect;
    return c;
}

void QUAV_SEARCH_SETTEI::CMD_SEARCH_Click()
{
    CMD_SEARCH->setEnabled(false);
    CMD_CANCEL->setEnabled(false);
    const SearchChoice c = choice();
    switch (SearchForm::Check(*m_wb.messages, c)) {
    case SearchForm::Refusal::None:
        break;
    case SearchForm::Refusal::NoWord:
    case SearchForm::Refusal::LineBreak:
    case SearchForm::Refusal::NotShiftJis:
        CMD_SEARCH->setEnabled(true);
        CMD_CANCEL->setEnabled(true);
        Combo_Search_Data->setFocus();
        return;
    case SearchForm::Refusal::NoIdentifier:
        CMD_SEARCH->setEnabled(true);
        CMD_CANCEL->setEnabled(true);
        Combo_Search_Sikibetu->setFocus();
        return;
    }

    SearchForm::storeChoices(m_wb, c);
    Combo_Search_Data->setEditText(m_wb.work.Search_Word);
    COMBO_SEARCH_DATA_REFRESH();

    // The main window comes back so that STOP can be pressed during the run.
    if (QWidget *main = opener())
        main->setEnabled(true);
    hide();
    SearchForm::prepareRun(m_wb.board, m_wb.work, m_wb.status, c.caseSensitive);
    SearchRun::Search_Execute(m_wb, SearchForm::request(c, m_wb.settings, m_wb.work), m_buildViews);
    finish();
}

void QUAV_SEARCH_SETTEI::CMD_CANCEL_Click()
{
    CMD_SEARCH->setEnabled(false);
    CMD_CANCEL->setEnabled(false);
    finish();
}

void QUAV_SEARCH_SETTEI::reject()
{
    // Escape and the close box while a child dialog has this one disabled do
    // nothing; otherwise they cancel.
    if (isEnabled())
        CMD_CANCEL_Click();
}
