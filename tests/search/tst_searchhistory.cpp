#include "base/Workbench.h"
#include "platform/Cp932.h"
#include "search/SearchHistory.h"
#include "search/SearchForm.h"
#include "search/SearchWord.h"

#include "ScriptedMessagePort.h"

#include <QTest>

using History = std::array<QString, SearchHistory::kEntries>;

class tst_SearchHistory : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void record_data();
    void record();
    void trimSpaces_data();
    void trimSpaces();
    void searchText_data();
    void searchText();
    void unmapped_data();
    void unmapped();
    void checkOrder_data();
    void checkOrder();
    void prepareRun_data();
    void prepareRun();
};

static History history(const QStringList &entries)
{
    History h;
    for (int i = 0; i < entries.size(); ++i)
        h[size_t(i)] = entries.at(i);
    return h;
}

void tst_SearchHistory::record_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("defaultBefore");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("makeDefault");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("defaultAfter");

    QTest::newRow("first use, default ticked") << QStringList() << 0 << "abc" << true << QStringList{"abc"} << 0;
    QTest::newRow("first use, unticked: default follows the empty slot")
        << QStringList() << 0 << "abc" << false << QStringList{"abc"} << 1;
    QTest::newRow("existing entry keeps its place, becomes default")
        << QStringList{"a", "b", "c"} << 0 << "c" << true << QStringList{"a", "b", "c"} << 2;
    QTest::newRow("existing entry, unticked: default unchanged")
        << QStringList{"a", "b", "c"} << 1 << "c" << false << QStringList{"a", "b", "c"} << 1;
    QTest::newRow("new entry, unticked: default text kept at its new index")
        << QStringList{"a", "b", "c"} << 1 << "new" << false << QStringList{"new", "a", "b", "c"} << 2;
    QTest::newRow("new entry, ticked: becomes default at 0")
        << QStringList{"a", "b", "c"} << 2 << "new" << true << QStringList{"new", "a", "b", "c"} << 0;
    QTest::newRow("eleventh pushes out the oldest")
        << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"} << 3 << "x" << false
        << QStringList{"x", "0", "1", "2", "3", "4", "5", "6", "7", "8"} << 4;
    QTest::newRow("default pushed out: falls back to 0")
        << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"} << 9 << "x" << false
        << QStringList{"x", "0", "1", "2", "3", "4", "5", "6", "7", "8"} << 0;
    QTest::newRow("case matters in the history")
        << QStringList{"abc"} << 0 << "ABC" << true << QStringList{"ABC", "abc"} << 0;
}

void tst_SearchHistory::record()
{
    QFETCH(QStringList, before);
    QFETCH(int, defaultBefore);
    QFETCH(QString, text);
    QFETCH(bool, makeDefault);
    QFETCH(QStringList, after);
    QFETCH(int, defaultAfter);

    History h = history(before);
    qint32 d = defaultBefore;
    SearchHistory::Record(h, d, text, makeDefault);
    QCOMPARE(SearchHistory::nonEmpty(h), after);
    QCOMPARE(d, defaultAfter);
}

void tst_SearchHistory::trimSpaces_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("half-width spaces") << "  検索 語  " << "検索 語";
    QTest::newRow("full-width spaces") << QStringLiteral("　語　") << QStringLiteral("語");
    QTest::newRow("both kinds mixed") << QStringLiteral(" 　 a b　 ") << QStringLiteral("a b");
    QTest::newRow("tab kept") << "\tkey\t" << "\tkey\t";
    QTest::newRow("line breaks kept") << " key\r\n" << "key\r\n";
    QTest::newRow("spaces inside a tab kept") << "\t key \t" << "\t key \t";
    QTest::newRow("no-break space kept") << QStringLiteral("\u00A0x\u00A0") << QStringLiteral("\u00A0x\u00A0");
    QTest::newRow("only spaces") << QStringLiteral(" 　 ") << QString();
}

void tst_SearchHistory::trimSpaces()
{
    QFETCH(QString, typed);
    QFETCH(QString, trimmed);
    QCOMPARE(SearchWord::trimSpaces(typed), trimmed);
}

void tst_SearchHistory::searchText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("searched");
    QTest::newRow("blanks around") << "  検索 語  " << "検索 語";
    QTest::newRow("full-width blanks around") << QStringLiteral("　語　") << QStringLiteral("語");
    QTest::newRow("wave dash becomes the code page 932 tilde") << QStringLiteral("1\u301C2") << QStringLiteral("1\uFF5E2");
    QTest::newRow("minus sign becomes full-width hyphen-minus") << QStringLiteral("\u2212") << QStringLiteral("\uFF0D");
    QTest::newRow("em dash becomes the horizontal bar") << QStringLiteral("a\u2014") << QStringLiteral("a\u2015");
    QTest::newRow("tab kept") << "\tx" << "\tx";
}

void tst_SearchHistory::searchText()
{
    QFETCH(QString, typed);
    QFETCH(QString, searched);
    const SearchWord::Prepared p = SearchWord::Prepare(typed, EncodingChoice::Cp932);
    QCOMPARE(p.word, searched);
    QCOMPARE(int(p.problem), int(SearchWord::Problem::None));
    QVERIFY(p.message.isEmpty());
}

void tst_SearchHistory::unmapped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("unmapped");
    QTest::newRow("Shift-JIS text") << QStringLiteral("あ①～ﾊﾞｲﾄ\\~") << QString();
    QTest::newRow("emoji, twice, reported once") << QStringLiteral("a😀b😀") << QStringLiteral("😀");
    QTest::newRow("two kinds") << QStringLiteral("é😀") << QStringLiteral("é😀");
}

void tst_SearchHistory::unmapped()
{
    QFETCH(QString, text);
    QFETCH(QString, unmapped);
    QCOMPARE(Cp932::unmappedCharacters(text), unmapped);
}

void tst_SearchHistory::checkOrder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("identifier");
    QTest::addColumn<bool>("all");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<QString>("message");
    using R = SearchForm::Refusal;
    QTest::newRow("blank word before missing identifier")
        << "   " << "" << false << int(R::NoWord) << QStringLiteral("サーチ文字が設定されていません。");
    QTest::newRow("missing identifier") << "x" << " " << false << int(R::NoIdentifier)
                                        << QStringLiteral("サーチ対象識別子が設定されていません。");
    QTest::newRow("all identifiers need none") << "x" << "" << true << int(R::None) << QString();
    QTest::newRow("emoji") << QStringLiteral("😀") << "TXT" << false << int(R::NotShiftJis)
                           << QStringLiteral("サーチ文字にシフトJISで表せない文字が含まれています。");
    QTest::newRow("line break in the word") << "a\nb" << "TXT" << false << int(R::LineBreak)
                                            << QStringLiteral("サーチ文字に改行は使えません。");
    QTest::newRow("a tab is not blank") << "\t" << "TXT" << false << int(R::None) << QString();
    QTest::newRow("identifier of a tab is not blank") << "x" << "\t" << false << int(R::None) << QString();
    QTest::newRow("identifier of full-width spaces is blank") << "x" << QStringLiteral("　") << false
                                                              << int(R::NoIdentifier)
                                                              << QStringLiteral("サーチ対象識別子が設定されていません。");
    QTest::newRow("very long word") << QString(5000, QLatin1Char('a')) << "TXT" << false << int(R::None) << QString();
}

void tst_SearchHistory::checkOrder()
{
    QFETCH(QString, text);
    QFETCH(QString, identifier);
    QFETCH(bool, all);
    QFETCH(int, refusal);
    QFETCH(QString, message);

    Workbench wb;
    ScriptedMessagePort port;
    wb.messages = &port;
    SearchChoice c;
    c.searchText = text;
    c.identifierText = identifier;
    c.sikibetuAll = all;
    c.encoding = EncodingChoice::Cp932;
    QCOMPARE(int(SearchForm::Check(*wb.messages, c)), refusal);
    if (message.isEmpty()) {
        QVERIFY(port.shown.isEmpty());
    } else {
        QCOMPARE(port.shown.size(), 1);
        QVERIFY(port.shown[0].text.startsWith(message));
        QCOMPARE(port.shown[0].caption, QStringLiteral("ＱＵＡＶ　サーチ諸元設定"));
        QCOMPARE(port.shown[0].icon, MessagePort::Icon::Exclamation);
    }
}

void tst_SearchHistory::prepareRun_data()
{
    QTest::addColumn<QString>("searchPath");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("currentDir");
    QTest::addColumn<int>("compareMode");
    QTest::newRow("folder, case-sensitive") << "/home/u/doc" << true << "/home/u/doc/" << 0;
    QTest::newRow("root keeps its one separator") << "/" << false << "/" << 1;
}

void tst_SearchHistory::prepareRun()
{
    QFETCH(QString, searchPath);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, currentDir);
    QFETCH(int, compareMode);
    Workbench wb;
    wb.board.applyStartup();
    wb.work.Search_Path = searchPath;
    SearchForm::prepareRun(wb.board, wb.work, wb.status, caseSensitive);
    QCOMPARE(wb.work.Current_Dir, currentDir);
    QCOMPARE(int(wb.work.Compare_Mode), compareMode);
    QCOMPARE(wb.work.Search_Running, qint16(1));
    QVERIFY(!wb.board.isEnabled(Command::SEARCH));
    QVERIFY(wb.board.isEnabled(Command::STOP));
    QCOMPARE(wb.status.text(StatusPanels::kHitSu), QStringLiteral("実行中"));
}

QTEST_GUILESS_MAIN(tst_SearchHistory)
#include "tst_searchhistory.moc"
