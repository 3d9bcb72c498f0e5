// The editing dialogs as widgets: what they show in each mode and how their
// buttons follow the core (the whole road is tst_editroad).
#include "EditFixture.h"
#include "DialogControls.h"

#include "DialogFixture.h"

#include "edit/widgets/QUAV_Change_Settei.h"
#include "edit/widgets/QUAV_Hozon.h"
#include "edit/widgets/QUAV_UPDATE.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>

namespace {

QList<TestFile> twoFiles()
{
    return {
        {QStringLiteral("/d/a.txt"), {QStringLiteral("a1 w"), QStringLiteral("a2"), QStringLiteral("a3")}},
        {QStringLiteral("/d/b.txt"), {QStringLiteral("b1 w")}},
    };
}

// Closes the dialogs a test left open while the workbench they work on is
// still there: declared after it, it goes first.
struct CloseDialogs
{
    ~CloseDialogs() { DialogFixture::closeAll(); }
};

} // namespace

class tst_EditDialogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void replaceFromTheDetailView();
    void replaceRefusalThenCloseBox();
    void lineEditorInsertMode();
    void fileListsShowLongPathsWhole_data();
    void fileListsShowLongPathsWhole();
};

void tst_EditDialogs::replaceFromTheDetailView()
{
    EditFixture f(twoFiles(), QStringLiteral("w"));
    QVERIFY(f.showDetail(f.lineOf(QStringLiteral("000001:b1"))));
    QWidget main;
    const CloseDialogs closer;
    QPointer<QUAV_Change_Settei> d = new QUAV_Change_Settei(f.wb);
    d->openFrom(&main);
    QCOMPARE(d->Syousai_Gamen_Flg(), qint16(1));
    QVERIFY(control<QPushButton>(d, "Cmd_All_Sentaku")->isHidden() && control<QPushButton>(d, "Cmd_All_Clear")->isHidden());
    QVERIFY(!control<QListWidget>(d, "List1")->isEnabled());
    QCOMPARE(control<QListWidget>(d, "List1")->selectedItems().size(), 1);
    QCOMPARE(control<QListWidget>(d, "List1")->row(control<QListWidget>(d, "List1")->selectedItems().first()), 1);
    QCOMPARE(control<QLabel>(d, "Label4")->text(), ReplaceForm::kDetailNote);
    QCOMPARE(control<QLineEdit>(d, "Text_Search")->text(), QStringLiteral("w"));
    QVERIFY(control<QRadioButton>(d, "Opt_Moji_Kubetu_No")->isChecked());

    control<QLineEdit>(d, "Text_Change")->setText(QStringLiteral("W2"));
    f.port.answerWith({MessagePort::Answer::No});
    QTest::mouseClick(control<QPushButton>(d, "Cmd_Jikkou"), Qt::LeftButton);
    QTRY_VERIFY(!d || !d->isVisible());
    QVERIFY(main.isEnabled());
    QCOMPARE(f.stored(1), QStringList{"000001.000:b1 W2"});
    QCOMPARE(f.stored(0).first(), QStringLiteral("000001.000:a1 w"));
}

void tst_EditDialogs::replaceRefusalThenCloseBox()
{
    EditFixture f(twoFiles(), QStringLiteral("w"));
    QWidget main;
    const CloseDialogs closer;
    QPointer<QUAV_Change_Settei> d = new QUAV_Change_Settei(f.wb);
    d->openFrom(&main);
    control<QLineEdit>(d, "Text_Change")->setText(QStringLiteral("v"));
    QTest::mouseClick(control<QPushButton>(d, "Cmd_Jikkou"), Qt::LeftButton);
    QCOMPARE(f.port.texts(), QStringList{QStringLiteral("対象ファイルが選択されていません。")});
    QVERIFY(d && d->isVisible());
    for (QPushButton *b : {control<QPushButton>(d, "Cmd_All_Sentaku"), control<QPushButton>(d, "Cmd_All_Clear"), control<QPushButton>(d, "Cmd_Jikkou"), control<QPushButton>(d, "Cmd_Cancel")})
        QVERIFY(b->isEnabled());
    QVERIFY(!f.list.enabled && !main.isEnabled());
    // The close box cancels: views and window come back.
    d->close();
    QVERIFY(f.list.enabled && f.detail.enabled && main.isEnabled());
}

void tst_EditDialogs::lineEditorInsertMode()
{
    EditFixture f(twoFiles(), QStringLiteral("w"));
    QVERIFY(f.showDetail(f.lineOf(QStringLiteral("000001:a1"))));
    QWidget main;
    const CloseDialogs closer;
    QPointer<QUAV_UPDATE> d = new QUAV_UPDATE(f.wb);
    QVERIFY(d->openFrom(&main));
    QCOMPARE(control<QListWidget>(d, "List1")->item(2)->data(Qt::UserRole).toInt(), 3000);
    control<QListWidget>(d, "List1")->item(0)->setSelected(true);
    QTest::mouseClick(control<QPushButton>(d, "Cmd_Insert"), Qt::LeftButton);
    QVERIFY(control<QPlainTextEdit>(d, "RTB_Insert_Data")->isVisible() && !control<QListWidget>(d, "List1")->isVisible() && !control<QPushButton>(d, "Cmd_Hanei")->isVisible());
    // A character a Shift-JIS file cannot hold: refused, the typed text stays.
    control<QPlainTextEdit>(d, "RTB_Insert_Data")->setPlainText(QStringLiteral("ok\n\U0001F600"));
    QTest::mouseClick(control<QPushButton>(d, "Cmd_Insert_Commit"), Qt::LeftButton);
    QCOMPARE(control<QPlainTextEdit>(d, "RTB_Insert_Data")->toPlainText(), QStringLiteral("ok\n\U0001F600"));
    // Cancel leaves insert mode and keeps the dialog; a second one closes it.
    QTest::mouseClick(control<QPushButton>(d, "Cmd_Cancel"), Qt::LeftButton);
    QVERIFY(d && d->isVisible() && control<QListWidget>(d, "List1")->isVisible() && control<QListWidget>(d, "List1")->isEnabled());
    QCOMPARE(control<QListWidget>(d, "List1")->count(), 3);
    QTest::mouseClick(control<QPushButton>(d, "Cmd_Cancel"), Qt::LeftButton);
    QTRY_VERIFY(!d || !d->isVisible());
    QVERIFY(main.isEnabled());
    QCOMPARE(f.wb.work.Hozon_Flag, qint16(0));
}


void tst_EditDialogs::fileListsShowLongPathsWhole_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("save dialog") << true;
    QTest::newRow("replace dialog") << false;
}

void tst_EditDialogs::fileListsShowLongPathsWhole()
{
    // A path wider than the dialog's least width (but narrower than the
    // screen) still shows to its file name, without scrolling.
    QFETCH(bool, save);
    const QFontMetrics metrics(save ? QApplication::font("QListWidget") : QuavDialog::listFont());
    QString deep = QStringLiteral("/d/報告書/2024年度/長い");
    while (metrics.horizontalAdvance(deep + QStringLiteral("/最終稿.txt")) < 600)
        deep += QStringLiteral("名");
    deep += QStringLiteral("/最終稿.txt");
    const int screen = QGuiApplication::primaryScreen()->availableGeometry().width();
    if (metrics.horizontalAdvance(deep) > screen * 4 / 5)
        QSKIP("screen too narrow for the case");
    EditFixture f({{QStringLiteral("/d/a.txt"), {QStringLiteral("w")}}, {deep, {QStringLiteral("w")}}},
                  QStringLiteral("w"));
    const CloseDialogs closer;
    QPointer<QuavDialog> d;
    QListWidget *list = nullptr;
    if (save) {
        auto *hozon = new QUAV_Hozon(f.wb);
        list = control<QListWidget>(hozon, "List1");
        d = hozon;
    } else {
        auto *change = new QUAV_Change_Settei(f.wb);
        list = control<QListWidget>(change, "List1");
        d = change;
    }
    d->openFrom(nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(d));
    QCOMPARE(list->item(1)->text(), deep);
    QCOMPARE(list->item(1)->toolTip(), deep);
    QVERIFY2(list->viewport()->width() >= list->fontMetrics().horizontalAdvance(deep),
             qPrintable(QString::number(list->viewport()->width())));
    QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
}

QTEST_MAIN(tst_EditDialogs)
#include "tst_editdialogs.moc"
