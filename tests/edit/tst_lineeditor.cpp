#include "edit/LineEditor.h"
#include "workarea/ItemList.h"
#include "workarea/LineFormat.h"

#include "ScriptedMessagePort.h"

#include <QTest>

class tst_LineEditor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void insertNumbering_data();
    void insertNumbering();
    void splitTypedLines_data();
    void splitTypedLines();
    void lineNumberValue_data();
    void lineNumberValue();
    void selectCount_data();
    void selectCount();
    void deleteRules();
    void goBack();
    void update();
    void insertRefusals();
    void wholeRoadIntoTheStore();
};

namespace {

const QString kKey = QStringLiteral("/work/B.TXT");

// Entries of lines numbered (thousandths) as given, texts "L<number>".
QStringList entries(const QList<qint32> &numbers)
{
    QStringList out;
    for (qint32 n : numbers)
        out.append(kKey + QStringLiteral(":@:") + LineFormat::lineNoThousandths(n) + QStringLiteral(":@:L")
                   + QString::number(n));
    return out;
}

QList<qint32> numbers(const LineEditor &editor)
{
    QList<qint32> out;
    for (const EditorLine &line : editor.lines())
        out.append(line.number);
    return out;
}

const QString kNarrow = QStringLiteral("挿入が多くなってきました。\r\n一旦入力を確定し、ファイルの保存を行って下さい。");
const QString kTooMany =
    QStringLiteral("挿入行が多すぎます。\r\n挿入行を少なくするか、\r\n一旦入力を確定し、ファイルの保存を行って下さい。");

QString typedLines(int n)
{
    QStringList lines;
    for (int i = 0; i < n; ++i)
        lines.append(QStringLiteral("t") + QString::number(i));
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

void tst_LineEditor::insertNumbering_data()
{
    QTest::addColumn<QList<qint32>>("loaded");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("typed");
    QTest::addColumn<QList<qint32>>("inserted"); // numbers of the new lines; empty = refused
    QTest::addColumn<QStringList>("messages");

    QList<qint32> narrow;
    for (int i = 1; i <= 999; ++i)
        narrow.append(12000 + i);
    QTest::newRow("before the first line") << QList<qint32>{1000, 2000} << 0 << 1 << QList<qint32>{500}
                                           << QStringList{};
    QTest::newRow("one between 12 and 13") << QList<qint32>{12000, 13000} << 1 << 1 << QList<qint32>{12500}
                                           << QStringList{};
    QTest::newRow("three between 12 and 13") << QList<qint32>{12000, 13000} << 1 << 3
                                             << QList<qint32>{12250, 12500, 12750} << QStringList{};
    QTest::newRow("before an inserted line") << QList<qint32>{12000, 12500, 13000} << 1 << 1
                                             << QList<qint32>{12250} << QStringList{};
    QTest::newRow("999 lines: step 1 with the warning") << QList<qint32>{12000, 13000} << 1 << 999 << narrow
                                                        << QStringList{kNarrow};
    QTest::newRow("1000 lines refused") << QList<qint32>{12000, 13000} << 1 << 1000 << QList<qint32>{}
                                        << QStringList{kTooMany};
    QTest::newRow("step 10 warns") << QList<qint32>{0, 20} << 1 << 1 << QList<qint32>{10} << QStringList{kNarrow};
    QTest::newRow("step 11 does not") << QList<qint32>{0, 22} << 1 << 1 << QList<qint32>{11} << QStringList{};
    QTest::newRow("no room before 000000.001") << QList<qint32>{1, 1000} << 0 << 1 << QList<qint32>{}
                                               << QStringList{kTooMany};
}

void tst_LineEditor::insertNumbering()
{
    QFETCH(QList<qint32>, loaded);
    QFETCH(int, row);
    QFETCH(int, typed);
    QFETCH(QList<qint32>, inserted);
    ScriptedMessagePort port;
    LineEditor editor(port);
    editor.Load(entries(loaded));
    editor.setSelection({row});
    QVERIFY(editor.Cmd_Insert_Click());
    QCOMPARE(editor.mode(), LineEditor::Mode::Insert);
    const auto result = editor.Cmd_Insert_Commit_Click(typedLines(typed));
    QTEST(port.texts(), "messages");
    QList<qint32> expected = loaded;
    if (inserted.isEmpty()) {
        QCOMPARE(result, LineEditor::Commit::Refused);
        QCOMPARE(editor.mode(), LineEditor::Mode::Insert);
    } else {
        QCOMPARE(result, LineEditor::Commit::Inserted);
        QCOMPARE(editor.mode(), LineEditor::Mode::Normal);
        for (int i = 0; i < inserted.size(); ++i)
            expected.insert(row + i, inserted[i]);
        QCOMPARE(editor.lines().at(row).text, QStringLiteral("t0"));
    }
    QCOMPARE(numbers(editor), expected);
}

void tst_LineEditor::splitTypedLines_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("final break adds nothing") << "a\r\nb\r\n" << QStringList{"a", "b"};
    QTest::newRow("empty line between two breaks") << "a\r\n\r\nb" << QStringList{"a", "", "b"};
    QTest::newRow("no break") << "a" << QStringList{"a"};
    QTest::newRow("nothing typed") << "" << QStringList{};
    QTest::newRow("one break alone") << "\r\n" << QStringList{""};
    QTest::newRow("text box line feeds") << "a\n\nb\n" << QStringList{"a", "", "b"};
    QTest::newRow("lone carriage return") << "a\rb" << QStringList{"a", "b"};
    QTest::newRow("spaces and tabs kept") << " a \t\r\n" << QStringList{" a \t"};
}

void tst_LineEditor::splitTypedLines()
{
    QFETCH(QString, typed);
    QTEST(LineEditor::splitTypedLines(typed), "lines");
}

void tst_LineEditor::lineNumberValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("value");
    QTest::newRow("read from disk") << "000012.000" << qint32(12000);
    QTest::newRow("inserted") << "000012.500" << qint32(12500);
    QTest::newRow("smallest") << "000000.001" << qint32(1);
    QTest::newRow("largest") << "999999.999" << qint32(999999999);
    QTest::newRow("short fraction") << "12.5" << qint32(12500);
    QTest::newRow("no number") << "" << qint32(0);
}

void tst_LineEditor::lineNumberValue()
{
    QFETCH(QString, text);
    QFETCH(qint32, value);
    QCOMPARE(LineEditor::lineNumberValue(text), value);
    if (text.size() == 10)
        QCOMPARE(LineFormat::lineNoThousandths(value), text);
}

void tst_LineEditor::selectCount_data()
{
    QTest::addColumn<qint16>("mode");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("result");
    QTest::addColumn<qint16>("answer");
    QTest::newRow("at least one: none") << qint16(1) << QList<int>{} << 9 << qint16(0);
    QTest::newRow("at least one: three") << qint16(1) << QList<int>{0, 2, 4} << 0 << qint16(3);
    QTest::newRow("exactly one: row 3") << qint16(2) << QList<int>{3} << 0 << qint16(4);
    QTest::newRow("exactly one: two") << qint16(2) << QList<int>{1, 3} << 9 << qint16(2);
    QTest::newRow("update: none") << qint16(3) << QList<int>{} << 9 << qint16(0);
    QTest::newRow("update: row 0") << qint16(3) << QList<int>{0} << 0 << qint16(1);
    QTest::newRow("unknown mode") << qint16(4) << QList<int>{0} << 9 << qint16(-1);
}

void tst_LineEditor::selectCount()
{
    QFETCH(qint16, mode);
    QFETCH(QList<int>, selected);
    QFETCH(qint16, answer);
    ScriptedMessagePort port;
    LineEditor editor(port);
    editor.Load(entries({1000, 2000, 3000, 4000, 5000}));
    editor.setSelection(selected);
    qint16 ans = -1;
    QTEST(editor.List1_Select_Count(mode, ans), "result");
    QCOMPARE(ans, answer);
    if (mode == 4) {
        QCOMPARE(port.texts(), QStringList{QStringLiteral("チェックモードの入力が不正です。")});
        QCOMPARE(port.shown[0].caption, QStringLiteral("システムエラー"));
        QCOMPARE(port.shown[0].icon, MessagePort::Icon::Critical);
    } else {
        QVERIFY(port.shown.isEmpty());
    }
}

void tst_LineEditor::deleteRules()
{
    ScriptedMessagePort port;
    LineEditor editor(port);
    editor.Load(entries({1000, 2000, 3000}));
    QVERIFY(!editor.Cmd_Delete_Click());
    editor.setSelection({0, 1, 2});
    QVERIFY(!editor.Cmd_Delete_Click());
    QCOMPARE(numbers(editor), (QList<qint32>{1000, 2000, 3000}));
    editor.setSelection({2, 0});
    QVERIFY(editor.Cmd_Delete_Click());
    QCOMPARE(numbers(editor), QList<qint32>{2000});
    QCOMPARE(port.texts(), (QStringList{QStringLiteral("行が選択されていません。"),
                                        QStringLiteral("全ての行を削除することはできません。\r\n"
                                                       "全行削除は、一覧画面から選択取り消しを行って下さい。")}));
    QCOMPARE(port.shown[1].caption, LineEditor::kCaption);
}

void tst_LineEditor::goBack()
{
    ScriptedMessagePort port;
    LineEditor editor(port);
    editor.Load(entries({1000, 2000, 3000}));
    editor.Cmd_Redo_Click();
    QCOMPARE(numbers(editor), (QList<qint32>{1000, 2000, 3000}));

    editor.setSelection({1});
    QVERIFY(editor.Cmd_Insert_Click());
    QCOMPARE(editor.Cmd_Insert_Commit_Click(QStringLiteral("new")), LineEditor::Commit::Inserted);
    editor.setSelection({0, 2});
    QVERIFY(editor.Cmd_Delete_Click());
    QCOMPARE(numbers(editor), (QList<qint32>{1500, 3000}));
    // Back to the state before the delete, with the deleted lines' numbers;
    // going back again changes nothing.
    editor.Cmd_Redo_Click();
    QCOMPARE(numbers(editor), (QList<qint32>{1000, 1500, 2000, 3000}));
    editor.Cmd_Redo_Click();
    QCOMPARE(numbers(editor), (QList<qint32>{1000, 1500, 2000, 3000}));
    QCOMPARE(editor.lines().at(1).text, QStringLiteral("new"));
}

void tst_LineEditor::update()
{
    ScriptedMessagePort port;
    LineEditor editor(port);
    editor.Load(entries({1000, 2000}));
    editor.setShiftJisName(QStringLiteral("/t/F.TXT"));
    editor.setSelection({1});
    for (const std::optional<QString> &answer :
         {std::optional<QString>(QString()), std::optional<QString>(), std::optional<QString>(QStringLiteral("caf\u00e9")),
          std::optional<QString>(QStringLiteral("two\r\nlines")), std::optional<QString>(QStringLiteral("changed"))})
        port.inputs.enqueue(answer);
    QVERIFY(!editor.Cmd_Update_Click()); // empty answer
    QVERIFY(!editor.Cmd_Update_Click()); // cancelled
    QVERIFY(!editor.Cmd_Update_Click()); // a character a Shift-JIS file cannot hold
    QCOMPARE(editor.lines().at(1).text, QStringLiteral("L2000"));
    QVERIFY(port.shown.last().text.contains(QStringLiteral("（\u00e9）")));
    QVERIFY(port.shown.last().text.endsWith(QStringLiteral("\r\n/t/F.TXT")));
    QVERIFY(!editor.Cmd_Update_Click()); // a pasted line break would split the line
    QCOMPARE(port.shown.last().text, QStringLiteral("修正イメージに改行は使えません。"));
    QCOMPARE(editor.lines().at(1).text, QStringLiteral("L2000"));
    QVERIFY(editor.Cmd_Update_Click());
    QCOMPARE(editor.lines().at(1).text, QStringLiteral("changed"));
    QCOMPARE(editor.lines().at(1).number, 2000);
    editor.Cmd_Redo_Click();
    QCOMPARE(editor.lines().at(1).text, QStringLiteral("L2000"));
    // A UTF file takes every character.
    editor.setShiftJisName(QString());
    editor.setSelection({1});
    port.inputs.enqueue(QStringLiteral("caf\u00e9"));
    QVERIFY(editor.Cmd_Update_Click());
    QCOMPARE(editor.lines().at(1).text, QStringLiteral("caf\u00e9"));

    editor.setSelection({0, 1});
    port.shown.clear();
    QVERIFY(!editor.Cmd_Update_Click());
    QCOMPARE(port.texts(), QStringList{QStringLiteral("複数行が選択されています。\r\n１行しか選択できません。")});
}

void tst_LineEditor::insertRefusals()
{
    ScriptedMessagePort port;
    LineEditor editor(port);
    QList<qint32> full;
    for (int i = 1; i <= WorkArea::kAdmissionLimit - 1; ++i)
        full.append(i * 1000);
    editor.Load(entries(full));
    editor.setShiftJisName(QStringLiteral("/t/F.TXT"));

    QVERIFY(!editor.Cmd_Insert_Click());
    editor.setSelection({5});
    QVERIFY(editor.Cmd_Insert_Click());
    // Refused text stays typed; insert mode goes on.
    QCOMPARE(editor.Cmd_Insert_Commit_Click(QStringLiteral("\U0001F600")), LineEditor::Commit::Refused);
    QCOMPARE(editor.mode(), LineEditor::Mode::Insert);
    QCOMPARE(editor.Cmd_Insert_Commit_Click(QStringLiteral("a\r\nb")), LineEditor::Commit::Blocked);
    QVERIFY(!editor.commitEnabled());
    QCOMPARE(editor.count(), WorkArea::kAdmissionLimit - 1);
    QVERIFY(!editor.Cmd_Cancel_Click()); // leaves insert mode only
    QCOMPARE(editor.mode(), LineEditor::Mode::Normal);

    editor.setSelection({5});
    QVERIFY(editor.Cmd_Insert_Click());
    QCOMPARE(editor.Cmd_Insert_Commit_Click(QStringLiteral("one")), LineEditor::Commit::Inserted);
    editor.setSelection({5});
    QVERIFY(!editor.Cmd_Insert_Click());
    QVERIFY(editor.Cmd_Cancel_Click());
    QCOMPARE(port.texts(),
             (QStringList{QStringLiteral("行が選択されていません。"),
                          QStringLiteral("挿入行にシフトJISで表せない文字が含まれています。\r\n（\U0001F600）\r\n"
                                         "この文字はシフトJISのファイルに保存できないため、入力できません。\r\n/t/F.TXT"),
                          QStringLiteral("追加行が多すぎます。これ以上追加できません。"),
                          QStringLiteral("行が多すぎます。これ以上追加できません。")}));
}

// Load from the store, edit, reflect, and put the entries back the way the
// work area does (the file's range removed, the new entries added as one run).
void tst_LineEditor::wholeRoadIntoTheStore()
{
    ItemList store(true);
    const QString before = QStringLiteral("/work/A.TXT");
    const QString after = QStringLiteral("/work/C.TXT");
    store.add(before + QStringLiteral(":@:000001.000:@:a"));
    for (const QString &e : entries({1000, 2000, 3000, 4000}))
        store.add(e);
    store.add(after + QStringLiteral(":@:000001.000:@:c"));
    const int first = 1, n = 4;

    ScriptedMessagePort port;
    LineEditor editor(port);
    QStringList loaded;
    for (int i = first; i < first + n; ++i)
        loaded.append(store.text(i));
    editor.Load(loaded);
    QCOMPARE(editor.reflectEntries(kKey), loaded); // reflect without edits

    editor.setSelection({1, 2});
    QVERIFY(editor.Cmd_Delete_Click());
    editor.setSelection({1});
    QVERIFY(editor.Cmd_Insert_Click());
    QCOMPARE(editor.Cmd_Insert_Commit_Click(QStringLiteral("x\r\n\r\ny:@:z\r\n")), LineEditor::Commit::Inserted);
    editor.setSelection({0});
    port.inputs.enqueue(QStringLiteral("first"));
    QVERIFY(editor.Cmd_Update_Click());

    QStringList reflected = editor.reflectEntries(kKey);
    const QStringList expected{kKey + QStringLiteral(":@:000001.000:@:first"),
                               kKey + QStringLiteral(":@:000001.750:@:x"), kKey + QStringLiteral(":@:000002.500:@:"),
                               kKey + QStringLiteral(":@:000003.250:@:y:@:z"),
                               kKey + QStringLiteral(":@:000004.000:@:L4000")};
    QCOMPARE(reflected, expected);

    store.removeRange(first, n);
    QCOMPARE(store.addRun(std::move(reflected)), first);
    QStringList all = store.texts();
    QCOMPARE(all.first(), before + QStringLiteral(":@:000001.000:@:a"));
    QCOMPARE(all.mid(first, expected.size()), expected);
    QCOMPARE(all.last(), after + QStringLiteral(":@:000001.000:@:c"));
    // The same order the sorted store gives entries added one by one.
    ItemList oneByOne(true);
    for (const QString &e : all)
        oneByOne.add(e);
    QCOMPARE(oneByOne.texts(), all);
}

QTEST_APPLESS_MAIN(tst_LineEditor)
#include "tst_lineeditor.moc"
