// The whole road of template duplication from the window: a template read
// through its dialog, a parameter card loaded and committed, the duplication
// run (and run again, refused file by file), the save dialog, the bytes of
// the new files on disk, and a discarding read. The work area stays consistent.
#include "app/widgets/KIHON.h"
#include "DialogControls.h"
#include "app/widgets/MessageBoxPort.h"
#include "base/Workbench.h"
#include "display/ListView.h"
#include "display/widgets/RichTextView.h"
#include "edit/widgets/QUAV_Hozon.h"
#include "platform/Cp932.h"
#include "template/widgets/Quav_Hinagata_Fukusei.h"
#include "template/widgets/Quav_Hinagata_Read.h"
#include "template/widgets/Quav_Parameter_Read.h"
#include "workarea/LineFormat.h"

#include "../search/SearchTree.h"

#include "WindowFixture.h"
#include "WorkAreaChecks.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using Answer = MessagePort::Answer;

namespace {

QListWidgetItem *itemNamed(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

// A click on the row as the user makes it (selects it in a single or
// extended list, toggles it in a multi-selection list).
void clickRow(QListWidget *list, const QString &text)
{
    QListWidgetItem *item = itemNamed(list, text);
    QVERIFY2(item, qPrintable(text));
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QByteArray sjis(const QString &text)
{
    return Cp932::encode(text);
}

QStringList selectedRows(QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            out.append(list->item(i)->text());
    return out;
}

// Chooses a menu entry as the user does: the menu opened (which brings its
// entries up to date with the buttons), then the entry clicked.
void chooseMenuEntry(KIHON &window, MenuEntry name)
{
    QAction *entry = window.menuEntry(name);
    QVERIFY(entry);
    QMenu *menu = nullptr;
    for (QObject *o : entry->associatedObjects())
        if ((menu = qobject_cast<QMenu *>(o)))
            break;
    QVERIFY(menu);
    menu->popup(window.mapToGlobal(QPoint(20, 20)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QVERIFY2(entry->isEnabled(), qPrintable(MenuEntries::nameOf(name)));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    QTRY_VERIFY(!menu->isVisible());
}

// Answers the next message box with a key, as the user does, once it shows;
// its text and default button are kept. Polls while `during` lives.
void pressOnNextBox(QObject *during, Qt::Key key, QString *text, QMessageBox::StandardButton *byDefault)
{
    auto *timer = new QTimer(during);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        timer->deleteLater();
        *text = box->text();
        *byDefault = box->standardButton(box->defaultButton());
        QTest::keyClick(box, key);
    });
    timer->start();
}

// At each message of a run: Escape and the close box to the run's dialog,
// which must stay open with the controls `off` disabled and `also` true.
struct RunPort : ScriptedMessagePort
{
    QDialog *dialog = nullptr;
    QList<QWidget *> off;
    std::function<bool(const QString &)> also;
    bool held = true;
    Answer show(const QString &text, const QString &caption, Icon icon, Buttons buttons) override
    {
        QTest::keyClick(dialog, Qt::Key_Escape);
        dialog->close();
        held = held && dialog->isVisible() && also(text);
        for (QWidget *w : std::as_const(off))
            held = held && !w->isEnabled();
        return ScriptedMessagePort::show(text, caption, icon, buttons);
    }
};

// Opens the dialog of a command from its toolbar button.
template<typename Dialog>
Dialog *openByButton(KIHON &window, Command command)
{
    window.buttonAction(command)->trigger();
    Dialog *d = DialogFixture::find<Dialog>();
    if (d)
        (void)QTest::qWaitForWindowExposed(d);
    return d;
}

} // namespace

class tst_TemplateRoad : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readLoadDuplicateSave();
};

void tst_TemplateRoad::readLoadDuplicateSave()
{
    WindowFixture f;
    // A template whose middle line is empty, with mixed breaks and no final
    // one, a card whose values are out of order, and a file already on disk
    // under one of the new names.
    const QByteArray templateBytes = sjis(QStringLiteral("品番=XX\r\n\nXX の説明 xx"));
    QVERIFY(SearchTree::writeBytes(f.file(QStringLiteral("tpl/form.TXT")), templateBytes));
    QVERIFY(SearchTree::writeBytes(f.file(QStringLiteral("tpl/notes.txt")), "not offered\r\n"));
    QVERIFY(SearchTree::writeBytes(f.file(QStringLiteral("cards/list.TXT")), sjis(QStringLiteral("東京\r\nA01\r\n"))));
    QVERIFY(SearchTree::writeBytes(f.file(QStringLiteral("tpl/form_東京.TXT")), "kept\r\n"));
    const QByteArray sjisTemplate = QFile::encodeName(f.tree.path()) + '/' + sjis(QStringLiteral("見積/見積.txt"));
    QVERIFY(SearchTree::writeBytesAt(sjisTemplate, "ID=XX\r\n"));
    const QString folder = QDir(f.tree.path()).absolutePath() + QStringLiteral("/tpl/");
    const QString form = folder + QStringLiteral("form.TXT");
    const QString madeA = folder + QStringLiteral("form_A01.TXT");
    const QString madeT = folder + QStringLiteral("form_東京.TXT");
    QVERIFY(f.start());
    KIHON &window = *f.window;
    Workbench &wb = *f.wb;
    ScriptedMessagePort &port = f.port;
    QVERIFY(!wb.board.isEnabled(Command::PARAMETER));
    QVERIFY(!wb.board.isEnabled(Command::HINA_FUKUSEI));

    // Template read: into the folder, the template chosen among the files
    // the identifiers offer (in any letter case), read.
    auto *read = openByButton<Quav_Hinagata_Read>(window, Command::HINAGATA);
    QVERIFY(read);
    QVERIFY(!window.isEnabled());
    clickRow(control<QListWidget>(read, "List1"), QStringLiteral("tpl"));
    QTest::keyClick(control<QListWidget>(read, "List1"), Qt::Key_Return);
    QCOMPARE(control<QLabel>(read, "Label2")->text(), folder);
    QCOMPARE(control<QListWidget>(read, "List2")->count(), 3); // form.TXT, form_東京.TXT, notes.txt
    QVERIFY(itemNamed(control<QListWidget>(read, "List2"), QStringLiteral("notes.txt")));
    clickRow(control<QListWidget>(read, "List2"), QStringLiteral("form.TXT"));
    QTest::mouseClick(control<QPushButton>(read, "Cmd_Read"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<Quav_Hinagata_Read>());
    QVERIFY(window.isEnabled());
    QVERIFY_CONSISTENT(wb.work);
    QCOMPARE(port.shown.size(), 0);
    QCOMPARE(wb.work.Search_Hit_All_Line_List().texts(),
             QStringList({form + ":@:000001.000:@:品番=XX", form + ":@:000002.000:@:",
                          form + ":@:000003.000:@:XX の説明 xx"}));
    QVERIFY(window.listView()->isShown());
    QVERIFY(window.listView()->plainText().contains(LineFormat::kAddPrefix + form));
    QCOMPARE(wb.work.Result_Flag, qint16(1));
    QCOMPARE(wb.work.Hozon_Flag, qint16(0));
    QVERIFY(!wb.board.isEnabled(Command::HOZON));
    QVERIFY(wb.board.isEnabled(Command::PARAMETER));
    QVERIFY(!wb.board.isEnabled(Command::HINA_FUKUSEI));

    // Parameters: the card read from its folder, then committed.
    chooseMenuEntry(window, MenuEntry::M_FILE_PARAMETER);
    auto *params = DialogFixture::find<Quav_Parameter_Read>();
    QVERIFY(params);
    QVERIFY(QTest::qWaitForWindowExposed(params));
    clickRow(control<QListWidget>(params, "List2"), QStringLiteral("cards"));
    QTest::keyClick(control<QListWidget>(params, "List2"), Qt::Key_Return);
    clickRow(control<QListWidget>(params, "List3"), QStringLiteral("list.TXT"));
    QTest::mouseClick(control<QPushButton>(params, "Cmd_Read"), Qt::LeftButton);
    QCOMPARE(port.shown.size(), 0);
    QCOMPARE(control<QListWidget>(params, "List1")->count(), 2);
    QCOMPARE(control<QPushButton>(params, "Cmd_Cancel")->text(), QStringLiteral("設定完了"));
    // A value typed with blanks is added trimmed and stays in the box;
    // deleted again, it leaves the card's values.
    QTest::keyClicks(control<QLineEdit>(params, "Txt_Tuika"), QStringLiteral("  C03 "));
    QTest::mouseClick(control<QPushButton>(params, "Cmd_Tuika"), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>(params, "Txt_Tuika")->text(), QStringLiteral("C03"));
    QCOMPARE(control<QListWidget>(params, "List1")->count(), 3);
    clickRow(control<QListWidget>(params, "List1"), QStringLiteral("C03"));
    QTest::mouseClick(control<QPushButton>(params, "Cmd_Sakujyo"), Qt::LeftButton);
    QCOMPARE(control<QListWidget>(params, "List1")->count(), 2);
    QCOMPARE(port.shown.size(), 0);
    QTest::mouseClick(control<QPushButton>(params, "Cmd_Cancel"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<Quav_Parameter_Read>());
    QVERIFY(window.isEnabled());
    QCOMPARE(wb.parameters.values, QStringList({QStringLiteral("A01"), QStringLiteral("東京")}));
    QCOMPARE(wb.Param_Count, qint16(2));
    QVERIFY(wb.board.isEnabled(Command::HINA_FUKUSEI));
    QVERIFY_CONSISTENT(wb.work);

    // Escape leaves the dialog without committing what was added.
    params = openByButton<Quav_Parameter_Read>(window, Command::PARAMETER);
    QTest::keyClicks(control<QLineEdit>(params, "Txt_Tuika"), QStringLiteral("Z99"));
    QTest::keyClick(control<QLineEdit>(params, "Txt_Tuika"), Qt::Key_Return);
    QTest::keyClick(params, Qt::Key_Escape);
    QTRY_VERIFY(!DialogFixture::find<Quav_Parameter_Read>());
    QCOMPARE(wb.parameters.values, QStringList({QStringLiteral("A01"), QStringLiteral("東京")}));

    // Duplication: the template chosen, XX replaced, the parameter put
    // before the extension.
    auto *dup = openByButton<Quav_Hinagata_Fukusei>(window, Command::HINA_FUKUSEI);
    QVERIFY(dup);
    QCOMPARE(selectedRows(control<QListWidget>(dup, "List_Pattern")), wb.parameters.values);
    clickRow(control<QListWidget>(dup, "List_Pattern"), QStringLiteral("A01")); // cannot be changed
    QCOMPARE(selectedRows(control<QListWidget>(dup, "List_Pattern")), wb.parameters.values);
    QVERIFY(control<QListWidget>(dup, "List_Taisyou_File")->minimumWidth() > control<QListWidget>(dup, "List_Taisyou_File")->fontMetrics().horizontalAdvance(form));
    clickRow(control<QListWidget>(dup, "List_Taisyou_File"), form);
    QTest::keyClicks(control<QLineEdit>(dup, "Text_Change"), QStringLiteral("XX"));
    QCOMPARE(control<QComboBox>(dup, "Combo_File_Make")->currentIndex(), 0);
    QTest::mouseClick(control<QPushButton>(dup, "Cmd_Fukusei"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<Quav_Hinagata_Fukusei>());
    QVERIFY(window.isEnabled());
    QVERIFY_CONSISTENT(wb.work);
    QCOMPARE(port.shown.size(), 0);
    const QStringList afterRun = wb.work.Search_Hit_All_Line_List().texts();
    QCOMPARE(afterRun,
             QStringList({form + ":@:000001.000:@:品番=XX", form + ":@:000002.000:@:",
                          form + ":@:000003.000:@:XX の説明 xx", madeA + ":@:000001.000:@:品番=A01",
                          madeA + ":@:000002.000:@:", madeA + ":@:000003.000:@:A01 の説明 xx",
                          madeT + ":@:000001.000:@:品番=東京", madeT + ":@:000002.000:@:",
                          madeT + ":@:000003.000:@:東京 の説明 xx"}));
    // The headers, fitted to the list's width; the view shows the separator
    // as blanks.
    const QString list = window.listView()->plainText();
    const QStringList made{madeA, madeT};
    for (int i = 0; i < 2; ++i) {
        const QString header = LineFormat::kMakePrefix + made[i] + QStringLiteral(":@: <-- ") + form;
        QCOMPARE(wb.work.Search_Hit_List().text(2 + i), LineFormat::Fit_Display_Line(header).text);
        QVERIFY2(list.contains(LineFormat::kMakePrefix + made[i] + QStringLiteral("    <-- ")), qPrintable(list));
    }
    QCOMPARE(wb.work.Search_Hit_File_Change().texts(), QStringList({form, madeA, madeT}));
    QCOMPARE(wb.work.Search_Hit_File_Change().data(0), 0);
    QCOMPARE(wb.work.Search_Hit_File_Change().data(1), 1);
    QCOMPARE(wb.work.Search_Hit_File_Change().data(2), 1);
    QCOMPARE(wb.work.Hozon_Flag, qint16(1));
    QVERIFY(wb.board.isEnabled(Command::HOZON));

    // The same run again from the detail view, busy: every new name is open,
    // one box and a summary tell it; the detail view stays, FILE_DELETE off.
    window.listView()->setCaret(ListView::lineStart(wb.work.Mojisuu_Count_List(), 1));
    window.runCommand(Command::DISP, KIHON::Origin::Toolbar);
    QTRY_VERIFY(window.detailView()->isShown());
    dup = openByButton<Quav_Hinagata_Fukusei>(window, Command::HINA_FUKUSEI);
    QVERIFY(dup);
    QCOMPARE(control<QListWidget>(dup, "List_Taisyou_File")->count(), 3);
    clickRow(control<QListWidget>(dup, "List_Taisyou_File"), form);
    QTest::keyClicks(control<QLineEdit>(dup, "Text_Change"), QStringLiteral("XX"));
    RunPort run;
    run.dialog = dup;
    run.off = {control<QPushButton>(dup, "Cmd_Fukusei"), control<QComboBox>(dup, "Combo_File_Make"), control<QListWidget>(dup, "List_Taisyou_File"), control<QLineEdit>(dup, "Text_Change")};
    run.also = [&](const QString &) { return window.cursor().shape() == Qt::WaitCursor; };
    wb.messages = &run;
    QTest::mouseClick(control<QPushButton>(dup, "Cmd_Fukusei"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<Quav_Hinagata_Fukusei>());
    QVERIFY(run.held && window.cursor().shape() == Qt::ArrowCursor);
    QCOMPARE(run.texts(), QStringList({madeA + QStringLiteral("\r\n同じファイルが既に開かれています。\r\nこのファイルの複製は中止します。"),
                                          QStringLiteral("追加しなかったファイルがあります。\r\n既に開かれているファイル（追加中止）：2件")}));
    QCOMPARE(wb.work.Search_Hit_All_Line_List().texts(), afterRun);
    QCOMPARE(wb.work.Search_Hit_File_List().count(), 3);
    QVERIFY(window.detailView()->isShown() && !wb.board.isEnabled(Command::FILE_DELETE));
    QVERIFY_CONSISTENT(wb.work);
    wb.messages = &port;
    window.runCommand(Command::DISP_SEARCH, KIHON::Origin::Toolbar);
    QTRY_VERIFY(window.listView()->isShown());

    // Save: the two new files preselected; the name already on disk is asked
    // about in a real message box, and Enter leaves that file alone.
    auto *save = openByButton<QUAV_Hozon>(window, Command::HOZON);
    QVERIFY(save);
    QCOMPARE(selectedRows(control<QListWidget>(save, "List1")), QStringList({madeA, madeT}));
    MessageBoxPort boxes;
    wb.messages = &boxes;
    QString asked;
    QMessageBox::StandardButton byDefault = QMessageBox::NoButton;
    pressOnNextBox(save, Qt::Key_Return, &asked, &byDefault);
    QTest::mouseClick(control<QPushButton>(save, "Cmd_Jikkou"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<QUAV_Hozon>());
    wb.messages = &port;
    QVERIFY(window.isEnabled());
    QVERIFY2(asked.startsWith(madeT), qPrintable(asked));
    QVERIFY(asked.endsWith(QStringLiteral("上書き保存しますか？")));
    QCOMPARE(byDefault, QMessageBox::No);
    QCOMPARE(bytesOf(madeA), sjis(QStringLiteral("品番=A01\r\n\nA01 の説明 xx")));
    QCOMPARE(bytesOf(madeT), QByteArray("kept\r\n"));
    QCOMPARE(bytesOf(form), templateBytes);
    QCOMPARE(wb.work.Search_Hit_File_Change().data(1), 0);
    QCOMPARE(wb.work.Search_Hit_File_Change().data(2), 1);
    QCOMPARE(wb.work.Hozon_Flag, qint16(1));
    QVERIFY(wb.board.isEnabled(Command::HOZON));
    QVERIFY_CONSISTENT(wb.work);
    port.shown.clear();

    // Saved again with the user's leave: the old file is replaced.
    save = openByButton<QUAV_Hozon>(window, Command::HOZON);
    QVERIFY(save);
    QCOMPARE(selectedRows(control<QListWidget>(save, "List1")), QStringList({madeT}));
    port.answerWith({Answer::Yes});
    QTest::mouseClick(control<QPushButton>(save, "Cmd_Jikkou"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<QUAV_Hozon>());
    QCOMPARE(port.shown.size(), 1);
    QCOMPARE(bytesOf(madeT), sjis(QStringLiteral("品番=東京\r\n\n東京 の説明 xx")));
    QCOMPARE(bytesOf(madeA), sjis(QStringLiteral("品番=A01\r\n\nA01 の説明 xx")));
    QCOMPARE(bytesOf(form), templateBytes);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(wb.work.Search_Hit_File_Change().data(i), 0);
    QCOMPARE(wb.work.Hozon_Flag, qint16(0));
    QVERIFY(!wb.board.isEnabled(Command::HOZON));
    QVERIFY_CONSISTENT(wb.work);

    // A discarding read of a template in a Shift-JIS named folder: Return
    // keeps all; Yes leaves what CLEAR leaves, asking about the word first.
    read = openByButton<Quav_Hinagata_Read>(window, Command::HINAGATA);
    clickRow(control<QListWidget>(read, "List1"), QStringLiteral("見積"));
    QTest::keyClick(control<QListWidget>(read, "List1"), Qt::Key_Return);
    const QString sjisKey = QDir(f.tree.path()).absolutePath() + QStringLiteral("/見積/見積.txt");
    clickRow(control<QListWidget>(read, "List2"), QStringLiteral("見積.txt"));
    control<QCheckBox>(read, "Check1")->setChecked(true);
    run = RunPort();
    run.dialog = read;
    run.off = {control<QPushButton>(read, "Cmd_Read"), control<QComboBox>(read, "Drive1"), control<QListWidget>(read, "List1"), control<QListWidget>(read, "List2")};
    run.also = [&](const QString &text) {
        return !text.startsWith(QStringLiteral("検索文字列が意味")) || !window.listView()->plainText().contains(sjisKey);
    };
    wb.messages = &run;
    QTest::mouseClick(control<QPushButton>(read, "Cmd_Read"), Qt::LeftButton);
    QCOMPARE(wb.work.Search_Hit_File_List().count(), 3);
    wb.work.Search_Word = QStringLiteral("XX");
    run.answerWith({Answer::Yes, Answer::Yes});
    QTest::mouseClick(control<QPushButton>(read, "Cmd_Read"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<Quav_Hinagata_Read>());
    QVERIFY(run.held && run.shown.size() == 3 && wb.work.Search_Word.isEmpty());
    QCOMPARE(wb.work.Search_Hit_All_Line_List().texts(), QStringList{sjisKey + QStringLiteral(":@:000001.000:@:ID=XX")});
    QCOMPARE(wb.work.nativePath(0), sjisTemplate);
    const QString shown = window.listView()->plainText();
    QVERIFY(shown.contains(LineFormat::kAddPrefix + sjisKey) && !shown.contains(madeA));
    QVERIFY(wb.board.isEnabled(Command::SEARCH));
    QVERIFY_CONSISTENT(wb.work);

    // Its duplicates are saved beside it, named in Shift-JIS as it is.
    QEvent activation(QEvent::WindowActivate);
    QApplication::sendEvent(&window, &activation);
    dup = openByButton<Quav_Hinagata_Fukusei>(window, Command::HINA_FUKUSEI);
    clickRow(control<QListWidget>(dup, "List_Taisyou_File"), sjisKey);
    QTest::keyClicks(control<QLineEdit>(dup, "Text_Change"), QStringLiteral("XX"));
    QTest::mouseClick(control<QPushButton>(dup, "Cmd_Fukusei"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<Quav_Hinagata_Fukusei>());
    QCOMPARE(wb.work.nativePath(1), sjisTemplate.chopped(4) + "_A01.txt");
}

QTEST_MAIN(tst_TemplateRoad)
#include "tst_templateroad.moc"
