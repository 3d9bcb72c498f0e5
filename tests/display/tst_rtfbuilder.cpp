#include "DisplayFixture.h"

#include "display/RtfBuilder.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

class tst_RtfBuilder : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void escape_data();
    void escape();
    void markHits_data();
    void markHits();
    void colourTable();
    void listDocumentLayout();
    void listDocumentIsAscii();
    void colouringOffHasNoColourWord();
    void colouringOnRuns();
    void emptySearchWordMarksNothing();
    void foldedHitsMarkedInBothDocuments();
    void detailFirstEqualsLast();
    void documentFolderWithoutSlash();
    void documentsInCacheNeverInStartFolder();
    void nowhereToWrite();

private:
    QByteArray build(Workbench &wb, qint16 mode = RtfBuilder::ListMode, int first = 1, int last = 1,
                     const QString &heading = QStringLiteral(" "));
    QTemporaryDir m_dir;
};

void tst_RtfBuilder::init()
{
    QVERIFY(m_dir.isValid());
}

QByteArray tst_RtfBuilder::build(Workbench &wb, qint16 mode, int first, int last, const QString &heading)
{
    if (wb.display.documentFolder.isEmpty())
        wb.display.documentFolder = m_dir.path();
    const WriteResult written = RtfBuilder::Make_RTF_Document(wb, mode, first, last, heading);
    if (!written.written) {
        qWarning() << RtfBuilder::writeFailureText(written);
        return QByteArray();
    }
    QFile f(mode == RtfBuilder::ListMode ? wb.display.listDocumentPath : wb.display.detailDocumentPath);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void tst_RtfBuilder::escape_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain ascii") << "abc 123" << "abc 123";
    QTest::newRow("backslash") << "C:\\DOC" << "C:\\\\DOC";
    QTest::newRow("braces") << "{x}" << "\\{x\\}";
    QTest::newRow("tab") << "a\tb" << "a\\tab b";
    QTest::newRow("hiragana") << "あ" << "\\'82\\'A0";
    QTest::newRow("half-width katakana") << "ﾊﾞｲﾄ" << "\\'CA\\'DE\\'B2\\'C4";
    QTest::newRow("kanji") << "漢字" << "\\'8A\\'BF\\'8E\\'9A";
    QTest::newRow("trail byte 5C") << "ソ" << "\\'83\\'5C";
    QTest::newRow("full-width tilde") << QString(QChar(0xFF5E)) << "\\'81\\'60";
    QTest::newRow("no cp932 form") << "é" << "\\u233?";
    QTest::newRow("beyond U+FFFF, one escape a surrogate") << QStringLiteral("😀") << "\\u-10179?\\u-8704?";
    QTest::newRow("control byte") << QString(QChar(1)) << "\\'01";
    QTest::newRow("raw byte kept") << QString(QChar(0xF7FD)) << "\\'FD";
}

void tst_RtfBuilder::escape()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(RtfBuilder::Escape_RTF_Text(text), expected);
}

void tst_RtfBuilder::markHits_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<QString>("expected");
    // "[" stands for the hit prefix, "]" for the black prefix.
    QTest::newRow("tab: literal only") << "x\ttab" << "tab" << false << "x\\tab [ tab] ";
    QTest::newRow("ab never inside tab escape") << "\t" << "ab" << false << "\\tab ";
    QTest::newRow("tab after a literal backslash") << "\\tab" << "tab" << false << "\\\\[ tab] ";
    QTest::newRow("82 not in hex") << "あ82" << "82" << false << "\\'82\\'A0[ 82] ";
    QTest::newRow("82 only in hex") << "あい" << "82" << false << "\\'82\\'A0\\'82\\'A2";
    QTest::newRow("hex letter") << "ｱ" << "B" << true << "\\'B1";
    QTest::newRow("a ignoring case") << "A\ta" << "a" << true << "[ A] \\tab [ a] ";
    QTest::newRow("par") << "par" << "par" << false << "[ par] ";
    QTest::newRow("case sensitive") << "Tab tab" << "tab" << false << "Tab [ tab] ";
    QTest::newRow("kanji word") << "漢字漢" << "字" << false << "\\'8A\\'BF[ \\'8E\\'9A] \\'8A\\'BF";
    QTest::newRow("backslash is not a trail byte") << "ソ" << "\\" << false << "\\'83\\'5C";
    QTest::newRow("brace") << "{a}" << "}" << false << "\\{a[ \\}] ";
    QTest::newRow("adjacent hits") << "aaa" << "aa" << false << "[ aa] a";
    // The hits the search finds by folding case beyond ASCII.
    QTest::newRow("full-width Latin ignoring case") << "xＡＢＣ" << "ａｂｃ" << true
                                                    << "x[ \\'82\\'60\\'82\\'61\\'82\\'62] ";
    QTest::newRow("Greek ignoring case") << "ΑΒΓ" << "αβγ" << true << "[ \\'83\\'9F\\'83\\'A0\\'83\\'A1] ";
    QTest::newRow("full-width Latin with case") << "ＡＢＣ" << "ａｂｃ" << false << "\\'82\\'60\\'82\\'61\\'82\\'62";
    QTest::newRow("half-width is not full-width") << "ABC" << "ＡＢＣ" << true << "ABC";
}

void tst_RtfBuilder::markHits()
{
    QFETCH(QString, line);
    QFETCH(QString, word);
    QFETCH(bool, ignoreCase);
    QFETCH(QString, expected);
    const QString marked = RtfBuilder::markHits(line, word, ignoreCase, QStringLiteral("["), QStringLiteral("]"));
    QCOMPARE(marked, expected);
}

void tst_RtfBuilder::colourTable()
{
    Workbench wb;
    setColours(wb, true);
    wb.display.detailCacheKey = QStringLiteral("/X");
    RtfBuilder::Make_RTF_Colors(wb.display, wb.settings);
    QCOMPARE(wb.display.Color_Table_Line,
             QStringLiteral("{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green128\\blue0;\\red255\\green0\\blue0;}"));
    QCOMPARE(wb.display.Black_Prefix, QStringLiteral("\\plain\\f6\\fs20"));
    QCOMPARE(wb.display.File_Name_Prefix, QStringLiteral("\\plain\\f6\\fs20\\cf1"));
    QCOMPARE(wb.display.Line_No_Prefix, QStringLiteral("\\plain\\f6\\fs20\\cf2"));
    QCOMPARE(wb.display.Hit_Prefix, QStringLiteral("\\plain\\f6\\fs20\\cf3"));
    QVERIFY(wb.display.RTF_Header.startsWith(RtfBuilder::kFontTable + QStringLiteral("\r\n") + wb.display.Color_Table_Line + QStringLiteral("\r\n")));
    QVERIFY(wb.display.detailCacheKey.isEmpty());
    QCOMPARE(RtfBuilder::kFontTable.size(), 440);
    QCOMPARE(RtfBuilder::kFirstOpener.size(), 64);
}

void tst_RtfBuilder::listDocumentLayout()
{
    Workbench wb;
    setColours(wb, false);
    fillWorkArea(wb, {{QStringLiteral("/d/a.txt"), {QStringLiteral("one"), QStringLiteral("two key")}}}, QStringLiteral("key"));
    const QByteArray doc = build(wb);
    QVERIFY(!doc.isEmpty());
    QVERIFY(doc.endsWith("\\par \\plain\\f4\\fs18 \r\n\\par }\r\n"));
    const QList<QByteArray> lines = doc.split('\n');
    // font table, colour table, document words, three display lines, trailer.
    QCOMPARE(lines.size(), 3 + 3 + 2 + 1);
    for (int i = 0; i + 1 < lines.size(); ++i)
        QVERIFY2(lines[i].endsWith('\r'), lines[i].constData());
    QCOMPARE(lines[0].chopped(1), RtfBuilder::kFontTable.toLatin1());
    QCOMPARE(lines[3].chopped(1), (RtfBuilder::kFirstOpener + LineFormat::kColumnHeader + QStringLiteral("  ")).toLatin1());
    // The header's first ":@:" shows as three spaces.
    QVERIFY(lines[4].startsWith("\\par SEARCH_FILE = /d/a.txt"));
    QVERIFY(!lines[4].contains(":@:"));
    QVERIFY(lines[5].startsWith("\\par 000002:two key"));
}

void tst_RtfBuilder::listDocumentIsAscii()
{
    Workbench wb;
    setColours(wb, true);
    wb.work.Compare_Mode = 1;
    fillWorkArea(wb, {{QStringLiteral("/d/日本語.txt"),
                       {QStringLiteral("ﾊﾞｲﾄ 漢字 {brace} back\\slash\tTAB あいう"), QStringLiteral("漢字のみ")}}},
                 QStringLiteral("漢字"));
    QByteArray doc = build(wb);
    QVERIFY(!doc.isEmpty());
    for (const char c : std::as_const(doc))
        QVERIFY2(uchar(c) <= 0x7F, "a byte above 0x7F in the document");
    wb.display.detailCacheKey.clear();
    doc = build(wb, RtfBuilder::DetailMode, 0, 1, QStringLiteral("/D/日本語.TXT"));
    for (const char c : std::as_const(doc))
        QVERIFY2(uchar(c) <= 0x7F, "a byte above 0x7F in the detail document");
}

void tst_RtfBuilder::colouringOffHasNoColourWord()
{
    Workbench wb;
    setColours(wb, false);
    fillWorkArea(wb, {{QStringLiteral("/d/a.txt"), {QStringLiteral("key"), QStringLiteral("x key")}}}, QStringLiteral("key"));
    for (const qint16 mode : {qint16(RtfBuilder::ListMode), qint16(RtfBuilder::DetailMode)}) {
        const QByteArray doc = build(wb, mode, 0, 1, QStringLiteral("/D/A.TXT"));
        const qsizetype body = doc.indexOf("\\pard");
        QVERIFY(body > 0);
        QVERIFY(doc.left(body).contains("\\colortbl"));
        QVERIFY2(!doc.mid(body).contains("\\cf"), doc.mid(body).constData());
    }
}

void tst_RtfBuilder::colouringOnRuns()
{
    Workbench wb;
    setColours(wb, true);
    fillWorkArea(wb, {{QStringLiteral("/d/a.txt"), {QStringLiteral("none"), QStringLiteral("a key")}}}, QStringLiteral("key"));
    const QList<QByteArray> lines = build(wb).split('\n');
    QCOMPARE(lines[3].chopped(1), (RtfBuilder::kFirstOpener + LineFormat::kColumnHeader + QStringLiteral("  ")).toLatin1());
    QVERIFY(lines[4].startsWith("\\par \\plain\\f6\\fs20\\cf1 SEARCH_FILE = /d/a.txt"));
    QVERIFY(lines[4].endsWith("\\plain\\f6\\fs20 \r"));
    QVERIFY2(lines[5].startsWith("\\par \\plain\\f6\\fs20\\cf2 000002:\\plain\\f6\\fs20 a \\plain\\f6\\fs20\\cf3 key\\plain\\f6\\fs20  "),
             lines[5].constData());

    wb.display.detailCacheKey.clear();
    const QList<QByteArray> detail = build(wb, RtfBuilder::DetailMode, 0, 1, QStringLiteral("/D/A.TXT")).split('\n');
    QCOMPARE(detail[3].chopped(1), (RtfBuilder::kFirstOpener + QStringLiteral("\\plain\\f6\\fs20\\cf1 /D/A.TXT\\plain\\f6\\fs20 ")).toLatin1());
    QCOMPARE(detail[4].chopped(1), QByteArray("\\par none"));
    QCOMPARE(detail[5].chopped(1), QByteArray("\\par a \\plain\\f6\\fs20\\cf3 key\\plain\\f6\\fs20 "));
}

// What a search ignoring case lists is what both documents colour, beyond
// ASCII too.
void tst_RtfBuilder::foldedHitsMarkedInBothDocuments()
{
    Workbench wb;
    setColours(wb, true);
    wb.work.Compare_Mode = 1;
    fillWorkArea(wb, {{QStringLiteral("/d/a.txt"), {QStringLiteral("x ＡＢＣ y")}}}, QStringLiteral("ａｂｃ"));
    const QByteArray hit = "\\plain\\f6\\fs20\\cf3 \\'82\\'60\\'82\\'61\\'82\\'62\\plain\\f6\\fs20 ";
    QVERIFY(build(wb).contains(hit));
    QVERIFY(build(wb, RtfBuilder::DetailMode, 0, 0, QStringLiteral("/D/A.TXT")).contains(hit));
}

void tst_RtfBuilder::emptySearchWordMarksNothing()
{
    Workbench wb;
    setColours(wb, true);
    fillWorkArea(wb, {{QStringLiteral("/d/a.txt"), {QStringLiteral("key")}}}, QStringLiteral("key"));
    wb.work.Search_Word.clear();
    QVERIFY(!build(wb).contains("\\cf3"));
    QVERIFY(!build(wb, RtfBuilder::DetailMode, 0, 0, QStringLiteral("/D/A.TXT")).contains("\\cf3"));
}

void tst_RtfBuilder::detailFirstEqualsLast()
{
    Workbench wb;
    setColours(wb, false);
    fillWorkArea(wb, {{QStringLiteral("/d/a.txt"), {QStringLiteral("l1"), QStringLiteral("l2"), QStringLiteral("l3")}}},
                 QStringLiteral("l"));
    const QByteArray doc = build(wb, RtfBuilder::DetailMode, 1, 1, QStringLiteral("/D/A.TXT"));
    const QList<QByteArray> lines = doc.split('\n');
    QCOMPARE(lines.size(), 3 + 2 + 2 + 1);
    QCOMPARE(lines[3].chopped(1), (RtfBuilder::kFirstOpener + QStringLiteral("/D/A.TXT")).toLatin1());
    QCOMPARE(lines[4].chopped(1), QByteArray("\\par l2"));
}

void tst_RtfBuilder::documentFolderWithoutSlash()
{
    Workbench wb;
    setColours(wb, false);
    wb.display.documentFolder = m_dir.path(); // no trailing "/"
    QVERIFY(RtfBuilder::Make_RTF_Document(wb, RtfBuilder::ListMode, 1, 1, QStringLiteral(" ")).written);
    QCOMPARE(wb.display.listDocumentPath, m_dir.path() + QStringLiteral("/~QUAV_SK.RTF"));
    QVERIFY(QFile::exists(wb.display.listDocumentPath));
}

void tst_RtfBuilder::documentsInCacheNeverInStartFolder()
{
    // Someone planted a link named like the document in the folder the
    // program is started from.
    QTemporaryDir cache, start;
    QFile victim(start.filePath(QStringLiteral("victim.txt")));
    QVERIFY(victim.open(QIODevice::WriteOnly));
    victim.write("keep me");
    victim.close();
    QVERIFY(QFile::link(victim.fileName(), start.filePath(QStringLiteral("~QUAV_SD.RTF"))));
    const QByteArray old = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    Workbench wb;
    setColours(wb, false);
    fillWorkArea(wb, {{QStringLiteral("/d/a.txt"), {QStringLiteral("k")}}}, QStringLiteral("k"));
    wb.Start_Dir = start.path() + QLatin1Char('/');
    const bool ok = RtfBuilder::Make_RTF_Document(wb, RtfBuilder::DetailMode, 0, 0, QStringLiteral("/d/a.txt")).written;
    qputenv("XDG_CACHE_HOME", old);
    QVERIFY(ok);
    QCOMPARE(wb.display.detailDocumentPath, cache.path() + QStringLiteral("/quav/~QUAV_SD.RTF"));
    QVERIFY(QFile::exists(wb.display.detailDocumentPath));
    QVERIFY(victim.open(QIODevice::ReadOnly));
    QCOMPARE(victim.readAll(), QByteArray("keep me"));
    QCOMPARE(QFileInfo(cache.path() + QStringLiteral("/quav")).permissions() & 0x0077, QFileDevice::Permissions());
}

void tst_RtfBuilder::nowhereToWrite()
{
    // The cache folder cannot take the document: a file stands where its
    // "quav" folder would be made.
    QTemporaryDir cache;
    QFile blocker(cache.filePath(QStringLiteral("quav")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray old = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    Workbench wb;
    setColours(wb, false);
    const WriteResult result = RtfBuilder::Make_RTF_Document(wb, RtfBuilder::ListMode, 1, 1, QStringLiteral(" "));
    if (old.isNull())
        qunsetenv("XDG_CACHE_HOME");
    else
        qputenv("XDG_CACHE_HOME", old);
    QVERIFY(!result.written);
    QCOMPARE(QFileInfo(result.path).fileName(), QStringLiteral("~QUAV_SK.RTF"));
    QVERIFY(!result.reason.isEmpty());
    QVERIFY(wb.display.listDocumentPath.isEmpty());
    QVERIFY(RtfBuilder::writeFailureText(result).startsWith(QStringLiteral("表示用ファイル ~QUAV_SK.RTF を書き込めません。\r\n")));
}

QTEST_GUILESS_MAIN(tst_RtfBuilder)
#include "tst_rtfbuilder.moc"
