#include "workarea/ItemList.h"
#include "workarea/LineFormat.h"
#include "workarea/LineIndex.h"
#include "workarea/WorkArea.h"

#include "WorkAreaTestAccess.h"

#include <QTest>

namespace {

// Adds a file with its lines: as a search admits it (its lines one run),
// or item by item, each line placed by the sorted store itself.
void addFile(WorkArea &w, const QString &path, int lines, bool asRun = false)
{
    const QString key = path;
    QStringList entries;
    for (int i = 0; i < lines; ++i)
        entries.append(key + QStringLiteral(":@:") + LineFormat::Line_No_10(i + 1) + QStringLiteral(":@:line")
                       + QString::number(i + 1));
    if (asRun) {
        const QString header = LineFormat::fileHeader(LineFormat::kSearchPrefix, key, QString());
        QVERIFY(w.admitFile(key, {}, {header}, std::move(entries)) >= 0);
    } else {
        QVERIFY(WorkAreaTestAccess::addFile(w, path) >= 0);
        for (const QString &e : entries)
            QVERIFY(WorkAreaTestAccess::allLines(w).add(e) >= 0);
    }
}

} // namespace

class tst_WorkArea : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sortedOrder_data();
    void sortedOrder();
    void prefixPathsKeepFileOrder_data();
    void prefixPathsKeepFileOrder();
    void fractionalLineNumbersInOrder();
    void insertAtIndexStays();
    void runTakenOverAsAddedOneByOne_data();
    void runTakenOverAsAddedOneByOne();
    void capRefusesNeverWraps();
    void isFileOpenExact_data();
    void isFileOpenExact();
    void originsParallelToFileList();
    void admission_data();
    void admission();
    void displayLinesParallel();
    void clearing();
    void lineIndexTwoFiles();
    void lineIndexPrefixPaths();
    void lineIndexAfterRemoval();
    void lineIndexFilesDifferingInCase_data();
    void lineIndexFilesDifferingInCase();
    void lineIndexBrokenInvariants_data();
    void lineIndexBrokenInvariants();
    void lineIndexRunningTotals();
    void lineIndexKeyComparison_data();
    void lineIndexKeyComparison();
    void lineIndexRunLengths_data();
    void lineIndexRunLengths();
};

void tst_WorkArea::sortedOrder_data()
{
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("case-insensitive")
        << QStringList{QStringLiteral("b.txt"), QStringLiteral("A.TXT"), QStringLiteral("a.txt2")}
        << QStringList{QStringLiteral("A.TXT"), QStringLiteral("a.txt2"), QStringLiteral("b.txt")};
    QTest::newRow("underscore after letters as in upper case")
        << QStringList{QStringLiteral("/d/_A.TXT"), QStringLiteral("/d/B.TXT")}
        << QStringList{QStringLiteral("/d/B.TXT"), QStringLiteral("/d/_A.TXT")};
    QTest::newRow("same text in two cases stays deterministic")
        << QStringList{QStringLiteral("a.txt"), QStringLiteral("A.TXT")}
        << QStringList{QStringLiteral("A.TXT"), QStringLiteral("a.txt")};
}

void tst_WorkArea::sortedOrder()
{
    QFETCH(QStringList, added);
    QFETCH(QStringList, expected);
    ItemList list(true);
    for (const QString &s : added)
        list.add(s);
    QCOMPARE(list.texts(), expected);
}

void tst_WorkArea::prefixPathsKeepFileOrder_data()
{
    QTest::addColumn<bool>("asRun");
    QTest::newRow("entries added one by one") << false;
    QTest::newRow("entries added as a run") << true;
}

void tst_WorkArea::prefixPathsKeepFileOrder()
{
    QFETCH(bool, asRun);
    WorkArea w;
    // Visited in walk order: the longer path first.
    addFile(w, QStringLiteral("/doc/A.TXT2"), 3, asRun);
    addFile(w, QStringLiteral("/doc/a.txt"), 2, asRun);
    addFile(w, QStringLiteral("/doc/A.TX"), 1, asRun);
    QCOMPARE(w.Search_Hit_File_List().texts(),
             (QStringList{QStringLiteral("/doc/A.TX"), QStringLiteral("/doc/a.txt"), QStringLiteral("/doc/A.TXT2")}));
    QCOMPARE(w.Search_Hit_File_Change().texts(), w.Search_Hit_File_List().texts());
    QStringList keys;
    for (const QString &e : w.Search_Hit_All_Line_List().texts()) {
        const QString key = LineFormat::Entry_Key(e).toString();
        if (keys.isEmpty() || keys.last() != key)
            keys.append(key);
    }
    QCOMPARE(keys, (QStringList{QStringLiteral("/doc/A.TX"), QStringLiteral("/doc/a.txt"),
                                QStringLiteral("/doc/A.TXT2")}));
}

void tst_WorkArea::fractionalLineNumbersInOrder()
{
    ItemList list(true);
    const QString k = QStringLiteral("/D/A.TXT:@:");
    for (const char *n : {"000013.000", "000012.000", "000012.500", "000001.000", "000012.250"})
        list.add(k + QString::fromLatin1(n) + QStringLiteral(":@:x"));
    QStringList numbers;
    for (const QString &e : list.texts())
        numbers.append(LineFormat::Entry_Line_No(e).toString());
    QCOMPARE(numbers, (QStringList{QStringLiteral("000001.000"), QStringLiteral("000012.000"),
                                   QStringLiteral("000012.250"), QStringLiteral("000012.500"),
                                   QStringLiteral("000013.000")}));
}

void tst_WorkArea::insertAtIndexStays()
{
    ItemList list(true);
    list.add(QStringLiteral("B"));
    list.add(QStringLiteral("C"));
    QVERIFY(list.insert(2, QStringLiteral("A")));
    QCOMPARE(list.texts(), (QStringList{QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("A")}));
    QVERIFY(!list.insert(5, QStringLiteral("X")));
}

void tst_WorkArea::runTakenOverAsAddedOneByOne_data()
{
    // A sorted list holding /B and /D entries; a run of /key entries added.
    QTest::addColumn<QString>("key");
    QTest::newRow("in the middle") << QStringLiteral("/C");
    QTest::newRow("at the front") << QStringLiteral("/A");
    QTest::newRow("at the end") << QStringLiteral("/E");
    QTest::newRow("interleaved with stored entries") << QStringLiteral("/b");
}

void tst_WorkArea::runTakenOverAsAddedOneByOne()
{
    QFETCH(QString, key);
    auto entries = [](const QString &k, int from, int n) {
        QStringList out;
        for (int i = from; i < from + n; ++i)
            out.append(k + QStringLiteral(":@:") + LineFormat::Line_No_10(i) + QStringLiteral(":@:t"));
        return out;
    };
    ItemList oneByOne(true), shared(true), taken(true);
    for (ItemList *l : {&oneByOne, &shared, &taken})
        for (const QString &e : entries(QStringLiteral("/B"), 1, 3) + entries(QStringLiteral("/D"), 1, 2))
            l->add(e);
    // Line numbers 2.. fall between the stored /B entries for key "/b".
    const QStringList run = entries(key, 2, 4);
    for (const QString &e : run)
        oneByOne.add(e);
    QCOMPARE(shared.addRun(run), taken.addRun(QStringList(run)));
    QCOMPARE(shared.texts(), oneByOne.texts());
    QCOMPARE(taken.texts(), oneByOne.texts());
    QCOMPARE(run.size(), 4); // the shared list is left as it was
}

void tst_WorkArea::capRefusesNeverWraps()
{
    ItemList list(false);
    for (int i = 0; i < ItemList::kMaxItems; ++i)
        QCOMPARE(list.add(QString()), i);
    QCOMPARE(list.add(QStringLiteral("one too many")), -1);
    QVERIFY(!list.insert(0, QStringLiteral("one too many")));
    QCOMPARE(list.count(), 32767);
    ItemList sorted(true);
    for (int i = 0; i < 32760; ++i)
        sorted.add(QStringLiteral("K:@:") + LineFormat::Line_No_10(i));
    QStringList run;
    for (int i = 0; i < 8; ++i)
        run.append(QStringLiteral("Z:@:") + LineFormat::Line_No_10(i));
    QCOMPARE(sorted.addRun(run), -1);
    QCOMPARE(sorted.count(), 32760);
}

void tst_WorkArea::isFileOpenExact_data()
{
    QTest::addColumn<QString>("held");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<int>("open");
    QTest::newRow("exact") << QStringLiteral("/c/a.txt") << QStringLiteral("/c/a.txt") << 1;
    QTest::newRow("upper case is another file") << QStringLiteral("/c/a.txt") << QStringLiteral("/c/A.TXT") << 0;
    QTest::newRow("folder in upper case is another folder") << QStringLiteral("/c/a.txt") << QStringLiteral("/C/a.txt") << 0;
    QTest::newRow("lower asked, upper held") << QStringLiteral("/c/A.TXT") << QStringLiteral("/c/a.txt") << 0;
    QTest::newRow("prefix is another file") << QStringLiteral("/c/a.txt") << QStringLiteral("/c/a.tx") << 0;
    QTest::newRow("longer is another file") << QStringLiteral("/c/a.txt") << QStringLiteral("/c/a.txt2") << 0;
    QTest::newRow("case beyond ASCII") << QStringLiteral("/c/\u00e4\u03c3.txt") << QStringLiteral("/c/\u00c4\u03a3.txt") << 0;
    QTest::newRow("'@' is not the upper case of '`'") << QStringLiteral("/c/`.txt") << QStringLiteral("/c/@.txt") << 0;
}

void tst_WorkArea::isFileOpenExact()
{
    QFETCH(QString, held);
    QFETCH(QString, asked);
    QFETCH(int, open);
    WorkArea w;
    WorkAreaTestAccess::addFile(w, QStringLiteral("/b/z.txt"));
    WorkAreaTestAccess::addFile(w, held);
    WorkAreaTestAccess::addFile(w, QStringLiteral("/d/z.txt"));
    QCOMPARE(w.Is_File_Open(asked), open);
    QCOMPARE(w.Is_File_Open(held), 1);
}

void tst_WorkArea::originsParallelToFileList()
{
    WorkArea w;
    // Added out of sorted order: each origin lands beside its own path.
    const QByteArray sjis("/d/\x83\x65.txt"); // a Shift-JIS name
    WorkAreaTestAccess::addFile(w, QStringLiteral("/d/b.txt"), FileOrigin{"/d/b.txt", 10, 1000});
    WorkAreaTestAccess::addFile(w, QStringLiteral("/d/\uFF83.txt"), FileOrigin{sjis, 20, 2000});
    WorkAreaTestAccess::addFile(w, QStringLiteral("/d/a.txt"), FileOrigin{"/d/a.txt", 30, 3000});
    WorkAreaTestAccess::addFile(w, QStringLiteral("/d/A.TXT")); // made in memory: no origin on disk
    QCOMPARE(w.Search_Hit_File_List().texts(), (QStringList{QStringLiteral("/d/A.TXT"), QStringLiteral("/d/a.txt"),
                                                          QStringLiteral("/d/b.txt"), QStringLiteral("/d/\uFF83.txt")}));
    QCOMPARE(w.fileOrigins().size(), 4);
    QCOMPARE(w.fileOrigins().at(1).size, 30);
    QCOMPARE(w.fileOrigins().at(2).modifiedNsecs, 1000);
    QCOMPARE(w.fileOrigins().at(0).size, -1);
    QCOMPARE(w.nativePath(3), sjis);
    QCOMPARE(w.nativePath(0), QByteArray("/d/A.TXT"));

    WorkAreaTestAccess::removeFile(w, 1);
    QCOMPARE(w.Search_Hit_File_Change().texts(), w.Search_Hit_File_List().texts());
    QCOMPARE(w.fileOrigins().size(), 3);
    QCOMPARE(w.nativePath(2), sjis);
    QCOMPARE(w.fileOrigins().at(1).size, 10);

    w.clearResults();
    QVERIFY(w.fileOrigins().isEmpty());
}

void tst_WorkArea::admission_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("admitted");
    QTest::newRow("to exactly 32,700") << 32650 << 50 << true;
    QTest::newRow("to 32,701") << 32650 << 51 << false;
    QTest::newRow("empty store, 32,700 lines") << 0 << 32700 << true;
    QTest::newRow("empty store, 32,701 lines") << 0 << 32701 << false;
}

void tst_WorkArea::admission()
{
    QFETCH(int, stored);
    QFETCH(int, lines);
    QFETCH(bool, admitted);
    WorkArea w;
    QStringList run;
    for (int i = 0; i < stored; ++i)
        run.append(QStringLiteral("/A:@:") + LineFormat::Line_No_10(i + 1) + QStringLiteral(":@:"));
    QVERIFY(WorkAreaTestAccess::allLines(w).addRun(run) >= 0);
    QCOMPARE(w.Admits(lines), admitted);
}

void tst_WorkArea::displayLinesParallel()
{
    WorkArea w;
    QVERIFY(w.appendDisplayLine(LineFormat::kColumnHeader));
    QVERIFY(w.appendDisplayLine(QStringLiteral("000012:") + QString(200, QLatin1Char('a'))));
    QCOMPARE(w.Search_Hit_List().count(), 2);
    QCOMPARE(w.Mojisuu_Count_List().count(), 2);
    QCOMPARE(w.Search_Hit_List().data(1), 168);
    QCOMPARE(w.Mojisuu_Count_List().text(1), QStringLiteral("85"));
}

void tst_WorkArea::clearing()
{
    WorkArea w;
    addFile(w, QStringLiteral("/a.txt"), 2);
    w.appendDisplayLine(LineFormat::kColumnHeader);
    WorkAreaTestAccess::scanBuffer(w).add(QStringLiteral("x"));
    WorkAreaTestAccess::sortList(w).add(QStringLiteral("y"));
    w.clearResults();
    QCOMPARE(w.Search_Hit_File_List().count() + w.Search_Hit_File_Change().count() + w.Search_Hit_All_Line_List().count()
                 + w.Search_Hit_List().count() + w.Mojisuu_Count_List().count(),
             0);
    QCOMPARE(w.Search_List().count(), 1);
    w.clearAll();
    QCOMPARE(w.Search_List().count() + w.Sort_List().count(), 0);
}

void tst_WorkArea::lineIndexTwoFiles()
{
    WorkArea w;
    addFile(w, QStringLiteral("/d/B.TXT"), 5);
    addFile(w, QStringLiteral("/d/A.TXT"), 3);
    LineIndex::Build_Line_Index(w);
    QCOMPARE(w.Search_Hit_File_List().data(0), 0);
    QCOMPARE(w.Search_Hit_File_List().data(1), 3);
}

void tst_WorkArea::lineIndexPrefixPaths()
{
    WorkArea w;
    addFile(w, QStringLiteral("/d/A.TXT2"), 4);
    addFile(w, QStringLiteral("/d/A.TXT"), 2);
    LineIndex::Build_Line_Index(w);
    QCOMPARE(w.Search_Hit_File_List().text(0), QStringLiteral("/d/A.TXT"));
    QCOMPARE(w.Search_Hit_File_List().data(0), 0);
    QCOMPARE(w.Search_Hit_File_List().data(1), 2);
    QCOMPARE(LineFormat::Entry_Key(w.Search_Hit_All_Line_List().text(2)).toString(), QStringLiteral("/d/A.TXT2"));
}

void tst_WorkArea::lineIndexAfterRemoval()
{
    WorkArea w;
    addFile(w, QStringLiteral("/a"), 2);
    addFile(w, QStringLiteral("/b"), 7);
    addFile(w, QStringLiteral("/c"), 3);
    LineIndex::Build_Line_Index(w);
    QCOMPARE(w.Search_Hit_File_List().data(2), 9);
    // Drop the middle file from every list, as deselect does.
    QVERIFY(w.dropFile(1));
    LineIndex::Build_Line_Index(w);
    QCOMPARE(w.Search_Hit_File_List().data(1), 2);
}

void tst_WorkArea::lineIndexFilesDifferingInCase_data()
{
    QTest::addColumn<bool>("asRun");
    QTest::newRow("entries added one by one") << false;
    QTest::newRow("entries added as a run") << true;
}

void tst_WorkArea::lineIndexFilesDifferingInCase()
{
    QFETCH(bool, asRun);
    // Three files whose paths differ only in letter case, in the name or in
    // the folder.
    WorkArea w;
    addFile(w, QStringLiteral("/d/a.txt"), 2, asRun);
    addFile(w, QStringLiteral("/d/A.TXT"), 3, asRun);
    addFile(w, QStringLiteral("/D/a.txt"), 1, asRun);
    LineIndex::Build_Line_Index(w);
    QCOMPARE(w.Search_Hit_File_List().texts(),
             (QStringList{QStringLiteral("/D/a.txt"), QStringLiteral("/d/A.TXT"), QStringLiteral("/d/a.txt")}));
    const ItemList &lines = w.Search_Hit_All_Line_List();
    // Each file's lines stand together under its own key, in line order.
    for (int i = 0; i < w.Search_Hit_File_List().count(); ++i) {
        const int first = w.Search_Hit_File_List().data(i);
        const int end = i + 1 < w.Search_Hit_File_List().count() ? w.Search_Hit_File_List().data(i + 1) : lines.count();
        QVERIFY(first < end);
        for (int k = first; k < end; ++k) {
            QCOMPARE(LineFormat::Entry_Key(lines.text(k)).toString(), w.Search_Hit_File_List().text(i));
            QCOMPARE(LineFormat::Entry_Line_No(lines.text(k)).toString(), LineFormat::Line_No_10(k - first + 1));
        }
    }
    QCOMPARE(w.Search_Hit_File_List().data(1), 1);
    QCOMPARE(w.Search_Hit_File_List().data(2), 4);
}

void tst_WorkArea::lineIndexBrokenInvariants_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("lineKeys");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("file without lines in the middle")
        << QStringList{QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/c")}
        << QStringList{QStringLiteral("/a"), QStringLiteral("/a"), QStringLiteral("/c")} << QList<int>{0, 3, 2};
    QTest::newRow("last file without lines")
        << QStringList{QStringLiteral("/a"), QStringLiteral("/b")} << QStringList{QStringLiteral("/a")}
        << QList<int>{0, 1};
    QTest::newRow("empty store") << QStringList{QStringLiteral("/a")} << QStringList{} << QList<int>{0};
    QTest::newRow("files out of order")
        << QStringList{QStringLiteral("/a"), QStringLiteral("/b")}
        << QStringList{QStringLiteral("/b"), QStringLiteral("/a")} << QList<int>{1, 2};
}

void tst_WorkArea::lineIndexBrokenInvariants()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, lineKeys);
    QFETCH(QList<int>, expected);
    WorkArea w;
    for (const QString &f : files)
        WorkAreaTestAccess::addFile(w, f);
    // Written past the sorted order on purpose.
    for (int i = 0; i < lineKeys.size(); ++i)
        WorkAreaTestAccess::allLines(w).insert(i, lineKeys[i] + QStringLiteral(":@:000001.000:@:"));
    LineIndex::Build_Line_Index(w);
    QList<int> actual;
    for (int i = 0; i < w.Search_Hit_File_List().count(); ++i) {
        actual.append(w.Search_Hit_File_List().data(i));
        QVERIFY(w.Search_Hit_File_List().data(i) <= w.Search_Hit_All_Line_List().count());
    }
    QCOMPARE(actual, expected);
}

void tst_WorkArea::lineIndexRunningTotals()
{
    WorkArea w;
    LineIndex::Build_Line_Index(w);
    w.appendDisplayLine(LineFormat::kColumnHeader);
    LineIndex::Build_Line_Index(w);
    QCOMPARE(w.Mojisuu_Count_List().data(0), 85);
    const QString text = QStringLiteral("漢字") + QString(60, QLatin1Char('x'));
    QVERIFY(!w.appendDisplayLine(QStringLiteral("SEARCH_FILE = /D/A.TXT"))); // comes with its file
    QVERIFY(w.admitFile(QStringLiteral("/D/A.TXT"), {}, {QStringLiteral("SEARCH_FILE = /D/A.TXT"), QStringLiteral("000001:") + text},
                         {QStringLiteral("/D/A.TXT:@:0000000001:@:") + text})
            >= 0);
    LineIndex::Build_Line_Index(w);
    QCOMPARE(w.Mojisuu_Count_List().data(1), 170);
    QCOMPARE(w.Mojisuu_Count_List().data(2), 170 + 9 + 60 + 12 + 2);
}

void tst_WorkArea::lineIndexKeyComparison_data()
{
    // The file list holds `path`; its one line is stored under `lineKey`,
    // after two lines of "/D/B1.TXT" that the scan passes over first.
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("lineKey");
    QTest::addColumn<bool>("found");
    QTest::newRow("same key") << QStringLiteral("/d/a1.txt") << QStringLiteral("/d/a1.txt") << true;
    QTest::newRow("same length, one digit differs")
        << QStringLiteral("/d/a1.txt") << QStringLiteral("/d/a2.txt") << false;
    QTest::newRow("the key in upper case is another file")
        << QStringLiteral("/d/a1.txt") << QStringLiteral("/D/A1.TXT") << false;
    QTest::newRow("ASCII letter case in the folder")
        << QStringLiteral("/d/a1.txt") << QStringLiteral("/D/a1.txt") << false;
    QTest::newRow("'@' and '`' differ by the case bit only")
        << QStringLiteral("/d/a@.txt") << QStringLiteral("/d/a`.txt") << false;
    QTest::newRow("Greek case in the folder")
        << QStringLiteral("/\u03c3/a.txt") << QStringLiteral("/\u03a3/a.txt") << false;
    QTest::newRow("Kelvin sign against K") << QStringLiteral("/d/K.txt") << QStringLiteral("/d/\u212a.txt") << false;
    QTest::newRow("key longer than the path") << QStringLiteral("/d/a1.txt") << QStringLiteral("/d/a1.txtx") << false;
    QTest::newRow("separator inside the path") << QStringLiteral("/d/a:@:b") << QStringLiteral("/d/a:@:b") << false;
}

void tst_WorkArea::lineIndexKeyComparison()
{
    QFETCH(QString, path);
    QFETCH(QString, lineKey);
    QFETCH(bool, found);
    WorkArea w;
    addFile(w, QStringLiteral("/d/b1.txt"), 2);
    QVERIFY(WorkAreaTestAccess::addFile(w, path) >= 0);
    const int at = w.Search_Hit_All_Line_List().count();
    // Written in place: the sorted list would move a key that does not
    // match its file.
    WorkAreaTestAccess::allLines(w).insert(at, lineKey + QStringLiteral(":@:0000000001:@:text"));
    LineIndex::Build_Line_Index(w);
    const int file = w.Search_Hit_File_List().indexOf(path);
    QVERIFY(file >= 0);
    QCOMPARE(w.Search_Hit_File_List().data(file), found ? at : w.Search_Hit_All_Line_List().count());
}

void tst_WorkArea::lineIndexRunLengths_data()
{
    // Line counts of consecutive files; a file's first index is the sum of
    // the counts before it, whatever the lengths of the runs passed over.
    QTest::addColumn<QList<int>>("counts");
    QTest::newRow("runs of one") << QList<int>{1, 1, 1};
    QTest::newRow("around powers of two") << QList<int>{2, 3, 4, 5, 7, 8, 9, 16, 17, 1};
    QTest::newRow("a long run before a short one") << QList<int>{300, 1, 2};
    QTest::newRow("the last run reaches the end") << QList<int>{1, 300};
    QTest::newRow("one file") << QList<int>{33};
}

void tst_WorkArea::lineIndexRunLengths()
{
    QFETCH(QList<int>, counts);
    WorkArea w;
    for (int i = 0; i < counts.size(); ++i)
        addFile(w, QStringLiteral("/d/F%1.TXT").arg(i, 2, 10, QLatin1Char('0')), counts.at(i), true);
    LineIndex::Build_Line_Index(w);
    int first = 0;
    for (int i = 0; i < counts.size(); ++i) {
        QCOMPARE(w.Search_Hit_File_List().data(i), first);
        first += counts.at(i);
    }
}

QTEST_GUILESS_MAIN(tst_WorkArea)
#include "tst_workarea.moc"
