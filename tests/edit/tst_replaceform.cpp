// Replace from its dialog's buttons to the refreshed views, without widgets.
#include "EditFixture.h"

#include "edit/ReplaceForm.h"

using Answer = MessagePort::Answer;

namespace {

const QString kNotice = QStringLiteral("複数のファイルが選択されています。\r\n処理に時間がかかるかもしれません。");

QList<TestFile> threeFiles()
{
    return {
        {QStringLiteral("/d/abc.txt"), {QStringLiteral("abc ABC"), QStringLiteral("none"), QStringLiteral("Abc")}},
        {QStringLiteral("/d/b.txt"), {QStringLiteral("abc")}},
        {QStringLiteral("/d/c.txt"), {QStringLiteral("x"), QStringLiteral("zABCz")}},
    };
}

} // namespace

class tst_ReplaceForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listModeTwoFiles();
    void refusedRunChangesNothing_data();
    void refusedRunChangesNothing();
    void detailModeOneFileCaretKept();
};

void tst_ReplaceForm::listModeTwoFiles()
{
    EditFixture f(threeFiles(), QStringLiteral("abc"));
    const QStringList headers{f.wb.work.Search_Hit_List().text(f.lineOf(LineFormat::kSearchPrefix))};
    ReplaceForm c(f.wb);
    c.Form_Load();
    QCOMPARE(c.Syousai_Gamen_Flg, qint16(0));
    QCOMPARE(c.files(), f.wb.work.Search_Hit_File_List().texts());
    QCOMPARE(c.initialSearch(), QStringLiteral("abc"));
    QVERIFY(!f.list.enabled);
    const int loads = f.list.loaded.size();

    f.port.answerWith({Answer::Ok, Answer::Yes}); // the notice, then adopt "xy"
    QVERIFY(c.Cmd_Jikkou_Click(QStringLiteral("abc"), QStringLiteral("xy"), false, {2, 0, 2}));
    QVERIFY_CONSISTENT(f.wb.work);
    QCOMPARE(f.port.texts(), (QStringList{kNotice, QStringLiteral("現在の検索文字列：abcを\r\n置替文字列：xyで置き替えますか？")}));

    QCOMPARE(f.stored(0), (QStringList{"000001.000:xy xy", "000002.000:none", "000003.000:xy"}));
    QCOMPARE(f.stored(1), QStringList{"000001.000:abc"});
    QCOMPARE(f.stored(2), (QStringList{"000001.000:x", "000002.000:zxyz"}));
    QCOMPARE(f.wb.work.Search_Hit_File_Change().data(0), 1);
    QCOMPARE(f.wb.work.Search_Hit_File_Change().data(1), 0);
    QCOMPARE(f.wb.work.Search_Hit_File_Change().data(2), 1);
    QCOMPARE(f.wb.work.Hozon_Flag, qint16(1));
    QVERIFY(f.wb.board.isEnabled(Command::HOZON));
    // A header whose path holds the word stays; hit lines change.
    QCOMPARE(f.wb.work.Search_Hit_List().text(1), headers.first());
    QVERIFY(f.lineOf(QStringLiteral("000001:xy xy")) > 0);
    QVERIFY(f.lineOf(QStringLiteral("000001:abc")) > 0); // b.txt was not chosen

    QCOMPARE(f.wb.work.Search_Word, QStringLiteral("xy"));
    QCOMPARE(f.wb.status.text(StatusPanels::kWord), QStringLiteral("xy"));
    QCOMPARE(f.list.loaded.size(), loads + 1);
    QVERIFY(f.list.plainText().contains(QStringLiteral("000002:zxyz")));
    QVERIFY(f.list.enabled && f.list.shown);
    QCOMPARE(f.wb.work.Result_Flag, qint16(1));
}

void tst_ReplaceForm::refusedRunChangesNothing_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty search") << "" << "x" << QList<int>{0} << QList<Answer>{}
                                  << "サーチ文字が入力されていません。";
    QTest::newRow("deletion declined") << "abc" << "" << QList<int>{0} << QList<Answer>{Answer::No}
                                       << "置替文字が入力されていません。\r\nサーチ文字を削除します。よろしいですか？";
    QTest::newRow("no file chosen") << "abc" << "x" << QList<int>{} << QList<Answer>{}
                                    << "対象ファイルが選択されていません。";
    QTest::newRow("rows that are no file") << "abc" << "x" << QList<int>{-1, 7} << QList<Answer>{}
                                           << "対象ファイルが選択されていません。";
    QTest::newRow("emoji replacement") << "abc" << "\U0001F600" << QList<int>{0} << QList<Answer>{}
                                       << "置替文字にシフトJISで表せない文字が含まれています。\r\n（\U0001F600）\r\n"
                                          "この文字はシフトJISのファイルに保存できないため、入力できません。\r\n/d/abc.txt";
}

void tst_ReplaceForm::refusedRunChangesNothing()
{
    QFETCH(QString, search);
    QFETCH(QString, replacement);
    QFETCH(QList<int>, rows);
    QFETCH(QList<Answer>, answers);
    QFETCH(QString, message);
    EditFixture f(threeFiles(), QStringLiteral("abc"));
    const WorkArea before = f.wb.work;
    ReplaceForm c(f.wb);
    c.Form_Load();
    f.port.answerWith(answers);
    QVERIFY(!c.Cmd_Jikkou_Click(search, replacement, false, rows));
    QCOMPARE(f.port.texts(), QStringList{message});
    QCOMPARE(f.wb.work.Search_Hit_All_Line_List().texts(), before.Search_Hit_All_Line_List().texts());
    QCOMPARE(f.wb.work.Search_Hit_List().texts(), before.Search_Hit_List().texts());
    QCOMPARE(f.wb.work.Hozon_Flag, qint16(0));
    QVERIFY_CONSISTENT(f.wb.work);
    // The dialog stays open over disabled views.
    QVERIFY(!f.list.enabled);
}

// The detail view shows b.txt; replacing in it shortens an earlier line of
// its block in the list, so the list caret's old offset now falls into the
// next file's header. The detail view must still show b.txt.
void tst_ReplaceForm::detailModeOneFileCaretKept()
{
    const QList<TestFile> files{
        {QStringLiteral("/d/a.txt"), {QStringLiteral("abc")}},
        {QStringLiteral("/d/b.txt"), {QStringLiteral("abc abc abc abc"), QStringLiteral("one abc")}},
        {QStringLiteral("/d/c.txt"), {QStringLiteral("abc")}},
    };
    EditFixture f(files, QStringLiteral("abc"));
    const int line = f.lineOf(QStringLiteral("000002:one abc"));
    QVERIFY(f.showDetail(line, 80));
    QCOMPARE(f.wb.display.detailFileIndex, 1);

    ReplaceForm c(f.wb);
    c.Form_Load();
    QCOMPARE(c.Syousai_Gamen_Flg, qint16(1));
    QCOMPARE(c.lockedFile(), 1);
    QCOMPARE(c.note(), ReplaceForm::kDetailNote);
    // Rows chosen in the list do not count in detail mode.
    f.port.answerWith({Answer::No});
    QVERIFY(c.Cmd_Jikkou_Click(QStringLiteral("abc"), QStringLiteral("漢字"), true, {0, 2}));
    QVERIFY_CONSISTENT(f.wb.work);

    QCOMPARE(f.stored(0), QStringList{"000001.000:abc"});
    QCOMPARE(f.stored(1), (QStringList{"000001.000:漢字 漢字 漢字 漢字", "000002.000:one 漢字"}));
    QCOMPARE(f.stored(2), QStringList{"000001.000:abc"});
    QCOMPARE(f.wb.work.Search_Hit_File_Change().data(1), 1);
    QCOMPARE(f.wb.work.Hozon_Flag, qint16(1));
    // Without the fix the caret's old offset lies in c.txt's header now.
    const ItemList &counts = f.wb.work.Mojisuu_Count_List();
    QCOMPARE(f.wb.display.List_Caret_Pos, ListView::lineStart(counts, line) + 80);
    QCOMPARE(f.wb.display.detailFileIndex, 1);
    QVERIFY(f.detail.shown && f.detail.enabled);
    QVERIFY(!f.list.shown && !f.list.enabled);
    QVERIFY(f.detail.plainText().contains(QStringLiteral("one 漢字")));
    QVERIFY(f.wb.board.isEnabled(Command::HOZON));
}

QTEST_GUILESS_MAIN(tst_ReplaceForm)
#include "tst_replaceform.moc"
