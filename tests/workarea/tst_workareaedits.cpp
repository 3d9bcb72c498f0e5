// The named operations that change the work area in place, and the check of
// its invariants that every writing test calls after each step.
#include "workarea/LineFormat.h"
#include "workarea/LineIndex.h"
#include "workarea/WorkArea.h"

#include "WorkAreaChecks.h"

#include "WorkAreaTestAccess.h"

#include <QTest>

#include <functional>

namespace {

struct FileSpec
{
    QString path;
    QStringList lines;
};

QString entryOf(const QString &key, int n, const QString &text)
{
    return key + LineFormat::kSeparator + LineFormat::Line_No_10(n) + LineFormat::kSeparator + text;
}

// A work area as a search for `word` leaves it: column heading, per file its
// header and hit lines, all its lines stored, the line index built.
WorkArea make(const QList<FileSpec> &files, const QString &word = QStringLiteral("x"))
{
    WorkArea w;
    w.appendDisplayLine(LineFormat::kColumnHeader);
    for (const FileSpec &f : files) {
        const QString key = f.path;
        QStringList display{LineFormat::fileHeader(LineFormat::kSearchPrefix, key, QString())};
        QStringList entries;
        for (int i = 0; i < f.lines.size(); ++i) {
            entries.append(entryOf(key, i + 1, f.lines[i]));
            if (f.lines[i].contains(word))
                display.append(LineFormat::Line_No_6(i + 1) + QLatin1Char(':') + f.lines[i]);
        }
        w.admitFile(key, {}, display, std::move(entries));
    }
    LineIndex::Build_Line_Index(w);
    return w;
}

const QList<FileSpec> kThree{
    {QStringLiteral("/d/a.txt"), {QStringLiteral("a1 x"), QStringLiteral("a2"), QStringLiteral("a3 x")}},
    {QStringLiteral("/d/b.txt"), {QStringLiteral("b1"), QStringLiteral("b2 x")}},
    {QStringLiteral("/d/c.txt"), {QStringLiteral("c1 x"), QStringLiteral("c2 x"), QStringLiteral("c3"), QStringLiteral("c4")}},
};

// Every list of two work areas, texts and ItemData alike.
void compareLists(const WorkArea &actual, const WorkArea &expected)
{
    const std::pair<const ItemList &(WorkArea::*)() const, const char *> lists[] = {
        {&WorkArea::Search_Hit_File_List, "file list"},
        {&WorkArea::Search_Hit_File_Change, "change list"},
        {&WorkArea::Search_Hit_All_Line_List, "all-lines store"},
        {&WorkArea::Search_Hit_List, "display lines"},
        {&WorkArea::Mojisuu_Count_List, "counts"},
    };
    for (const auto &[list, name] : lists) {
        const ItemList &a = (actual.*list)();
        const ItemList &e = (expected.*list)();
        QVERIFY2(a.texts() == e.texts(), name);
        for (int i = 0; i < a.count(); ++i)
            QVERIFY2(a.data(i) == e.data(i), qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(i)));
    }
    QCOMPARE(actual.fileOrigins().size(), expected.fileOrigins().size());
    QCOMPARE(actual.Hozon_Flag, expected.Hozon_Flag);
}

QString headerOf(const QString &key)
{
    return LineFormat::fileHeader(LineFormat::kSearchPrefix, key, QString());
}

using Edit = std::function<bool(WorkArea &)>;
using Break = std::function<void(WorkArea &)>;

} // namespace

Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(Break)

class tst_WorkAreaEdits : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void dropFile_data();
    void dropFile();
    void replaceFileLines_data();
    void replaceFileLines();
    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
    void admitFile();
    void fileStampKept();
    void displayLinesKeepTotals();
    void headerFile_data();
    void headerFile();
    void brokenInvariantsFound_data();
    void brokenInvariantsFound();
};

void tst_WorkAreaEdits::dropFile_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("drop");
    QTest::newRow("first of three") << 3 << 0;
    QTest::newRow("last of three") << 3 << 2;
    QTest::newRow("only file") << 1 << 0;
}

// The work area after a drop is the one the other files alone would have
// made, line index included.
void tst_WorkAreaEdits::dropFile()
{
    QFETCH(int, files);
    QFETCH(int, drop);
    WorkArea w = make(kThree.mid(0, files));
    QVERIFY(w.dropFile(drop));
    QVERIFY_CONSISTENT(w);
    QList<FileSpec> left = kThree.mid(0, files);
    left.removeAt(drop);
    compareLists(w, make(left));
}

void tst_WorkAreaEdits::replaceFileLines_data()
{
    QTest::addColumn<int>("file");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("grows") << 1 << QStringList{"n1", "n2", "n3", "n4", "n5"};
    QTest::newRow("shrinks to one line") << 2 << QStringList{"only"};
    QTest::newRow("last file grows") << 2 << QStringList{"1", "2", "3", "4", "5", "6"};
}

void tst_WorkAreaEdits::replaceFileLines()
{
    QFETCH(int, file);
    QFETCH(QStringList, lines);
    WorkArea w = make(kThree);
    const QString key = w.storedKey(file);
    QStringList entries;
    for (int i = 0; i < lines.size(); ++i)
        entries.append(entryOf(key, i + 1, lines[i]));
    QVERIFY(w.replaceFileLines(file, entries));
    QVERIFY_CONSISTENT(w);
    for (int i = 0; i < kThree.size(); ++i) {
        const WorkArea::Range r = w.fileLineRange(i);
        QStringList texts;
        for (int k = r.first; k <= r.last; ++k)
            texts.append(LineFormat::Entry_Text(w.Search_Hit_All_Line_List().text(k)).toString());
        QCOMPARE(texts, i == file ? lines : kThree[i].lines);
    }
    // The display lines are not the stored lines' business.
    QCOMPARE(w.Search_Hit_List().texts(), make(kThree).Search_Hit_List().texts());
}

void tst_WorkAreaEdits::refusalsChangeNothing_data()
{
    QTest::addColumn<Edit>("edit");
    const QString b = QStringLiteral("/d/b.txt");
    QTest::newRow("file lines of another key") << Edit([b](WorkArea &w) {
        return w.replaceFileLines(0, {entryOf(b, 1, QStringLiteral("x"))});
    });
    QTest::newRow("file lines out of order") << Edit([b](WorkArea &w) {
        return w.replaceFileLines(1, {entryOf(b, 2, QStringLiteral("x")), entryOf(b, 1, QStringLiteral("y"))});
    });
    QTest::newRow("no file lines") << Edit([](WorkArea &w) { return w.replaceFileLines(1, {}); });
    QTest::newRow("store past the admission limit") << Edit([b](WorkArea &w) {
        QStringList many;
        for (int i = 1; i <= WorkArea::kAdmissionLimit; ++i)
            many.append(entryOf(b, i, QString()));
        return w.replaceFileLines(1, many);
    });
    QTest::newRow("stored line with another key") << Edit([](WorkArea &w) {
        return w.replaceStoredLine(0, entryOf(QStringLiteral("/D/Z.TXT"), 1, QStringLiteral("a1 x")));
    });
    QTest::newRow("stored line with another number") << Edit([](WorkArea &w) {
        return w.replaceStoredLine(0, entryOf(QStringLiteral("/d/a.txt"), 7, QStringLiteral("a1 x")));
    });
    QTest::newRow("header made a hit line") << Edit([](WorkArea &w) {
        return w.replaceDisplayLine(1, QStringLiteral("000001:x"));
    });
    QTest::newRow("drop a file out of range") << Edit([](WorkArea &w) { return w.dropFile(-1); });

    const QString n = QStringLiteral("/d/n.txt");
    auto admit = [](const QString &key, const QStringList &display, const QStringList &entries) {
        return Edit([=](WorkArea &w) { return w.admitFile(key, {}, display, QStringList(entries), true) >= 0; });
    };
    QTest::newRow("admit a file open already") << admit(b, {headerOf(b)}, {entryOf(b, 1, QStringLiteral("x"))});
    QTest::newRow("admit lines of another key") << admit(n, {headerOf(n)}, {entryOf(b, 1, QStringLiteral("x"))});
    QTest::newRow("admit another key between") << admit(n, {headerOf(n)},
                                                        {entryOf(n, 1, QString()), entryOf(b, 2, QString()),
                                                         entryOf(n, 3, QString())});
    QTest::newRow("admit lines out of order") << admit(n, {headerOf(n)}, {entryOf(n, 2, QString()), entryOf(n, 1, QString())});
    QTest::newRow("admit without lines") << admit(n, {headerOf(n)}, {});
    QTest::newRow("admit without a header") << admit(n, {QStringLiteral("000001:x")}, {entryOf(n, 1, QStringLiteral("x"))});
    QTest::newRow("admit a second header") << admit(n, {headerOf(n), headerOf(n)}, {entryOf(n, 1, QStringLiteral("x"))});
    QTest::newRow("admit past the admission limit") << Edit([n](WorkArea &w) {
        QStringList many;
        for (int i = 1; i <= WorkArea::kAdmissionLimit - w.Search_Hit_All_Line_List().count() + 1; ++i)
            many.append(entryOf(n, i, QString()));
        return w.admitFile(n, {}, {headerOf(n)}, std::move(many)) >= 0;
    });
}

void tst_WorkAreaEdits::refusalsChangeNothing()
{
    QFETCH(Edit, edit);
    WorkArea w = make(kThree);
    QVERIFY(!edit(w));
    QVERIFY_CONSISTENT(w);
    compareLists(w, make(kThree));
}

// A file admitted among others: its lines one run at its sorted place, its
// display block last, flag and origin beside it.
void tst_WorkAreaEdits::admitFile()
{
    WorkArea w = make(kThree);
    const QString key = QStringLiteral("/d/B.TXT2");
    const int displayed = w.Search_Hit_List().count();
    const int index = w.admitFile(key, FileOrigin{"/d/B.TXT2", 12, 34}, {headerOf(key), QStringLiteral("000002:two x")},
                                   {entryOf(key, 1, QStringLiteral("one")), entryOf(key, 2, QStringLiteral("two x"))},
                                   true);
    QCOMPARE(index, 2);
    LineIndex::Build_Line_Index(w);
    QVERIFY_CONSISTENT(w);
    QCOMPARE(w.fileLineRange(index).first, 5);
    QCOMPARE(w.fileLineRange(index).size(), 2);
    QCOMPARE(w.fileDisplayBlocks().at(index).first, displayed);
    QCOMPARE(w.headerFileKey(displayed), key);
    QCOMPARE(w.Search_Hit_File_Change().data(index), 1);
    QCOMPARE(w.Hozon_Flag, qint16(1));
    QCOMPARE(w.fileOrigins().at(index).size, 12);
    QCOMPARE(w.fileOrigins().at(index + 1).size, -1);

    // Deselected again, the work area is the one before.
    QVERIFY(w.dropFile(index));
    QVERIFY_CONSISTENT(w);
    compareLists(w, make(kThree));
}

// A batch's next round: its files stay open, with neither lines nor display
// lines, until a search admits new ones; a stamp kept after a save becomes
// the file's origin.
void tst_WorkAreaEdits::fileStampKept()
{
    WorkArea w = make(kThree);
    w.keepFileStamp(1, 99, 1234);
    QCOMPARE(w.nativePath(1), QByteArray("/d/b.txt"));
    QCOMPARE(w.fileOrigins().at(1).nativePath, QByteArray("/d/b.txt"));
    QCOMPARE(w.fileOrigins().at(1).modifiedNsecs, 1234);

}

void tst_WorkAreaEdits::displayLinesKeepTotals()
{
    WorkArea w = make(kThree);
    // Display line 2 is a's first hit: double-byte text makes it fewer
    // characters, and the lines after it start earlier.
    const int before = w.Mojisuu_Count_List().text(2).toInt();
    QVERIFY(w.replaceDisplayLine(2, QStringLiteral("000001:漢字漢字漢字 x")));
    QVERIFY_CONSISTENT(w);
    QVERIFY(w.Mojisuu_Count_List().text(2).toInt() < before);
    QVERIFY(w.replaceStoredLine(0, entryOf(QStringLiteral("/d/a.txt"), 1, QStringLiteral("漢字漢字漢字 x"))));
    QVERIFY_CONSISTENT(w);
    // The same as a work area that held the new text from the start.
    QList<FileSpec> changed = kThree;
    changed[0].lines[0] = QStringLiteral("漢字漢字漢字 x");
    compareLists(w, make(changed));
}

void tst_WorkAreaEdits::headerFile_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<bool>("keyKept");
    QTest::addColumn<QStringList>("expected"); // path of the file of each header, in display order; "" none
    const QString folder = QStringLiteral("/home/user/projects/quav/documents/meeting-minutes/");
    QVERIFY(folder.size() < 64);
    const QString a = folder + QStringLiteral("chapter-one-introduction-and-overview.txt");
    const QString b = folder + QStringLiteral("chapter-one-introduction-and-appendix.txt");
    QTest::newRow("same first 64 columns, keys kept") << QStringList{a, b} << true << QStringList{a, b};
    QTest::newRow("same first 64 columns, cut texts only") << QStringList{a, b} << false << QStringList{"", ""};
    QTest::newRow("one long path, cut text only") << QStringList{a, "/d/b.txt"} << false
                                                  << QStringList{a, "/d/b.txt"};
}

void tst_WorkAreaEdits::headerFile()
{
    QFETCH(QStringList, paths);
    QFETCH(bool, keyKept);
    QFETCH(QStringList, expected);
    QList<FileSpec> specs;
    for (const QString &p : paths)
        specs.append({p, {QStringLiteral("x")}});
    WorkArea w = make(specs);
    QList<int> headers;
    for (int k = 0; k < w.Search_Hit_List().count(); ++k) {
        if (!LineFormat::Is_Header(w.Search_Hit_List().text(k)))
            continue;
        headers.append(k);
        if (!keyKept)
            WorkAreaTestAccess::display(w).setTag(k, QString()); // as a writer that stored the fitted text alone
    }
    QCOMPARE(headers.size(), expected.size());
    QStringList found;
    const QList<WorkArea::Range> blocks = w.fileDisplayBlocks();
    for (int k : std::as_const(headers)) {
        const int file = w.headerFileIndex(k);
        found.append(file >= 0 ? w.Search_Hit_File_List().text(file) : QString());
        if (file >= 0)
            QCOMPARE(blocks[file].first, k);
    }
    QCOMPARE(found, expected);
}

void tst_WorkAreaEdits::brokenInvariantsFound_data()
{
    QTest::addColumn<Break>("breakIt");
    QTest::addColumn<QString>("reported");
    QTest::newRow("change list short") << Break([](WorkArea &w) { WorkAreaTestAccess::changes(w).remove(2); })
                                       << "change list";
    QTest::newRow("origin list short") << Break([](WorkArea &w) { WorkAreaTestAccess::origins(w).removeLast(); })
                                       << "origin list";
    QTest::newRow("stale line index") << Break([](WorkArea &w) { WorkAreaTestAccess::allLines(w).remove(0); })
                                      << "the line index says";
    QTest::newRow("stale running totals") << Break([](WorkArea &w) {
        WorkAreaTestAccess::counts(w).setText(3, QStringLiteral("70"));
    }) << "running total";
    QTest::newRow("lines of a file apart") << Break([](WorkArea &w) {
        WorkAreaTestAccess::allLines(w).setText(1, entryOf(QStringLiteral("/d/c.txt"), 2, QStringLiteral("a2")));
    }) << "are of /d/c.txt";
    QTest::newRow("lines out of order") << Break([](WorkArea &w) {
        WorkAreaTestAccess::allLines(w).setText(0, entryOf(QStringLiteral("/d/a.txt"), 9, QStringLiteral("a1 x")));
    }) << "out of order";
    QTest::newRow("file twice") << Break([](WorkArea &w) {
        WorkAreaTestAccess::files(w).setText(1, QStringLiteral("/d/a.txt"));
        WorkAreaTestAccess::changes(w).setText(1, QStringLiteral("/d/a.txt"));
    }) << "twice";
    QTest::newRow("header of no file") << Break([](WorkArea &w) {
        WorkAreaTestAccess::display(w).setTag(1, QStringLiteral("/D/GONE.TXT"));
        WorkAreaTestAccess::display(w).setText(1, LineFormat::Fit_Display_Line(LineFormat::kSearchPrefix + QStringLiteral("/D/GONE.TXT :@:")).text);
    }) << "stands for no file";
    QTest::newRow("display line not fitted") << Break([](WorkArea &w) {
        WorkAreaTestAccess::display(w).setText(2, QStringLiteral("000001:a1 x"));
    }) << "not fitted";
    QTest::newRow("stored lines of no file") << Break([](WorkArea &w) {
        WorkAreaTestAccess::allLines(w).add(entryOf(QStringLiteral("/D/Z.TXT"), 1, QString()));
    }) << "belong to no file";
}

void tst_WorkAreaEdits::brokenInvariantsFound()
{
    QFETCH(Break, breakIt);
    QFETCH(QString, reported);
    WorkArea w = make(kThree);
    breakIt(w);
    const QStringList errors = w.invariantErrors();
    QVERIFY2(errors.join(QLatin1Char('\n')).contains(reported), qPrintable(errors.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(tst_WorkAreaEdits)
#include "tst_workareaedits.moc"
