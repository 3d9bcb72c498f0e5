#include "DisplayFixture.h"

#include "display/RtfBuilder.h"
#include "display/RtfReader.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

class tst_RtfReader : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listRoundTrip();
    void detailRoundTrip();
    void colourTableForms_data();
    void colourTableForms();
    void malformed_data();
    void malformed();
    void mutatedDocumentsNeverOverrun();

private:
    QByteArray listDocument(Workbench &wb);
    QTemporaryDir m_dir;
};

namespace {

// Colour of character i of a paragraph.
quint32 colourAt(const RtfParagraph &p, int i)
{
    for (const RtfRun &r : p.runs)
        if (i >= r.start && i < r.start + r.length)
            return r.color;
    return 0xFFFFFFFF;
}

QList<TestFile> testFiles()
{
    return {
        {QStringLiteral("/data/日本語/報告書.txt"),
         {QStringLiteral("ﾊﾞｲﾄ数 {brace} back\\slash"), QStringLiteral("\t字下げ 検索語 と 検索語"), QStringLiteral("none")}},
        {QStringLiteral("/data/b.txt"), {QStringLiteral("検索語"), QStringLiteral("x\\y{z}検索語")}},
    };
}

} // namespace

QByteArray tst_RtfReader::listDocument(Workbench &wb)
{
    wb.display.documentFolder = m_dir.path();
    setColours(wb, true);
    fillWorkArea(wb, testFiles(), QStringLiteral("検索語"));
    if (!RtfBuilder::Make_RTF_Document(wb, RtfBuilder::ListMode, 1, 1, QStringLiteral(" ")).written)
        return QByteArray();
    QFile f(wb.display.listDocumentPath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void tst_RtfReader::listRoundTrip()
{
    Workbench wb;
    const QByteArray bytes = listDocument(wb);
    QVERIFY(!bytes.isEmpty());
    const RtfDocument doc = RtfReader::parse(bytes);
    const ItemList &lines = wb.work.Search_Hit_List();
    // One paragraph per display line, then the trailer's empty paragraph.
    QCOMPARE(int(doc.paragraphs.size()), lines.count() + 1);
    for (int i = 0; i < lines.count(); ++i) {
        QString expected = lines.text(i);
        if (LineFormat::Is_Header(expected))
            expected.replace(expected.indexOf(LineFormat::kSeparator), 3, QStringLiteral("   "));
        QCOMPARE(doc.paragraphs[size_t(i)].text, expected);
    }
    const quint32 blue = 0x0000FF, green = 0x008000, red = 0xFF0000;
    const RtfParagraph &header = doc.paragraphs[1];
    for (int i = 0; i < header.text.size(); ++i)
        QCOMPARE(colourAt(header, i), blue);
    const RtfParagraph &hit = doc.paragraphs[2]; // "000002:\t字下げ 検索語 と 検索語"
    QCOMPARE(hit.text.left(7), QStringLiteral("000002:"));
    for (int i = 0; i < 7; ++i)
        QCOMPARE(colourAt(hit, i), green);
    const int first = int(hit.text.indexOf(QStringLiteral("検索語")));
    const int second = int(hit.text.indexOf(QStringLiteral("検索語"), first + 1));
    QCOMPARE(colourAt(hit, 7), 0u);
    for (const int at : {first, second})
        for (int i = at; i < at + 3; ++i)
            QCOMPARE(colourAt(hit, i), red);
    QCOMPARE(colourAt(hit, first + 3), 0u);
    QCOMPARE(colourAt(doc.paragraphs[0], 0), 0u);
}

void tst_RtfReader::detailRoundTrip()
{
    Workbench wb;
    QVERIFY(!listDocument(wb).isEmpty());
    const int first = wb.work.Search_Hit_File_List().data(1);
    const int last = wb.work.Search_Hit_All_Line_List().count() - 1;
    const QString key = wb.work.File_Key(1);
    QVERIFY(RtfBuilder::Make_RTF_Document(wb, RtfBuilder::DetailMode, first, last, key).written);
    RtfDocument doc;
    QVERIFY(RtfReader::readFile(wb.display.detailDocumentPath, doc));
    QCOMPARE(doc.paragraphs[0].text, key);
    QCOMPARE(int(doc.paragraphs.size()), 1 + (last - first + 1) + 1);
    for (int k = first; k <= last; ++k)
        QCOMPARE(doc.paragraphs[size_t(1 + k - first)].text,
                 LineFormat::Entry_Text(wb.work.Search_Hit_All_Line_List().text(k)).toString());
}

void tst_RtfReader::colourTableForms_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<quint32>("colour");
    QTest::newRow("black first") << QByteArray("{\\rtf1{\\colortbl\\red0\\green0\\blue0;\\red1\\green2\\blue3;}\\cf1 x}") << 0x010203u;
    QTest::newRow("auto first") << QByteArray("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\cf1 x}") << 0x010203u;
    QTest::newRow("index past the table") << QByteArray("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\cf7 x}") << 0u;
    QTest::newRow("plain resets") << QByteArray("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\cf1\\plain x}") << 0u;
    QTest::newRow("group restores") << QByteArray("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}{\\cf1 y}x}") << 0u;
}

void tst_RtfReader::colourTableForms()
{
    QFETCH(QByteArray, rtf);
    QFETCH(quint32, colour);
    const RtfDocument doc = RtfReader::parse(rtf);
    const RtfParagraph &p = doc.paragraphs.back();
    QCOMPARE(p.text.right(1), QStringLiteral("x"));
    QCOMPARE(colourAt(p, int(p.text.size()) - 1), colour);
}

void tst_RtfReader::malformed_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("byte pair") << QByteArray("{\\rtf1 \\'82\\'a0}") << QStringLiteral("あ");
    QTest::newRow("escapes") << QByteArray("{\\rtf1 a\\\\b\\{c\\}\\tab d}") << QStringLiteral("a\\b{c}\td");
    QTest::newRow("cut byte escape") << QByteArray("{\\rtf1 ab\\'8") << QStringLiteral("ab");
    QTest::newRow("bad hex") << QByteArray("{\\rtf1 ab\\'zz}") << QStringLiteral("abzz");
    QTest::newRow("lone backslash at end") << QByteArray("{\\rtf1 ab\\") << QStringLiteral("ab");
    QTest::newRow("closing braces first") << QByteArray("}}}ab{") << QStringLiteral("ab");
    QTest::newRow("groups never closed") << QByteArray("{{{{ab") << QStringLiteral("ab");
    QTest::newRow("lead byte alone") << QByteArray("{\\rtf1 \\'82}") << QString(QChar(0xF782));
    QTest::newRow("huge parameter") << QByteArray("{\\rtf1\\cf99999999999999999999 x}") << QStringLiteral("x");
    QTest::newRow("long control word") << (QByteArray("{\\rtf1\\") + QByteArray(500, 'a') + " x}") << QStringLiteral("x");
    QTest::newRow("deep nesting") << (QByteArray(5000, '{') + "x" + QByteArray(5000, '}')) << QStringLiteral("x");
    QTest::newRow("skipped destination") << QByteArray("{\\rtf1{\\*\\generator gen;}{\\fonttbl{\\f0 Font;}}bar}") << QStringLiteral("bar");
    QTest::newRow("unicode word") << QByteArray("{\\rtf1\\uc1\\u12354?x}") << QStringLiteral("あx");
    QTest::newRow("negative unicode") << QByteArray("{\\rtf1\\u-3?}") << QString(QChar(0xFFFD));
    QTest::newRow("empty") << QByteArray() << QString();
}

void tst_RtfReader::malformed()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(RtfReader::parse(rtf).plainText(), text);
}

void tst_RtfReader::mutatedDocumentsNeverOverrun()
{
    Workbench wb;
    const QByteArray original = listDocument(wb);
    QVERIFY(!original.isEmpty());
    QRandomGenerator rng(932);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = original;
        const int cut = int(rng.bounded(bytes.size()));
        bytes.truncate(cut + 1);
        for (int m = 0; m < 20; ++m)
            bytes[int(rng.bounded(bytes.size()))] = char(rng.bounded(256));
        // Each character read comes from at least one byte of input.
        const RtfDocument doc = RtfReader::parse(bytes);
        QVERIFY(doc.plainText().size() <= bytes.size() + 2 * qsizetype(doc.paragraphs.size()));
        for (const RtfParagraph &p : doc.paragraphs)
            for (const RtfRun &r : p.runs)
                QVERIFY(r.start >= 0 && r.length > 0 && r.start + r.length <= p.text.size());
    }
}

QTEST_GUILESS_MAIN(tst_RtfReader)
#include "tst_rtfreader.moc"
