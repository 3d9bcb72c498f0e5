// Deselect: the file under the list caret leaves the work area after one
// question; the views, flags and command states follow.
#include "EditFixture.h"

#include "edit/DeselectCommand.h"
#include "edit/ReplaceForm.h"

using Answer = MessagePort::Answer;

namespace {

QList<TestFile> threeFiles()
{
    return {
        {QStringLiteral("/d/a.txt"), {QStringLiteral("a1 w"), QStringLiteral("a2")}},
        {QStringLiteral("/d/b.txt"), {QStringLiteral("b1"), QStringLiteral("b2 w"), QStringLiteral("b3")}},
        {QStringLiteral("/d/c.txt"), {QStringLiteral("c1 w")}},
    };
}

void deselectAt(EditFixture &f, int line, Answer answer)
{
    f.list.setCaret(ListView::lineStart(f.wb.work.Mojisuu_Count_List(), line) + 3);
    f.port.answerWith({answer});
    DeselectCommand::KIHON_M_EDIT_DELETE_Click(f.wb);
}

} // namespace

class tst_DeselectCommand : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void firstOfThree();
    void lastFileHidesBothViews();
    void declinedGivesEverythingBack();
    void headingLine();
    void changesOfOtherFilesKept_data();
    void changesOfOtherFilesKept();
};

void tst_DeselectCommand::firstOfThree()
{
    EditFixture f(threeFiles(), QStringLiteral("w"));
    deselectAt(f, f.lineOf(QStringLiteral("000001:a1 w")), Answer::Yes);
    QVERIFY_CONSISTENT(f.wb.work);
    QCOMPARE(f.port.shown.size(), 1);
    QCOMPARE(f.port.shown[0].text, QStringLiteral("/d/a.txtを取り消します。\r\nよろしいですか？"));
    QCOMPARE(f.port.shown[0].caption, QStringLiteral("選択取り消し"));
    QCOMPARE(f.port.shown[0].icon, MessagePort::Icon::Question);

    QCOMPARE(f.wb.work.Search_Hit_File_List().texts(), (QStringList{"/d/b.txt", "/d/c.txt"}));
    QCOMPARE(f.stored(0), (QStringList{"000001.000:b1", "000002.000:b2 w", "000003.000:b3"}));
    QCOMPARE(f.stored(1), QStringList{"000001.000:c1 w"});
    QVERIFY(!f.list.plainText().contains(QStringLiteral("A.TXT")));
    QVERIFY(f.list.shown && f.list.enabled);
    QCOMPARE(f.wb.work.Result_Flag, qint16(1));
    QCOMPARE(f.wb.status.text(StatusPanels::kHitSu), QStringLiteral("対象数 =2ﾌｧｲﾙ"));
    QVERIFY(f.wb.board.isEnabled(Command::FILE_DELETE));
    QCOMPARE(f.wb.display.detailFileIndex, -1);

    // A later replace in what is now the first file works on its own lines.
    ReplaceForm replace(f.wb);
    replace.Form_Load();
    f.port.answerWith({Answer::No});
    QVERIFY(replace.Cmd_Jikkou_Click(QStringLiteral("b"), QStringLiteral("B"), true, {0}));
    QVERIFY_CONSISTENT(f.wb.work);
    QCOMPARE(f.stored(0), (QStringList{"000001.000:B1", "000002.000:B2 w", "000003.000:B3"}));
    QCOMPARE(f.stored(1), QStringList{"000001.000:c1 w"});
    QCOMPARE(f.wb.work.Search_Hit_File_Change().data(1), 0);
}

void tst_DeselectCommand::lastFileHidesBothViews()
{
    EditFixture f({{QStringLiteral("/d/a.txt"), {QStringLiteral("w")}}}, QStringLiteral("w"));
    f.wb.work.setFileChanged(0, true);
    deselectAt(f, 2, Answer::Yes);
    QVERIFY_CONSISTENT(f.wb.work);
    QCOMPARE(f.wb.work.Search_Hit_List().count(), 1); // the column heading
    QVERIFY(f.wb.work.Search_Hit_File_List().isEmpty());
    QVERIFY(f.wb.work.Search_Hit_All_Line_List().isEmpty());
    QCOMPARE(f.wb.work.Result_Flag, qint16(0));
    QCOMPARE(f.wb.work.Hozon_Flag, qint16(0));
    QVERIFY(!f.list.shown && !f.list.enabled);
    QVERIFY(!f.detail.shown && !f.detail.enabled);
    QVERIFY(f.wb.board.isEnabled(Command::SEARCH));
    for (Command c : {Command::HOZON, Command::FILE_DELETE, Command::CHANGE, Command::DISP})
        QVERIFY2(!f.wb.board.isEnabled(c), qPrintable(Commands::key(c)));
}

// No removes nothing, and the toolbar and list view are as before the
// command: the locate step had disabled them.
void tst_DeselectCommand::declinedGivesEverythingBack()
{
    EditFixture f(threeFiles(), QStringLiteral("w"));
    const QStringList stored = f.wb.work.Search_Hit_All_Line_List().texts();
    const QStringList shown = f.wb.work.Search_Hit_List().texts();
    deselectAt(f, f.lineOf(QStringLiteral("000002:b2 w")), Answer::No);
    QVERIFY_CONSISTENT(f.wb.work);
    QCOMPARE(f.port.texts(), QStringList{QStringLiteral("/d/b.txtを取り消します。\r\nよろしいですか？")});
    QCOMPARE(f.wb.work.Search_Hit_All_Line_List().texts(), stored);
    QCOMPARE(f.wb.work.Search_Hit_List().texts(), shown);
    QVERIFY(f.list.shown && f.list.enabled);
    for (Command c : {Command::FILE_DELETE, Command::CHANGE, Command::DISP, Command::CLEAR, Command::END})
        QVERIFY2(f.wb.board.isEnabled(c), qPrintable(Commands::key(c)));
    QCOMPARE(f.wb.status.text(StatusPanels::kSearch), QStringLiteral("Ready"));
}

void tst_DeselectCommand::headingLine()
{
    EditFixture f(threeFiles(), QStringLiteral("w"));
    deselectAt(f, 0, Answer::Yes);
    QVERIFY_CONSISTENT(f.wb.work);
    QCOMPARE(f.port.texts(), QStringList{QStringLiteral("見出し行は取り消し処理できません。")});
    QCOMPARE(f.port.shown[0].caption, QStringLiteral("選択取り消し"));
    QCOMPARE(f.wb.work.Search_Hit_File_List().count(), 3);
    QVERIFY(f.wb.board.isEnabled(Command::FILE_DELETE));
    // The next detail view is built normally.
    QVERIFY(f.showDetail(f.lineOf(QStringLiteral("000001:c1 w"))));
    QCOMPARE(f.wb.display.detailFileIndex, 2);
    QCOMPARE(f.wb.display.Range_Only_Flag, qint16(0));
}

void tst_DeselectCommand::changesOfOtherFilesKept_data()
{
    QTest::addColumn<QList<int>>("changed");
    QTest::addColumn<qint16>("hozon");
    QTest::newRow("the dropped file was the changed one") << QList<int>{1} << qint16(0);
    QTest::newRow("another file is changed") << QList<int>{0, 1} << qint16(1);
    QTest::newRow("nothing changed") << QList<int>{} << qint16(0);
}

void tst_DeselectCommand::changesOfOtherFilesKept()
{
    QFETCH(QList<int>, changed);
    QFETCH(qint16, hozon);
    EditFixture f(threeFiles(), QStringLiteral("w"));
    for (int i : changed)
        f.wb.work.setFileChanged(i, true);
    deselectAt(f, f.lineOf(QStringLiteral("000002:b2 w")), Answer::Yes);
    QVERIFY_CONSISTENT(f.wb.work);
    // Return answers No where a Yes drops unsaved changes.
    QCOMPARE(f.port.shown.first().buttons,
             changed.contains(1) ? MessagePort::Buttons::YesNoDefaultNo : MessagePort::Buttons::YesNo);
    QCOMPARE(f.wb.work.Search_Hit_File_List().texts(), (QStringList{"/d/a.txt", "/d/c.txt"}));
    QCOMPARE(f.wb.work.Hozon_Flag, hozon);
    QCOMPARE(f.wb.board.isEnabled(Command::HOZON), hozon == 1);
    QCOMPARE(f.wb.work.Search_Hit_File_Change().data(0), changed.contains(0) ? 1 : 0);
}

QTEST_GUILESS_MAIN(tst_DeselectCommand)
#include "tst_deselectcommand.moc"
