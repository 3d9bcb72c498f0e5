// The line editor and the sort on the work area: loading the file the detail
// view shows, reflecting into the store, and the detail view afterwards.
#include "EditFixture.h"

#include "edit/LineEditCommand.h"
#include "edit/SortCommand.h"

namespace {

QList<TestFile> twoFiles()
{
    return {
        {QStringLiteral("/d/a.txt"), {QStringLiteral("a1 w"), QStringLiteral("a2"), QStringLiteral("a3")}},
        {QStringLiteral("/d/c.txt"), {QStringLiteral("c1 w")}},
    };
}

const QString kTemplate = QStringLiteral("/tpl/Form.txt");

} // namespace

class tst_EditorCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lineEditorReflects();
    void reflectWithoutEditsMarksChanged();
    void lineLimitLeavesRoomForOtherFiles();
    void sortTemplateFile();
    void nothingShownNothingLoaded();
};

void tst_EditorCommands::lineEditorReflects()
{
    EditFixture f(twoFiles(), QStringLiteral("w"));
    QVERIFY(f.showDetail(f.lineOf(QStringLiteral("000001:a1 w"))));
    const int detailLoads = f.detail.loaded.size();

    LineEditCommand c(f.wb);
    QVERIFY(c.Form_Load());
    QCOMPARE(c.fileKey(), QStringLiteral("/D/A.TXT"));
    QCOMPARE(c.editor().count(), 3);
    QCOMPARE(f.wb.status.text(StatusPanels::kSearch), QStringLiteral("Details"));
    QCOMPARE(f.wb.status.text(StatusPanels::kPath), QStringLiteral("/D/A.TXT"));
    QCOMPARE(f.wb.status.text(StatusPanels::kHitSu), QString());

    LineEditor &e = c.editor();
    e.setSelection({1});
    f.port.inputs.enqueue(QStringLiteral("a2 changed"));
    QVERIFY(e.Cmd_Update_Click());
    e.setSelection({2});
    QVERIFY(e.Cmd_Insert_Click());
    QCOMPARE(e.Cmd_Insert_Commit_Click(QStringLiteral("n1\nn2\n")), LineEditor::Commit::Inserted);
    QVERIFY_CONSISTENT(f.wb.work); // nothing reached the work area yet
    QCOMPARE(f.stored(0), (QStringList{"000001.000:a1 w", "000002.000:a2", "000003.000:a3"}));

    QVERIFY(c.Cmd_Hanei_Click());
    QVERIFY_CONSISTENT(f.wb.work);
    QCOMPARE(f.stored(0), (QStringList{"000001.000:a1 w", "000002.000:a2 changed", "000002.333:n1",
                                       "000002.666:n2", "000003.000:a3"}));
    QCOMPARE(f.stored(1), QStringList{"000001.000:c1 w"});
    QCOMPARE(f.wb.work.Search_Hit_File_Change.data(0), 1);
    QCOMPARE(f.wb.work.Search_Hit_File_Change.data(1), 0);
    QVERIFY(f.wb.board.isEnabled(QStringLiteral("HOZON")));
    QCOMPARE(f.detail.loaded.size(), detailLoads + 1);
    QVERIFY(f.detail.plainText().contains(QStringLiteral("n1\r\nn2\r\na3")));
    QCOMPARE(f.wb.display.Detail_Cache_Key, QStringLiteral("/D/A.TXT"));
}

void tst_EditorCommands::reflectWithoutEditsMarksChanged()
{
    EditFixture f(twoFiles(), QStringLiteral("w"));
    QVERIFY(f.showDetail(f.lineOf(QStringLiteral("000001:c1 w"))));
    const QStringList before = f.wb.work.Search_Hit_All_Line_List.texts();
    LineEditCommand c(f.wb);
    QVERIFY(c.Form_Load());
    QVERIFY(c.Cmd_Hanei_Click());
    QVERIFY_CONSISTENT(f.wb.work);
    QCOMPARE(f.wb.work.Search_Hit_All_Line_List.texts(), before);
    QCOMPARE(f.wb.work.Search_Hit_File_Change.data(1), 1);
    QCOMPARE(f.wb.work.Hozon_Flag, qint16(1));
}

// The editor alone may hold 32,700 lines; with other files in the store a
// reflect of that many would pass what the store can hold and lose lines.
void tst_EditorCommands::lineLimitLeavesRoomForOtherFiles()
{
    QStringList big;
    for (int i = 0; i < 32000; ++i)
        big.append(QStringLiteral("line"));
    EditFixture f({{QStringLiteral("/d/a.txt"), {QStringLiteral("w"), QStringLiteral("x")}},
                   {QStringLiteral("/d/big.txt"), big + QStringList{QStringLiteral("w")}}},
                  QStringLiteral("w"));
    QVERIFY(f.showDetail(f.lineOf(QStringLiteral("000001:w"))));
    LineEditCommand c(f.wb);
    QVERIFY(c.Form_Load());
    QCOMPARE(c.editor().lineLimit(), WorkArea::kAdmissionLimit - 32001);
    QStringList typed;
    for (int i = 0; i < c.editor().lineLimit() - 1; ++i)
        typed.append(QStringLiteral("n"));
    c.editor().setSelection({1});
    QVERIFY(c.editor().Cmd_Insert_Click());
    QCOMPARE(c.editor().Cmd_Insert_Commit_Click(typed.join(QLatin1Char('\n'))), LineEditor::Commit::Blocked);
    QCOMPARE(f.port.texts().last(), QStringLiteral("追加行が多すぎます。これ以上追加できません。"));
    QVERIFY(!c.editor().Cmd_Cancel_Click());
    typed.removeLast();
    c.editor().setSelection({1});
    QVERIFY(c.editor().Cmd_Insert_Click());
    QCOMPARE(c.editor().Cmd_Insert_Commit_Click(typed.join(QLatin1Char('\n'))), LineEditor::Commit::Inserted);
    QVERIFY(c.Cmd_Hanei_Click());
    QVERIFY_CONSISTENT(f.wb.work);
    QCOMPARE(f.wb.work.Search_Hit_All_Line_List.count(), WorkArea::kAdmissionLimit);
}

// A template file (its lines keyed by its path as on disk) sorted descending
// and reflected between two searched files.
void tst_EditorCommands::sortTemplateFile()
{
    EditFixture f(twoFiles(), QStringLiteral("w"));
    addTemplate(f.wb.work, kTemplate, {QStringLiteral("b"), QStringLiteral(""), QStringLiteral("A"),
                                       QStringLiteral("a"), QStringLiteral("c")});
    ListView::Build_List_View(f.wb);
    QVERIFY_CONSISTENT(f.wb.work);
    QVERIFY(f.showDetail(f.lineOf(LineFormat::kAddPrefix)));
    QVERIFY(f.wb.board.isEnabled(QStringLiteral("SORT")));
    const int file = f.wb.display.Detail_File_Index;
    QCOMPARE(f.wb.work.Search_Hit_File_List.text(file), kTemplate);

    SortCommand c(f.wb);
    QVERIFY(c.Form_Load());
    QCOMPARE(c.fileKey(), QStringLiteral("/TPL/FORM.TXT"));
    QVERIFY(!c.sort().sorted());
    c.Command1_Click(false);
    QCOMPARE(c.sort().lines(), (QStringList{"c", "b", "a", "A", ""}));
    QVERIFY(c.Cmd_Hanei_Click());
    QVERIFY_CONSISTENT(f.wb.work);
    QCOMPARE(f.stored(file), (QStringList{"000001.000:c", "000002.000:b", "000003.000:a", "000004.000:A", "000005.000:"}));
    const WorkArea::Range r = f.wb.work.File_Line_Range(file);
    for (int k = r.first; k <= r.last; ++k)
        QCOMPARE(LineFormat::Entry_Key(f.wb.work.Search_Hit_All_Line_List.text(k)).toString(), kTemplate);
    QCOMPARE(f.wb.work.Search_Hit_File_Change.data(file), 1);
    QVERIFY(f.wb.board.isEnabled(QStringLiteral("HOZON")));
    QVERIFY(f.detail.plainText().contains(QStringLiteral("c\r\nb\r\na\r\nA\r\n")));
}

void tst_EditorCommands::nothingShownNothingLoaded()
{
    EditFixture f(twoFiles(), QStringLiteral("w"));
    f.wb.display.Detail_File_Index = -1;
    LineEditCommand edit(f.wb);
    QVERIFY(!edit.Form_Load());
    SortCommand sort(f.wb);
    QVERIFY(!sort.Form_Load());
    QCOMPARE(f.port.shown.size(), 2);
    QVERIFY_CONSISTENT(f.wb.work);
}

QTEST_GUILESS_MAIN(tst_EditorCommands)
#include "tst_editorcommands.moc"
