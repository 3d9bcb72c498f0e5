#include "search/SearchHistory.h"
#include "DialogControls.h"
#include "search/widgets/QUAV_SEARCH_SETTEI.h"
#include "search/widgets/QUAV_Search_Sikibetu_Hensyu.h"
#include "settings/SearchPath.h"
#include "settings/widgets/QUAV_FOLDER_SENTAKU.h"

#include "DialogFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

static const QString kCaption = QStringLiteral("ＱＵＡＶ　サーチ諸元設定");
static const QString kNoWord = QStringLiteral("サーチ文字が設定されていません。");

// A click on the box itself: a check box reacts only on its indicator and
// label, not on the whole width its layout gives it.
static void clickBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

class tst_SearchDialog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openingWithoutDefaultWord();
    void openingShowsSettings();
    void history_data();
    void history();
    void refusals_data();
    void refusals();
    void sikibetuAllKeptAfterCancel();
    void identifierDefault();
    void typedIdentifierUpperCase();
    void identifierEditorRefreshesList();
    void pathFromSearchDialog();
    void typedWordKeepsItsCase_data();
    void typedWordKeepsItsCase();
    void closeBoxIgnoredUnderChild_data();
    void closeBoxIgnoredUnderChild();

private:
    static QPointer<QUAV_SEARCH_SETTEI> open(DialogFixture &f)
    {
        QPointer<QUAV_SEARCH_SETTEI> d = new QUAV_SEARCH_SETTEI(f.wb);
        d->openFrom(&f.main);
        return d;
    }
};

void tst_SearchDialog::openingWithoutDefaultWord()
{
    DialogFixture f;
    auto d = open(f);
    QCOMPARE(f.port.texts(), QStringList{kNoWord});
    QCOMPARE(f.port.shown[0].caption, kCaption);
    QCOMPARE(f.port.shown[0].icon, MessagePort::Icon::Exclamation);
    QVERIFY(!control<QCheckBox>(d, "Check_Data_Default")->isChecked());
    QVERIFY(!f.main.isEnabled());
}

void tst_SearchDialog::openingShowsSettings()
{
    DialogFixture f;
    Settings &s = f.wb.settings;
    s.DATA = {QStringLiteral("a"), QString(), QStringLiteral("c")};
    s.DEFAULT_DATA = 2;
    s.SUB_DIR_FLG = 1;
    s.SIKIBETU_ALL_FLG = 0;
    s.SIKIBETU.fill(QString());
    s.SIKIBETU[0] = QStringLiteral("TXT");
    s.SIKIBETU[1] = QStringLiteral("CSV");
    s.DEFAULT_SIKIBETU = 1;
    f.wb.work.Search_Path = QStringLiteral("/home/User/Doc");
    auto d = open(f);
    QVERIFY(f.port.shown.isEmpty());
    QCOMPARE(control<QComboBox>(d, "Combo_Search_Data")->count(), 2);
    QCOMPARE(control<QComboBox>(d, "Combo_Search_Data")->currentText(), QStringLiteral("c"));
    QVERIFY(control<QCheckBox>(d, "Check_Data_Default")->isChecked());
    QCOMPARE(control<QLabel>(d, "LBL_SEARCH_PATH")->text(), QStringLiteral("/home/User/Doc"));
    QVERIFY(control<QRadioButton>(d, "Opt_SUB_DIR_YES")->isChecked());
    QVERIFY(control<QRadioButton>(d, "Opt_Moji_Kubetu_No")->isChecked());
    QCOMPARE(control<QComboBox>(d, "Combo_Search_Sikibetu")->count(), 2);
    QCOMPARE(control<QComboBox>(d, "Combo_Search_Sikibetu")->currentText(), QStringLiteral("CSV"));
    QVERIFY(control<QComboBox>(d, "Combo_Search_Sikibetu")->isEnabled());
    QVERIFY(!control<QCheckBox>(d, "Check_Sikibetu_All")->isChecked());
}

void tst_SearchDialog::history_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("makeDefault");
    QTest::addColumn<QStringList>("history");
    QTest::addColumn<int>("defaultData");
    const QStringList start{"a", "b", "c"};
    QTest::newRow("blanks trimmed, new entry first, default ticked")
        << "  new word  " << true << QStringList{"new word", "a", "b", "c"} << 0;
    QTest::newRow("known entry not moved, becomes default") << "c" << true << start << 2;
    QTest::newRow("unticked: the default stays the same text") << "new" << false
                                                                << QStringList{"new", "a", "b", "c"} << 2;
    QTest::newRow("very long word") << QString(4000, QChar(u'語')) << true
                                    << QStringList{QString(4000, QChar(u'語')), "a", "b", "c"} << 0;
}

void tst_SearchDialog::history()
{
    QFETCH(QString, typed);
    QFETCH(bool, makeDefault);
    QFETCH(QStringList, history);
    QFETCH(int, defaultData);

    DialogFixture f;
    Settings &s = f.wb.settings;
    s.DATA = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    s.DEFAULT_DATA = 1;
    s.SIKIBETU_ALL_FLG = 1;
    f.wb.board.applyStartup();
    auto d = open(f);
    control<QComboBox>(d, "Combo_Search_Data")->setEditText(typed);
    control<QCheckBox>(d, "Check_Data_Default")->setChecked(makeDefault);
    control<QRadioButton>(d, "Opt_Moji_Kubetu_Yes")->setChecked(true);
    QTest::mouseClick(control<QPushButton>(d, "CMD_SEARCH"), Qt::LeftButton);
    f.settle();

    QVERIFY(d.isNull());
    QVERIFY(f.port.shown.isEmpty());
    QVERIFY(f.main.isEnabled());
    QCOMPARE(SearchHistory::nonEmpty(s.DATA), history);
    QCOMPARE(s.DEFAULT_DATA, defaultData);
    QCOMPARE(f.wb.work.Search_Word, typed.trimmed());
    QCOMPARE(f.wb.work.Compare_Mode, qint16(0));
    QCOMPARE(f.wb.work.Current_Dir, f.dir.path() + QLatin1Char('/'));

    const SettingsStore disk = f.reread();
    QCOMPARE(disk.string(QStringLiteral("SEARCH_DATA"), QStringLiteral("DATA0")).value_or(QString()), history[0]);
    QCOMPARE(disk.number(QStringLiteral("SEARCH_DATA"), QStringLiteral("DEFAULT_DATA")).value_or(-1), defaultData);
    QCOMPARE(disk.number(QStringLiteral("SEARCH_SIKIBETU"), QStringLiteral("SIKIBETU_ALL_FLG")).value_or(-1), 1);
}

void tst_SearchDialog::refusals_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("identifier");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty word") << "   " << "TXT" << kNoWord;
    QTest::newRow("no identifier") << "x" << "" << QStringLiteral("サーチ対象識別子が設定されていません。");
    QTest::newRow("emoji in the word, every file read as Shift-JIS") << QStringLiteral("顔😀") << "TXT"
                                       << QStringLiteral("サーチ文字にシフトJISで表せない文字が含まれています。\r\n（😀）\r\n"
                                                         "この文字はシフトJISのファイルの中に現れないため、検索できません。");
}

void tst_SearchDialog::refusals()
{
    QFETCH(QString, typed);
    QFETCH(QString, identifier);
    QFETCH(QString, message);
    DialogFixture f;
    f.wb.settings.DATA[0] = QStringLiteral("old");
    f.wb.settings.SIKIBETU_ALL_FLG = 0;
    auto d = open(f);
    control<QComboBox>(d, "Combo_Search_Data")->setEditText(typed);
    control<QComboBox>(d, "Combo_Search_Sikibetu")->setEditText(identifier);
    control<QRadioButton>(d, "Opt_Encoding_Cp932")->setChecked(true);
    QTest::mouseClick(control<QPushButton>(d, "CMD_SEARCH"), Qt::LeftButton);
    f.settle();
    QVERIFY(!d.isNull());
    QVERIFY(d->isVisible());
    QCOMPARE(f.port.texts(), QStringList{message});
    QVERIFY(control<QPushButton>(d, "CMD_SEARCH")->isEnabled() && control<QPushButton>(d, "CMD_CANCEL")->isEnabled());
    QVERIFY(!f.main.isEnabled());
    QCOMPARE(SearchHistory::nonEmpty(f.wb.settings.DATA), QStringList{QStringLiteral("old")});
    QVERIFY(f.wb.work.Search_Word.isEmpty());
    QCOMPARE(f.wb.work.Search_Running, qint16(0));
}

void tst_SearchDialog::sikibetuAllKeptAfterCancel()
{
    DialogFixture f;
    f.wb.settings.DATA[0] = QStringLiteral("w");
    f.wb.settings.SIKIBETU_ALL_FLG = 0;
    auto d = open(f);
    QVERIFY(control<QComboBox>(d, "Combo_Search_Sikibetu")->isEnabled());
    clickBox(control<QCheckBox>(d, "Check_Sikibetu_All"));
    QVERIFY(control<QCheckBox>(d, "Check_Sikibetu_All")->isChecked());
    QCOMPARE(f.wb.settings.SIKIBETU_ALL_FLG, 1);
    QVERIFY(!control<QComboBox>(d, "Combo_Search_Sikibetu")->isEnabled());
    QVERIFY(!control<QCheckBox>(d, "Check_Sikibetu_Default")->isEnabled());
    QVERIFY(control<QComboBox>(d, "Combo_Search_Sikibetu")->currentText().isEmpty());
    QTest::mouseClick(control<QPushButton>(d, "CMD_CANCEL"), Qt::LeftButton);
    f.settle();
    QVERIFY(d.isNull());
    QVERIFY(f.main.isEnabled());
    QCOMPARE(f.wb.settings.SIKIBETU_ALL_FLG, 1);
    // Not yet in the store: the next search writes it.
    QCOMPARE(f.reread().number(QStringLiteral("SEARCH_SIKIBETU"), QStringLiteral("SIKIBETU_ALL_FLG")).value_or(-1),
             1 /* factory value */);

    auto again = open(f);
    QVERIFY(control<QCheckBox>(again, "Check_Sikibetu_All")->isChecked());
    QVERIFY(!control<QComboBox>(again, "Combo_Search_Sikibetu")->isEnabled());
    clickBox(control<QCheckBox>(again, "Check_Sikibetu_All"));
    QCOMPARE(f.wb.settings.SIKIBETU_ALL_FLG, 0);
    QVERIFY(control<QComboBox>(again, "Combo_Search_Sikibetu")->isEnabled());
}

void tst_SearchDialog::identifierDefault()
{
    DialogFixture f;
    Settings &s = f.wb.settings;
    s.DATA[0] = QStringLiteral("w");
    s.SIKIBETU_ALL_FLG = 0;
    s.SIKIBETU.fill(QString());
    s.SIKIBETU[0] = QStringLiteral("HTM");
    s.SIKIBETU[1] = QStringLiteral("TXT");
    s.DEFAULT_SIKIBETU = 0;
    auto d = open(f);
    control<QComboBox>(d, "Combo_Search_Sikibetu")->setEditText(QString());
    clickBox(control<QCheckBox>(d, "Check_Sikibetu_Default"));
    QCOMPARE(f.port.texts(), QStringList{QStringLiteral("識別子が選択されていません。")});
    QVERIFY(!control<QCheckBox>(d, "Check_Sikibetu_Default")->isChecked());

    control<QComboBox>(d, "Combo_Search_Sikibetu")->setCurrentIndex(1);
    clickBox(control<QCheckBox>(d, "Check_Sikibetu_Default"));
    QVERIFY(control<QCheckBox>(d, "Check_Sikibetu_Default")->isChecked());
    d->CMD_SEARCH_Click();
    QCOMPARE(s.DEFAULT_SIKIBETU, 1);
    QCOMPARE(f.wb.work.Search_Sikibetu, QStringLiteral("TXT"));
    QCOMPARE(s.SIKIBETU_ALL_FLG, 0);
    QCOMPARE(f.reread().number(QStringLiteral("SEARCH_SIKIBETU"), QStringLiteral("DEFAULT_SIKIBETU")).value_or(-1), 1);
}

void tst_SearchDialog::typedIdentifierUpperCase()
{
    DialogFixture f;
    f.wb.settings.DATA[0] = QStringLiteral("w");
    f.wb.settings.SIKIBETU_ALL_FLG = 0;
    auto d = open(f);
    QLineEdit *edit = control<QComboBox>(d, "Combo_Search_Sikibetu")->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("log"));
    QCOMPARE(control<QComboBox>(d, "Combo_Search_Sikibetu")->currentText(), QStringLiteral("LOG"));
    d->CMD_SEARCH_Click();
    QCOMPARE(f.wb.work.Search_Sikibetu, QStringLiteral("LOG"));
}

void tst_SearchDialog::identifierEditorRefreshesList()
{
    DialogFixture f;
    f.wb.settings.DATA[0] = QStringLiteral("w");
    f.wb.settings.SIKIBETU_ALL_FLG = 0;
    f.wb.settings.SIKIBETU.fill(QString());
    f.wb.settings.SIKIBETU[0] = QStringLiteral("TXT");
    auto d = open(f);
    QTest::mouseClick(control<QPushButton>(d, "Cmd_Sikibetu_Hensyu"), Qt::LeftButton);
    auto *editor = DialogFixture::find<QUAV_Search_Sikibetu_Hensyu>();
    QVERIFY(editor);
    QVERIFY(!d->isEnabled());
    control<QLineEdit>(editor, "Text1")->setText(QStringLiteral("doc"));
    editor->Cmd_Tuika_Click();
    editor->Cmd_End_Click();
    f.settle();
    QVERIFY(d->isEnabled());
    QVERIFY(!f.main.isEnabled());
    QCOMPARE(control<QComboBox>(d, "Combo_Search_Sikibetu")->count(), 2);
    QCOMPARE(control<QComboBox>(d, "Combo_Search_Sikibetu")->itemText(1), QStringLiteral("DOC"));
}

void tst_SearchDialog::pathFromSearchDialog()
{
    DialogFixture f;
    const QString folder = f.dir.path() + QStringLiteral("/Sub");
    QVERIFY(QDir().mkpath(folder));
    f.wb.settings.DATA[0] = QStringLiteral("w");
    f.wb.settings.PATH[0] = QStringLiteral("/nowhere/else");
    f.wb.settings.PATH[1] = folder;
    auto d = open(f);
    QTest::mouseClick(control<QPushButton>(d, "Cmd_Path_Saisettei"), Qt::LeftButton);
    auto *folders = DialogFixture::find<QUAV_FOLDER_SENTAKU>();
    QVERIFY(folders);
    QCOMPARE(SearchPath::Folder_From_Search_Flg, qint16(1));
    QVERIFY(!d->isEnabled());
    control<QListWidget>(folders, "List1")->item(1)->setSelected(true);
    QTest::mouseClick(control<QPushButton>(folders, "Command1"), Qt::LeftButton);
    f.settle();
    QVERIFY(!DialogFixture::find<QUAV_FOLDER_SENTAKU>());
    QCOMPARE(SearchPath::Folder_From_Search_Flg, qint16(0));
    QVERIFY(d->isEnabled());
    QVERIFY(!f.main.isEnabled());
    QCOMPARE(control<QLabel>(d, "LBL_SEARCH_PATH")->text(), folder);
    QCOMPARE(f.wb.work.Search_Path, folder);
    QCOMPARE(f.wb.settings.DEFAULT_PATH, 1);

    // Cancelling a second time returns to the search dialog as well.
    d->Cmd_Path_Saisettei_Click();
    folders = DialogFixture::find<QUAV_FOLDER_SENTAKU>();
    QVERIFY(folders);
    QTest::keyClick(folders, Qt::Key_Escape);
    f.settle();
    QVERIFY(d->isEnabled());
    QCOMPARE(SearchPath::Folder_From_Search_Flg, qint16(0));
}

void tst_SearchDialog::typedWordKeepsItsCase_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<QString>("typed");
    QTest::newRow("upper case typed, lower case in the history") << "error" << "ERROR";
    QTest::newRow("a history entry that begins with the typed word") << "ERROR LOG" << "ERROR";
    QTest::newRow("a history entry typed in full") << "error" << "error";
}

void tst_SearchDialog::typedWordKeepsItsCase()
{
    QFETCH(QString, history);
    QFETCH(QString, typed);
    DialogFixture f;
    f.wb.settings.DATA[0] = history;
    f.wb.settings.SIKIBETU_ALL_FLG = 1;
    auto d = open(f);
    control<QRadioButton>(d, "Opt_Moji_Kubetu_Yes")->setChecked(true);
    QLineEdit *edit = control<QComboBox>(d, "Combo_Search_Data")->lineEdit();
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return); // the default button: サーチ開始
    f.settle();
    QVERIFY(d.isNull());
    QCOMPARE(f.wb.work.Search_Word, typed);
    QCOMPARE(f.wb.work.Compare_Mode, qint16(0));
}

void tst_SearchDialog::closeBoxIgnoredUnderChild_data()
{
    QTest::addColumn<bool>("identifierEditor"); // else the folder history
    QTest::newRow("identifier editor open") << true;
    QTest::newRow("folder history open") << false;
}

// The search dialog is disabled while a dialog it opened shows: its close box
// must not close it and enable the main window under that dialog.
void tst_SearchDialog::closeBoxIgnoredUnderChild()
{
    QFETCH(bool, identifierEditor);
    DialogFixture f;
    f.wb.settings.DATA[0] = QStringLiteral("w");
    auto d = open(f);
    QuavDialog *child = nullptr;
    if (identifierEditor) {
        d->Cmd_Sikibetu_Hensyu_Click();
        child = DialogFixture::find<QUAV_Search_Sikibetu_Hensyu>();
    } else {
        d->Cmd_Path_Saisettei_Click();
        child = DialogFixture::find<QUAV_FOLDER_SENTAKU>();
    }
    QVERIFY(child);
    QVERIFY(!d->isEnabled());
    QVERIFY(!d->close());
    f.settle();
    QVERIFY(!d.isNull() && d->isVisible());
    QVERIFY(!f.main.isEnabled());
    QVERIFY(child->isVisible());

    // Once the child has gone, the close box closes the dialog as usual.
    QTest::keyClick(child, Qt::Key_Escape);
    f.settle();
    QVERIFY(d->isEnabled());
    QVERIFY(d->close());
    f.settle();
    QVERIFY(d.isNull());
    QVERIFY(f.main.isEnabled());
}

QTEST_MAIN(tst_SearchDialog)
#include "tst_searchdialog.moc"
