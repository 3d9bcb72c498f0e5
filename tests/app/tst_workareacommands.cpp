#include "app/WorkAreaCommands.h"
#include "base/Workbench.h"
#include "platform/ClipboardPort.h"
#include "platform/RichViewPort.h"
#include "template/TemplateReadForm.h"

#include "ScriptedMessagePort.h"

#include "WorkAreaTestAccess.h"
#include "CommandBoardTestAccess.h"

#include <QTest>

namespace {

class FakeView : public RichViewPort
{
public:
    QString text;
    QString selection;
    int caretPos = 0;
    bool shown = false;
    int refreshed = 0;

    bool loadRtf(const QString &) override { return true; }
    void clearText() override { text.clear(); selection.clear(); }
    QString plainText() const override { return text; }
    int caret() const override { return caretPos; }
    void setCaret(int p) override { caretPos = p; selection.clear(); }
    void selectToLineEnd() override {}
    int find(const QString &, int) override { return -1; }
    QString selectedText() const override { return selection; }
    void setShown(bool s) override { shown = s; }
    bool isShown() const override { return shown; }
    void setViewEnabled(bool) override {}
    void refresh() override { ++refreshed; }
    void focus() override {}
};

class FakeClipboard : public ClipboardPort
{
public:
    QString content = QStringLiteral("earlier");
    int sets = 0;
    void setText(const QString &t) override { content = t; ++sets; }
    QString text() const override { return content; }
};

} // namespace

class tst_WorkAreaCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void clearNeedsAResult();
    void clearAnsweredNo();
    void clearAnsweredYes_data();
    void clearAnsweredYes();
    void copy_data();
    void copy();

private:
    void fillResult();
    Workbench *wb = nullptr;
    ScriptedMessagePort port;
    FakeView list, detail;
    FakeClipboard clip;
    std::unique_ptr<Workbench> m_wb;
};

void tst_WorkAreaCommands::init()
{
    m_wb = std::make_unique<Workbench>();
    wb = m_wb.get();
    port = ScriptedMessagePort();
    list = FakeView();
    detail = FakeView();
    clip = FakeClipboard();
    wb->messages = &port;
    wb->listView = &list;
    wb->detailView = &detail;
    wb->clipboard = &clip;
}

void tst_WorkAreaCommands::fillResult()
{
    wb->work.appendDisplayLine(QStringLiteral("        Path-File"));
    const QString key = QStringLiteral("/d/a.txt");
    QVERIFY(wb->work.admitFile(key, {}, {QStringLiteral("SEARCH_FILE = ") + key}, {key + QStringLiteral(":@:000001.000:@:x")},
                                true) >= 0);
    WorkAreaTestAccess::scanBuffer(wb->work).add(QStringLiteral("x"));
    WorkAreaTestAccess::sortList(wb->work).add(QStringLiteral("y"));
    wb->work.Result_Flag = 1;
    wb->work.Hozon_Flag = 1;
    wb->display.detailCacheKey = QStringLiteral("/D/A.TXT");
    wb->display.detailFileIndex = 0;
    wb->board.applyStartup();
    CommandBoardTestAccess::enable(
        wb->board, {Command::HOZON, Command::DISP_SEARCH, Command::UPDATE, Command::SORT, Command::CLIP, Command::SEARCH_SAVE});
    CommandBoardTestAccess::disable(wb->board, {Command::SEARCH, Command::HINAGATA, Command::DISP});
    list.text = QStringLiteral("list");
    detail.text = QStringLiteral("detail");
    detail.shown = true;
    detail.selection = QStringLiteral("sel");
}

void tst_WorkAreaCommands::clearNeedsAResult()
{
    fillResult();
    wb->work.Result_Flag = 0;
    const int shown = wb->work.Search_Hit_List().count();
    WorkAreaCommands::Clear_Work_Area(*wb);
    QVERIFY(port.shown.isEmpty());
    QCOMPARE(wb->work.Search_Hit_List().count(), shown);
    QVERIFY(detail.shown);
    QVERIFY(!wb->board.isEnabled(Command::SEARCH));
}

void tst_WorkAreaCommands::clearAnsweredNo()
{
    fillResult();
    port.answers.enqueue(MessagePort::Answer::No);
    WorkAreaCommands::Clear_Work_Area(*wb);
    QCOMPARE(port.shown.size(), 1);
    QCOMPARE(port.shown[0].text, QStringLiteral("作業中の内容を全てクリアーします\r\nよろしいですか？"));
    QCOMPARE(port.shown[0].caption, QStringLiteral("ＱＵＡＶ"));
    QCOMPARE(port.shown[0].icon, MessagePort::Icon::Question);
    QCOMPARE(port.shown[0].buttons, MessagePort::Buttons::YesNoDefaultNo);
    QCOMPARE(wb->work.Search_Hit_File_List().count(), 1);
    QCOMPARE(wb->work.Search_Hit_File_Change().data(0), 1);
    QCOMPARE(wb->work.Hozon_Flag, qint16(1));
    QCOMPARE(wb->work.Result_Flag, qint16(1));
    QCOMPARE(wb->display.detailCacheKey, QStringLiteral("/D/A.TXT"));
    QVERIFY(detail.shown);
    QVERIFY(wb->board.isEnabled(Command::HOZON));
}

// A template read that discards the work area leaves the state CLEAR leaves.
void tst_WorkAreaCommands::clearAnsweredYes_data()
{
    QTest::addColumn<bool>("byTemplateRead");
    QTest::newRow("CLEAR") << false;
    QTest::newRow("template read discarding, nothing read") << true;
}

void tst_WorkAreaCommands::clearAnsweredYes()
{
    QFETCH(bool, byTemplateRead);
    fillResult();
    port.answers.enqueue(MessagePort::Answer::Yes);
    if (byTemplateRead)
        QVERIFY(TemplateReadForm::Hinagata_Read(*wb, {"/nonexistent/t.txt"}, true));
    else
        WorkAreaCommands::Clear_Work_Area(*wb);
    const WorkArea &w = wb->work;
    for (const ItemList *l : {&w.Search_Hit_File_List(), &w.Search_Hit_File_Change(), &w.Search_Hit_All_Line_List(),
                              &w.Search_Hit_List(), &w.Mojisuu_Count_List(), &w.Search_List(), &w.Sort_List()})
        QVERIFY(l->isEmpty());
    for (Command on : {Command::SEARCH, Command::HINAGATA, Command::SEARCH_SAVE, Command::DRIVE, Command::CLEAR})
        QVERIFY2(wb->board.isEnabled(on), Commands::info(on).key);
    for (Command off :
         {Command::HOZON, Command::FILE_DELETE, Command::SORT, Command::CHANGE, Command::UPDATE, Command::CLIP,
          Command::PARAMETER, Command::HINA_FUKUSEI, Command::STOP, Command::DISP_SEARCH, Command::DISP})
        QVERIFY2(!wb->board.isEnabled(off), Commands::info(off).key);
    for (const FakeView *v : {&list, &detail}) {
        QVERIFY(v->text.isEmpty());
        QVERIFY(v->selection.isEmpty());
        QVERIFY(!v->shown);
        QCOMPARE(v->refreshed, 1);
    }
    QVERIFY(wb->display.detailCacheKey.isEmpty());
    QCOMPARE(wb->display.detailFileIndex, -1);
    QCOMPARE(w.Hozon_Flag, qint16(0));
    QCOMPARE(w.Result_Flag, qint16(0));
}

void tst_WorkAreaCommands::copy_data()
{
    QTest::addColumn<bool>("listShown");
    QTest::addColumn<QString>("listSelection");
    QTest::addColumn<QString>("detailSelection");
    QTest::addColumn<QString>("expected"); // empty: the message, clipboard untouched
    const QString line1 = QStringLiteral("000001:あいう") + QString(73, QLatin1Char(' '));
    const QString line2 = QStringLiteral("000002:x") + QString(75, QLatin1Char(' '));
    const QString twoLines = line1 + QStringLiteral("\r\n") + line2;
    QTest::newRow("list view, several lines with filling spaces") << true << twoLines << "other" << twoLines;
    QTest::newRow("detail view visible") << false << "list" << "detail text" << "detail text";
    QTest::newRow("nothing selected in the visible view") << true << "" << "detail" << "";
    QTest::newRow("nothing selected in the detail view") << false << "list" << "" << "";
}

void tst_WorkAreaCommands::copy()
{
    QFETCH(bool, listShown);
    QFETCH(QString, listSelection);
    QFETCH(QString, detailSelection);
    QFETCH(QString, expected);
    list.shown = listShown;
    detail.shown = !listShown;
    list.selection = listSelection;
    detail.selection = detailSelection;
    WorkAreaCommands::Copy_Selection(*wb);
    if (expected.isEmpty()) {
        QCOMPARE(port.texts(), QStringList{QStringLiteral("テキストが選択されていません。")});
        QCOMPARE(port.shown[0].caption, QStringLiteral("クリップボードコピー"));
        QCOMPARE(port.shown[0].icon, MessagePort::Icon::Exclamation);
        QCOMPARE(clip.sets, 0);
        QCOMPARE(clip.content, QStringLiteral("earlier"));
    } else {
        QVERIFY(port.shown.isEmpty());
        QCOMPARE(clip.content, expected);
    }
}

QTEST_GUILESS_MAIN(tst_WorkAreaCommands)
#include "tst_workareacommands.moc"
