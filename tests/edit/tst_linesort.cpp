#include "edit/LineSort.h"
#include "workarea/ItemList.h"
#include "workarea/LineFormat.h"

#include <QTest>

#include <algorithm>

class tst_LineSort : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void order_data();
    void order();
    void repeatedSorts();
    void reflectRenumbers();
};

void tst_LineSort::order_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("ascending");
    QTest::newRow("letter case ignored") << QStringList{"b", "A", "c"} << QStringList{"A", "b", "c"};
    QTest::newRow("case twins stand together") << QStringList{"b", "a", "B", "A", "ab"}
                                               << QStringList{"A", "a", "ab", "B", "b"};
    QTest::newRow("empty lines first") << QStringList{"x", "", "a", ""} << QStringList{"", "", "a", "x"};
    QTest::newRow("full-width letters fold too") << QStringList{"ｂ", "Ａ", "ａ"} << QStringList{"Ａ", "ａ", "ｂ"};
    QTest::newRow("separator inside lines") << QStringList{"b:@:1", "a:@:2", "a"}
                                            << QStringList{"a", "a:@:2", "b:@:1"};
    QTest::newRow("duplicates kept") << QStringList{"k", "k", "j"} << QStringList{"j", "k", "k"};
}

void tst_LineSort::order()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, ascending);
    QCOMPARE(LineSort::Ascending(lines), ascending);
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    QCOMPARE(LineSort::Descending(lines), descending);
    // The work area's sorted lists give the same order.
    ItemList sorted(true);
    for (const QString &line : lines)
        sorted.add(line);
    QCOMPARE(sorted.texts(), ascending);
}

void tst_LineSort::repeatedSorts()
{
    const QString key = QStringLiteral("/t/T.TXT");
    LineSort sort({key + ":@:000001.000:@:b", key + ":@:000001.500:@:", key + ":@:000002.000:@:A"});
    QCOMPARE(sort.lines(), (QStringList{"b", "", "A"}));
    QVERIFY(!sort.sorted());
    sort.Command1_Click(false);
    QVERIFY(sort.sorted());
    QCOMPARE(sort.lines(), (QStringList{"b", "A", ""}));
    sort.Command1_Click(true);
    QCOMPARE(sort.lines(), (QStringList{"", "A", "b"}));
    sort.Command1_Click(true);
    QCOMPARE(sort.lines(), (QStringList{"", "A", "b"}));
}

void tst_LineSort::reflectRenumbers()
{
    // A duplication header has no fill before ":@:"; the key is the full
    // path whatever its length.
    const QString key = QStringLiteral("/home/user/projects/templates/generated/") + QString(60, QLatin1Char('x'))
        + QStringLiteral("/OUT_001.TXT");
    QStringList entries;
    for (const char *n : {"000001.000", "000001.500", "000001.750", "000002.000"})
        entries.append(key + ":@:" + n + ":@:line" + QString::fromLatin1(n).right(3));
    LineSort sort(entries);
    sort.Command1_Click(false);
    const QStringList reflected = sort.reflectEntries(key);
    QCOMPARE(reflected, (QStringList{key + ":@:000001.000:@:line750", key + ":@:000002.000:@:line500",
                                     key + ":@:000003.000:@:line000", key + ":@:000004.000:@:line000"}));
    // One run in the store's order, so the work area takes it back in one place.
    QCOMPARE(LineSort::Ascending(reflected), reflected);
}

QTEST_APPLESS_MAIN(tst_LineSort)
#include "tst_linesort.moc"
