// The line editor and the sort on the work area: what the whole road
// (tst_editroad) does not show.
#include "EditFixture.h"

#include "edit/LineEditForm.h"
#include "edit/SortForm.h"

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
    void reflectWithoutEditsMarksChanged();
    void lineLimitLeavesRoomForOtherFiles();
    void sortKeepsTheTemplatesKey();
};

void tst_EditorCommands::reflectWithoutEditsMarksChanged()
{
    EditFixture f(twoFiles(), QStringLiteral("w"));
    QVERIFY(f.showDetail(f.lineOf(QStringLiteral("000001:c1 w"))));
    const QStringList before = f.wb.work.Search_Hit_All_Line_List().texts();
    LineEditForm c(f.wb);
    QVERIFY(c.Form_Load());
    QVERIFY(c.Cmd_Hanei_Click());
    QVERIFY_CONSISTENT(f.wb.work);
    QCOMPARE(f.wb.work.Search_Hit_All_Line_List().texts(), before);
    QCOMPARE(f.wb.work.Search_Hit_File_Change().data(1), 1);
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
    LineEditForm c(f.wb);
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
    QCOMPARE(f.wb.work.Search_Hit_All_Line_List().count(), WorkArea::kAdmissionLimit);
}

// A template's lines are keyed by its path as on disk, not by the upper-case
// key the detail view shows: sorted and reflected, they stay its lines.
void tst_EditorCommands::sortKeepsTheTemplatesKey()
{
    EditFixture f(twoFiles(), QStringLiteral("w"));
    addTemplate(f.wb.work, kTemplate, {QStringLiteral("b"), QStringLiteral(""), QStringLiteral("a")});
    ListView::Build_List_View(f.wb);
    QVERIFY(f.showDetail(f.lineOf(LineFormat::kAddPrefix)));
    const int file = f.wb.display.detailFileIndex;
    SortForm c(f.wb);
    QVERIFY(c.Form_Load());
    QCOMPARE(c.fileKey(), kTemplate);
    c.Command1_Click(false);
    QVERIFY(c.Cmd_Hanei_Click());
    QVERIFY_CONSISTENT(f.wb.work);
    QCOMPARE(f.wb.work.storedKey(file), kTemplate);
    QCOMPARE(f.stored(file), (QStringList{"000001.000:b", "000002.000:a", "000003.000:"}));
    QCOMPARE(f.wb.work.Search_Hit_File_Change().data(file), 1);
    QVERIFY(f.detail.plainText().contains(QStringLiteral("b\r\na\r\n")));
}

QTEST_GUILESS_MAIN(tst_EditorCommands)
#include "tst_editorcommands.moc"
