#include "DisplayFixture.h"

#include "display/RtfBuilder.h"
#include "display/ListView.h"
#include "display/widgets/RichTextView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

class tst_RichTextView : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void positionsCountBreaksAsTwo();
    void selectToLineEnd_data();
    void selectToLineEnd();
    void findSelects();
    void selectedTextAcrossLines();
    void clickAndDoubleClick();
    void keyboardSkipsTheBreak();
    void underscoresShow_data();
    void underscoresShow();
    void listDocumentLoads();
    void listLoadMeasure();
};

namespace {

RtfDocument threeLines()
{
    return RtfReader::parse("{\\rtf1{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}"
                            "\\pard abc\\par \\cf1 \\'82\\'a0x\\tab y\\par \\plain last}");
}

} // namespace

void tst_RichTextView::positionsCountBreaksAsTwo()
{
    RichTextView view;
    view.setDocument(threeLines());
    QCOMPARE(view.lineCount(), 3);
    QCOMPARE(view.plainText(), QStringLiteral("abc\r\nあx\ty\r\nlast"));
    QCOMPARE(view.textLength(), 3 + 2 + 4 + 2 + 4);
    view.setCaret(5);
    QCOMPARE(view.caret(), 5);
    view.setCaret(1000);
    QCOMPARE(view.caret(), view.textLength());
    view.setCaret(-3);
    QCOMPARE(view.caret(), 0);
}

void tst_RichTextView::selectToLineEnd_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("selected");
    QTest::newRow("line start") << 0 << "abc";
    QTest::newRow("mid line") << 1 << "bc";
    QTest::newRow("second line start") << 5 << "あx\ty";
    QTest::newRow("at a line end") << 3 << "";
    QTest::newRow("last line") << 11 << "last";
}

void tst_RichTextView::selectToLineEnd()
{
    QFETCH(int, from);
    QFETCH(QString, selected);
    RichTextView view;
    view.setDocument(threeLines());
    view.setCaret(from);
    view.selectToLineEnd();
    QCOMPARE(view.caret(), from);
    QCOMPARE(view.selectedText(), selected);
}

void tst_RichTextView::findSelects()
{
    RichTextView view;
    view.setDocument(threeLines());
    QCOMPARE(view.find(QStringLiteral("LAST"), 0), 11);
    QCOMPARE(view.selectedText(), QStringLiteral("last"));
    QCOMPARE(view.find(QStringLiteral("abc"), 1), -1);
    QCOMPARE(view.find(QStringLiteral("x\ty"), 0), 6);
}

void tst_RichTextView::selectedTextAcrossLines()
{
    RichTextView view;
    view.setDocument(threeLines());
    view.find(QStringLiteral("bc\r\nあ"), 0);
    QCOMPARE(view.selectionStart(), 1);
    QCOMPARE(view.selectionEnd(), 6);
    QCOMPARE(view.selectedText(), QStringLiteral("bc\r\nあ"));
}

void tst_RichTextView::clickAndDoubleClick()
{
    RichTextView view;
    view.resize(400, 200);
    view.setDocument(threeLines());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy clicks(&view, &RichTextView::clicked);
    QSignalSpy doubles(&view, &RichTextView::doubleClicked);
    // Second line, just right of "あ" (two columns): position 5 + 1.
    const QPoint target = view.pointOf(6) + QPoint(1, 3);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, target);
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(view.caret(), 6);
    QCOMPARE(view.positionAt(view.pointOf(11) + QPoint(1, 3)), 11);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, view.pointOf(0) + QPoint(1, 3));
    QCOMPARE(doubles.size(), 1);
    QCOMPARE(view.caret(), 0);
    // Below the last line: the end of the text.
    QCOMPARE(view.positionAt(QPoint(5, 190)), view.textLength());
}

void tst_RichTextView::keyboardSkipsTheBreak()
{
    RichTextView view;
    view.setDocument(threeLines());
    view.setCaret(3);
    QTest::keyClick(&view, Qt::Key_Right);
    QCOMPARE(view.caret(), 5);
    QTest::keyClick(&view, Qt::Key_Left);
    QCOMPARE(view.caret(), 3);
    QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier); // already at the end
    QTest::keyClick(&view, Qt::Key_Down);
    QCOMPARE(view.caret(), 5 + 2); // column 3 of "あx\ty" is after its two characters "あx"
}

void tst_RichTextView::underscoresShow_data()
{
    QTest::addColumn<int>("selectedLine"); // -1: none
    QTest::newRow("nothing selected") << -1;
    QTest::newRow("the line below highlighted") << 1;
    QTest::newRow("the line itself highlighted") << 0;
}

// An underscore lies in the descent, below the baseline: the row must hold
// it, and the row below (its highlight included) must leave it alone.
void tst_RichTextView::underscoresShow()
{
    QFETCH(int, selectedLine);
    RichTextView view;
    view.resize(300, 120);
    // Column 1 holds the underscore in the first line and nothing below it.
    view.setDocument(RtfReader::parse("{\\rtf1\\pard A_B\\par D F\\par x}"));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    if (selectedLine >= 0) {
        view.setCaret(selectedLine * 5);
        view.selectToLineEnd();
    }
    const QImage image = view.viewport()->grab().toImage();
    const qreal scale = image.devicePixelRatio();
    const QColor base = view.palette().color(QPalette::Active, QPalette::Base);
    const QColor highlight = view.palette().color(QPalette::Active, QPalette::Highlight);
    const QColor background = selectedLine == 0 ? highlight : base;
    // The row of the first line, in device pixels.
    const int top = qRound(view.pointOf(0).y() * scale);
    const int bottom = qRound(view.pointOf(5).y() * scale);
    const int left = qRound(view.pointOf(1).x() * scale);
    const int right = qRound(view.pointOf(2).x() * scale);
    QVERIFY(bottom - top >= QFontMetrics(view.textFont()).height() * scale - 1);
    int ink = 0; // how far the darkest pixel of the column stands from the row's background
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            ink = std::max(ink, std::abs(qGray(image.pixel(x, y)) - qGray(background.rgb())));
    QVERIFY2(ink >= 96, qPrintable(QStringLiteral("underscore contrast %1").arg(ink)));
}

void tst_RichTextView::listDocumentLoads()
{
    QTemporaryDir dir;
    Workbench wb;
    wb.display.documentFolder = dir.path();
    setColours(wb, true);
    fillWorkArea(wb, {{QStringLiteral("/d/漢字.txt"), {QStringLiteral("hit 日本語"), QStringLiteral("x"), QStringLiteral("\thit")}}},
                 QStringLiteral("hit"));
    RichTextView view;
    wb.listView = &view;
    QVERIFY(ListView::Build_List_View(wb));
    // The line index and the view agree on every line's start.
    for (int k = 1; k < wb.work.Search_Hit_List().count(); ++k) {
        view.setCaret(ListView::lineStart(wb.work.Mojisuu_Count_List(), k));
        view.selectToLineEnd();
        QString expected = wb.work.Search_Hit_List().text(k);
        if (LineFormat::Is_Header(expected))
            expected.replace(expected.indexOf(LineFormat::kSeparator), 3, QStringLiteral("   "));
        QCOMPARE(view.selectedText(), expected);
    }
}

// Not a check: with QUAV_MEASURE_LINES set, builds and loads a list of that
// many display lines and prints the time (bench/list_view_load.sh).
void tst_RichTextView::listLoadMeasure()
{
    const int lines = qEnvironmentVariableIntValue("QUAV_MEASURE_LINES");
    if (lines <= 0)
        QSKIP("set QUAV_MEASURE_LINES to measure");
    QTemporaryDir dir;
    Workbench wb;
    wb.display.documentFolder = dir.path();
    setColours(wb, true);
    QList<TestFile> files;
    const int perFile = 99;
    for (int f = 0; f * (perFile + 1) < lines; ++f) {
        TestFile file{QStringLiteral("/data/フォルダ/file%1.txt").arg(f, 4, 10, QLatin1Char('0')), {}};
        for (int i = 0; i < perFile && f * (perFile + 1) + i + 1 < lines; ++i)
            file.lines.append(i % 2 ? QStringLiteral("検索語を含む日本語の行です %1 検索語 と\tタブ").arg(i)
                                    : QStringLiteral("an ASCII line with the word 検索語 number %1").arg(i));
        files.append(file);
    }
    fillWorkArea(wb, files, QStringLiteral("検索語"));
    RichTextView view;
    view.resize(900, 600);
    view.show();
    wb.listView = &view;
    QElapsedTimer t;
    t.start();
    QVERIFY(ListView::Build_List_View(wb));
    const qint64 built = t.elapsed();
    QApplication::processEvents();
    qInfo("list view: %d display lines built, loaded and painted in %lld ms", wb.work.Search_Hit_List().count(),
          qint64(t.elapsed()));
    Q_UNUSED(built);
}

QTEST_MAIN(tst_RichTextView)
#include "tst_richtextview.moc"
