// The whole road of editing from the window: a search, a replace in two of
// its files, the detail view, the line editor (a line changed, two inserted,
// reflected), a template file sorted, a file deselected, CLEAR and quitting
// declined with changes unsaved. After every step the work area is
// consistent; at the end it holds exactly the expected lines.
#include "base/Workbench.h"
#include "DialogControls.h"
#include "app/widgets/KIHON.h"
#include "display/ListView.h"
#include "display/widgets/RichTextView.h"
#include "edit/widgets/QUAV_Change_Settei.h"
#include "edit/widgets/QUAV_UPDATE.h"
#include "edit/widgets/Quav_Sort.h"
#include "search/widgets/QUAV_SEARCH_SETTEI.h"
#include "platform/SettingsStore.h"
#include "workarea/LineFormat.h"

#include "../search/SearchTree.h"

#include "WindowFixture.h"
#include "WorkAreaChecks.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTest>
#include <QTimer>

using Answer = MessagePort::Answer;

namespace {

// A double-click on the display line that begins with text.
void doubleClickLine(KIHON &window, const QString &text)
{
    RichTextView *list = window.listView();
    const int at = int(list->plainText().indexOf(text));
    QVERIFY2(at >= 0, qPrintable(text));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->pointOf(at + 3));
    QTRY_VERIFY(window.detailView()->isShown());
}

void selectRow(QListWidget *list, int row)
{
    list->clearSelection();
    list->item(row)->setSelected(true);
    list->setCurrentRow(row, QItemSelectionModel::Current);
}

QStringList entries(const QString &key, const QStringList &numbered)
{
    QStringList out;
    for (const QString &n : numbered)
        out.append(key + LineFormat::kSeparator + n.section(QLatin1Char(':'), 0, 0) + LineFormat::kSeparator
                   + n.section(QLatin1Char(':'), 1));
    return out;
}

} // namespace

class tst_EditRoad : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void searchReplaceEditSortDeselect();
};

void tst_EditRoad::searchReplaceEditSortDeselect()
{
    WindowFixture f;
    QVERIFY(SearchTree::writeLines(f.file(QStringLiteral("one.txt")),
                                   {QStringLiteral("first"), QStringLiteral("use 検索 here"), QStringLiteral("last")}));
    QVERIFY(SearchTree::writeLines(f.file(QStringLiteral("three.txt")), {QStringLiteral("x 検索")}));
    QVERIFY(SearchTree::writeLines(f.file(QStringLiteral("two.txt")), {QStringLiteral("検索 again"), QStringLiteral("other")}));
    const QString folder = QDir(f.tree.path()).absolutePath() + QLatin1Char('/');
    const QString template_ = QDir(f.tree.path()).absoluteFilePath(QStringLiteral("form.tpl"));
    QVERIFY(f.start());
    KIHON &window = *f.window;
    Workbench &wb = *f.wb;
    ScriptedMessagePort &port = f.port;
    // Search.
    window.runCommand(Command::SEARCH, KIHON::Origin::Toolbar);
    QUAV_SEARCH_SETTEI *search = DialogFixture::find<QUAV_SEARCH_SETTEI>();
    QVERIFY(search);
    control<QComboBox>(search, "Combo_Search_Data")->setEditText(QStringLiteral("検索"));
    QTest::mouseClick(control<QPushButton>(search, "CMD_SEARCH"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<QUAV_SEARCH_SETTEI>());
    QCOMPARE(wb.work.Search_Hit_File_List().count(), 3);
    QVERIFY_CONSISTENT(wb.work);

    // Replace in one.txt and three.txt; the replacement becomes the search string.
    window.runCommand(Command::CHANGE, KIHON::Origin::Toolbar);
    QUAV_Change_Settei *change = DialogFixture::find<QUAV_Change_Settei>();
    QVERIFY(change);
    QVERIFY(!window.isEnabled());
    QCOMPARE(control<QLineEdit>(change, "Text_Search")->text(), QStringLiteral("検索"));
    control<QLineEdit>(change, "Text_Change")->setText(QStringLiteral("探索"));
    control<QListWidget>(change, "List1")->item(0)->setSelected(true);
    control<QListWidget>(change, "List1")->item(1)->setSelected(true);
    port.answerWith({Answer::Ok, Answer::Yes});
    QTest::mouseClick(control<QPushButton>(change, "Cmd_Jikkou"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<QUAV_Change_Settei>());
    QVERIFY(window.isEnabled());
    QVERIFY_CONSISTENT(wb.work);
    QCOMPARE(wb.work.Search_Word, QStringLiteral("探索"));
    QCOMPARE(wb.status.text(StatusPanels::kWord), QStringLiteral("探索"));
    QVERIFY(window.listView()->isShown());
    QVERIFY(window.listView()->plainText().contains(QStringLiteral("000002:use 探索 here")));
    QVERIFY(window.listView()->plainText().contains(QStringLiteral("000001:検索 again")));
    // The panels show the finished state, not the build's progress.
    QCOMPARE(wb.status.text(StatusPanels::kSearch) + wb.status.text(StatusPanels::kPath), "Ready" + wb.work.Search_Path);

    // The detail view of one.txt, then the line editor.
    doubleClickLine(window, QStringLiteral("000002:use 探索"));
    QVERIFY(wb.board.isEnabled(Command::UPDATE));
    QVERIFY(!wb.board.isEnabled(Command::SORT));
    // The load pumps the event loop: no command of the window may run then.
    bool enabledDuringLoad = true;
    QTimer::singleShot(0, &window, [&] { enabledDuringLoad = window.isEnabled(); });
    window.runCommand(Command::UPDATE, KIHON::Origin::Toolbar);
    QVERIFY(!enabledDuringLoad);
    QUAV_UPDATE *editor = DialogFixture::find<QUAV_UPDATE>();
    QVERIFY(editor);
    QCOMPARE(control<QListWidget>(editor, "List1")->count(), 3);
    selectRow(control<QListWidget>(editor, "List1"), 0);
    port.inputs.enqueue(QStringLiteral("first edited"));
    QTest::mouseClick(control<QPushButton>(editor, "Cmd_Update"), Qt::LeftButton);
    QCOMPARE(control<QListWidget>(editor, "List1")->item(0)->text(), QStringLiteral("first edited"));
    selectRow(control<QListWidget>(editor, "List1"), 2);
    QTest::mouseClick(control<QPushButton>(editor, "Cmd_Insert"), Qt::LeftButton);
    QVERIFY(control<QPlainTextEdit>(editor, "RTB_Insert_Data")->isVisible());
    QVERIFY(!control<QListWidget>(editor, "List1")->isVisible());
    QTest::keyClicks(control<QPlainTextEdit>(editor, "RTB_Insert_Data"), QStringLiteral("new1"));
    QTest::keyClick(control<QPlainTextEdit>(editor, "RTB_Insert_Data"), Qt::Key_Return);
    control<QPlainTextEdit>(editor, "RTB_Insert_Data")->insertPlainText(QStringLiteral("新2"));
    QTest::mouseClick(control<QPushButton>(editor, "Cmd_Insert_Commit"), Qt::LeftButton);
    QVERIFY(control<QListWidget>(editor, "List1")->isVisible());
    QCOMPARE(control<QListWidget>(editor, "List1")->count(), 5);
    QCOMPARE(control<QListWidget>(editor, "List1")->item(3)->data(Qt::UserRole).toInt(), 2666);
    QVERIFY_CONSISTENT(wb.work);
    QTest::mouseClick(control<QPushButton>(editor, "Cmd_Hanei"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<QUAV_UPDATE>());
    QVERIFY_CONSISTENT(wb.work);
    QVERIFY(window.detailView()->plainText().contains(QStringLiteral("first edited")));
    QVERIFY(wb.board.isEnabled(Command::HOZON));

    // A template file, shown and sorted.
    addTemplate(wb.work, template_, {QStringLiteral("b"), QStringLiteral("A"), QStringLiteral("c")});
    QVERIFY_CONSISTENT(wb.work);
    window.runCommand(Command::DISP_SEARCH, KIHON::Origin::Toolbar);
    QVERIFY(ListView::Build_List_View(wb));
    doubleClickLine(window, LineFormat::kAddPrefix);
    QVERIFY(wb.board.isEnabled(Command::SORT));
    window.runCommand(Command::SORT, KIHON::Origin::Toolbar);
    Quav_Sort *sort = DialogFixture::find<Quav_Sort>();
    QVERIFY(sort);
    QVERIFY(!control<QPushButton>(sort, "Cmd_Hanei")->isVisible());
    control<QRadioButton>(sort, "Option2")->setChecked(true);
    const QRect sortButton = control<QPushButton>(sort, "Command1")->geometry();
    QTest::mouseClick(control<QPushButton>(sort, "Command1"), Qt::LeftButton);
    QVERIFY(control<QPushButton>(sort, "Cmd_Hanei")->isVisible());
    // A second click where the sort button stood sorts again, never applies.
    QCoreApplication::sendPostedEvents();
    QCOMPARE(control<QPushButton>(sort, "Command1")->geometry(), sortButton);
    QTest::mouseClick(control<QPushButton>(sort, "Cmd_Hanei"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<Quav_Sort>());
    QVERIFY_CONSISTENT(wb.work);

    // Deselect two.txt from the list view.
    window.runCommand(Command::DISP_SEARCH, KIHON::Origin::Toolbar);
    RichTextView *list = window.listView();
    list->setCaret(int(list->plainText().indexOf(QStringLiteral("000001:検索 again"))) + 2);
    port.answerWith({Answer::Yes});
    window.runCommand(Command::FILE_DELETE, KIHON::Origin::Toolbar);
    QVERIFY_CONSISTENT(wb.work);
    QCOMPARE(port.texts().last(), folder + QStringLiteral("two.txtを取り消します。\r\nよろしいですか？"));

    // With changes unsaved, Return (the port's default answer) neither
    // clears nor quits: not by CLEAR, END or the close box.
    port.shown.clear();
    window.runCommand(Command::CLEAR, KIHON::Origin::Toolbar);
    window.runCommand(Command::END, KIHON::Origin::Toolbar);
    window.close();
    QCOMPARE(port.shown.size(), 3);
    for (const ScriptedMessagePort::Shown &s : port.shown)
        QCOMPARE(s.buttons, MessagePort::Buttons::YesNoDefaultNo);
    QVERIFY(window.isVisible());

    // The template's path sorts before one.txt; its lines keep its path.
    QCOMPARE(wb.work.Search_Hit_All_Line_List().texts(),
             entries(template_, {"000001.000:c", "000002.000:b", "000003.000:A"})
                 + entries(folder + QStringLiteral("one.txt"), {"000001.000:first edited", "000002.000:use 探索 here",
                                                                "000002.333:new1", "000002.666:新2", "000003.000:last"})
                 + entries(folder + QStringLiteral("three.txt"), {"000001.000:x 探索"}));
    QCOMPARE(wb.work.Search_Hit_File_Change().texts().size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(wb.work.Search_Hit_File_Change().data(i), 1);
    QCOMPARE(wb.work.Hozon_Flag, qint16(1));
    QVERIFY(window.listView()->isShown());
    QVERIFY(!window.listView()->plainText().contains(QStringLiteral("two.txt")));
    // Only a Yes quits without saving.
    port.answerWith({Answer::Yes});
    window.close();
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(tst_EditRoad)
#include "tst_editroad.moc"
