#include "SearchTree.h"

#include "platform/Cp932.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"
#include "platform/EventPump.h"
#include "search/FileMatchers.h"
#include "search/FileScan.h"
#include "search/HitLines.h"
#include "search/LineMeter.h"
#include "search/ScanPool.h"
#include "search/WordMatcher.h"
#include "search/WordStream.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class tst_FileScan : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void hasHit_data();
    void hasHit();
    void anchorDoesNotChangeResults();
    void unmappedWordNeverMatches();
    void countLines_data();
    void countLines();
    void countLinesStopsAtLimit();
    void lineMeterInSteps_data();
    void lineMeterInSteps();
    void lineMeterLongLines_data();
    void lineMeterLongLines();
    void wordStream_data();
    void wordStream();
    void collect();
    void collectDecodesAsTheWholeFile_data();
    void collectDecodesAsTheWholeFile();
    void poolReadsInSteps_data();
    void poolReadsInSteps();
    void poolStepBoundaries_data();
    void poolStepBoundaries();
    void poolStopsWhenAsked();
    void poolLongLines_data();
    void poolLongLines();
};

namespace {
QByteArray b(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int x : bytes)
        out.append(char(x));
    return out;
}
QByteArray sjis(const QString &s) { return Cp932::encode(s); }
qint64 linesOf(QByteArrayView bytes, qint64 limit)
{
    LineMeter meter;
    meter.feed(bytes, limit);
    return meter.lines();
}

class CountingPump : public EventPump
{
public:
    int yields = 0;
    void yield() override { ++yields; }
    void yieldNow() override {}
    void setBusyCursor(bool) override {}
    void flushInput() override {}
};
} // namespace

void tst_FileScan::hasHit_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("hit");
    // サ is 83 54: its trail byte is "T".
    QTest::newRow("trail byte is not the word") << "Timeout" << true << sjis("xサimeout\r\n") << false;
    QTest::newRow("straddle, then the word on another line")
        << "Timeout" << true << sjis("サimeout\r\nno\r\nTIMEOUT\r\n") << true;
    QTest::newRow("kanji across a boundary") << "子暗" << false
                                             << b({0x89, 0x8E, 0x71, 0x88, 0xC3, 0x0D, 0x0A}) << false; // 猿q暗
    QTest::newRow("kanji on the boundary") << "子暗" << false << sjis("量子暗号\r\n") << true;
    QTest::newRow("NEC copy of ∵") << "∵" << false << b({0x41, 0x87, 0x9A, 0x0D, 0x0A}) << true;
    QTest::newRow("IBM copy of ∵") << "∵" << false << b({0xFA, 0x5B}) << true;
    QTest::newRow("Roman numeral folds to its IBM small copy") << "Ⅰ" << true << b({0xFA, 0x40}) << true;
    QTest::newRow("Roman numeral with case") << "Ⅰ" << false << b({0xEE, 0xEF}) << false;
    QTest::newRow("half-width katakana") << "ﾊﾞｲﾄ" << false << b({0xCA, 0xDE, 0xB2, 0xC4}) << true;
    QTest::newRow("last line without a break") << "end" << false << QByteArray("a\r\nthe end") << true;
    QTest::newRow("lone CR ends a line") << "ab" << false << QByteArray("a\rb") << false;
    QTest::newRow("empty file") << "a" << false << QByteArray() << false;
    QTest::newRow("raw byte kept as is") << "x" << false << b({0x80, 0x78}) << true;
}

void tst_FileScan::hasHit()
{
    QFETCH(QString, word);
    QFETCH(bool, ignoreCase);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, hit);
    const WordMatcher m(word, ignoreCase);
    QCOMPARE(FileScan::Scan_File(m, bytes), hit);
    // The same answer as decoding every line and comparing.
    QStringList lines;
    bool expected = false;
    for (QByteArrayView line : TextFile::splitLines(bytes))
        expected = expected || Cp932::decode(line).contains(word, ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
    QCOMPARE(expected, hit);
}

void tst_FileScan::anchorDoesNotChangeResults()
{
    const QByteArray text = sjis("システム管理\r\nシステ\r\nムシステム\r\n");
    for (const QByteArray &sample : {QByteArray(), text, QByteArray(1000, '\x83'), QByteArray(1000, '\x65')}) {
        WordMatcher m(QStringLiteral("システム"), false);
        m.tune(sample);
        ScannedFile out;
        FileScan::collect(m, text, QStringLiteral("K"), out, nullptr);
        QCOMPARE(out.hitLines, std::vector<int>({0, 2}));
    }
}

void tst_FileScan::unmappedWordNeverMatches()
{
    const WordMatcher m(QStringLiteral("a😀"), true);
    QVERIFY(!m.canMatch());
    QVERIFY(!FileScan::Scan_File(m, QByteArray("a?\r\n")));
}

void tst_FileScan::countLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one line without break") << QByteArray("a");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n");
    QTest::newRow("LF only") << QByteArray("a\nb");
    QTest::newRow("lone CR") << QByteArray("a\rb\r");
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n\n\r");
    QTest::newRow("CR LF split across lone CR") << QByteArray("a\r\r\nb");
    QTest::newRow("lead byte before a break") << b({0x82, 0x0D, 0x0A, 0x41});
}

void tst_FileScan::countLines()
{
    QFETCH(QByteArray, bytes);
    QCOMPARE(linesOf(bytes, 1000), qint64(TextFile::splitLines(bytes).size()));
}

void tst_FileScan::countLinesStopsAtLimit()
{
    const QByteArray five("1\n2\n3\n4\n5\n");
    QCOMPARE(linesOf(five, 5), qint64(5));
    QVERIFY(linesOf(five, 4) > 4);
    QVERIFY(linesOf(five, 0) > 0);
}

void tst_FileScan::lineMeterInSteps_data()
{
    countLines_data();
    QTest::newRow("CR LF CR LF") << QByteArray("\r\n\r\n");
    QTest::newRow("lone CRs and LFs") << QByteArray("\r\r\n\n\rx\n\r");
}

void tst_FileScan::lineMeterInSteps()
{
    // Read in two or three steps, cut anywhere (also between CR and LF): the
    // lines counted step by step are those of the whole.
    QFETCH(QByteArray, bytes);
    const qint64 expected = TextFile::splitLines(bytes).size();
    for (qsizetype a = 0; a <= bytes.size(); ++a) {
        for (qsizetype b = a; b <= bytes.size(); ++b) {
            LineMeter meter;
            meter.feed(bytes.first(a), 1000);
            QVERIFY(meter.lines() <= expected); // a part never has more
            meter.feed(bytes.first(b), 1000);
            meter.feed(bytes, 1000);
            QCOMPARE(meter.lines(), expected);
            QVERIFY(meter.fits(expected) && !meter.fits(expected - 1));
        }
    }
    const QByteArray many = QByteArray("x\r\n").repeated(50);
    LineMeter meter;
    meter.feed(many, 9);
    QVERIFY(meter.lines() > 9);
}

void tst_FileScan::lineMeterLongLines_data()
{
    // A line may hold 32,767 characters; a kanji is two bytes, a raw byte
    // that is no character one.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("overlong");
    const QByteArray kanji = sjis(QStringLiteral("漢"));
    QTest::newRow("32,767 single-byte characters") << QByteArray(32767, 'a') + "\r\nb" << false;
    QTest::newRow("32,768 single-byte characters") << QByteArray(32768, 'a') + "\r\nb" << true;
    QTest::newRow("32,767 kanji, 65,534 bytes") << "b\n" + kanji.repeated(32767) + "\n" << false;
    QTest::newRow("32,768 kanji") << "b\n" + kanji.repeated(32768) << true;
    QTest::newRow("32,766 kanji and two raw bytes") << kanji.repeated(32766) + b({0x80, 0xFD}) << true;
    QTest::newRow("lead byte before the break counts alone")
        << kanji.repeated(32766) + b({0x41, 0x82, 0x0D, 0x0A}) << true;
    QTest::newRow("long line of lone CRs") << QByteArray("\r") + QByteArray(40000, 'a') + "\r" << true;
    QTest::newRow("many short lines") << QByteArray("abc\r\n").repeated(20000) << false;
}

void tst_FileScan::lineMeterLongLines()
{
    // Whole, and in steps of every size from a few bytes to the whole.
    QFETCH(QByteArray, bytes);
    QFETCH(bool, overlong);
    for (qsizetype step : {qsizetype(7), qsizetype(4096), qsizetype(32768), bytes.size()}) {
        LineMeter meter;
        for (qsizetype at = step; at < bytes.size() + step; at += step)
            meter.feed(bytes.first(std::min(at, bytes.size())), 1000000);
        QCOMPARE(meter.overlong(), overlong);
        if (!overlong) // else the rest is not counted
            QCOMPARE(meter.lines(), qint64(TextFile::splitLines(bytes).size()));
    }
}

void tst_FileScan::wordStream_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QByteArray>("bytes");
    // サ is 83 54: its trail byte is "T"; 8C 57 is a kanji whose trail is "W".
    QTest::newRow("plain") << "WORD" << QByteArray("xxWORDyy");
    QTest::newRow("kanji") << "検索" << sjis("前の検索語");
    QTest::newRow("trail byte is not the word") << "Timeout" << sjis("xサimeout");
    QTest::newRow("byte match across a character") << "WORD" << QByteArray("xx\x8cWORD\r\n");
    QTest::newRow("never across a line break") << "ab" << QByteArray("a\r\nb");
    QTest::newRow("lead byte alone at the end") << "x" << QByteArray("ab\x82");
    QTest::newRow("invalid pair, then a kanji") << "漢" << (b({0x85, 0x81}) + sjis(QStringLiteral("漢")));
    QTest::newRow("ignoring case") << "key" << QByteArray("a KEY b");
}

void tst_FileScan::wordStream()
{
    // Cut into two pieces anywhere (also inside a character), the stream
    // finds what the search of whole lines finds.
    QFETCH(QString, word);
    QFETCH(QByteArray, bytes);
    const WordMatcher m(word, true);
    const bool expected = FileScan::Scan_File(m, bytes);
    for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
        WordStream stream(m);
        stream.feed(bytes.first(cut), false);
        QCOMPARE(stream.feed(bytes.sliced(cut), true), expected);
    }
}

void tst_FileScan::collect()
{
    const QByteArray bytes = sjis("一 key\r\n\r\nサ\nKEY:@:x\rlast");
    const WordMatcher m(QStringLiteral("key"), true);
    ScannedFile out;
    FileScan::collect(m, bytes, QStringLiteral("/D/A.TXT"), out, nullptr);
    QCOMPARE(out.entries, QStringList({QStringLiteral("/D/A.TXT:@:000001.000:@:一 key"),
                                       QStringLiteral("/D/A.TXT:@:000002.000:@:"),
                                       QStringLiteral("/D/A.TXT:@:000003.000:@:サ"),
                                       QStringLiteral("/D/A.TXT:@:000004.000:@:KEY:@:x"),
                                       QStringLiteral("/D/A.TXT:@:000005.000:@:last")}));
    QCOMPARE(out.hitLines, std::vector<int>({0, 3}));
    QCOMPARE(out.lineText(3).toString(), QStringLiteral("KEY:@:x"));
}

void tst_FileScan::collectDecodesAsTheWholeFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("lead byte before CR LF") << b({0x41, 0x82, 0x0D, 0x0A, 0x82, 0xA0});
    QTest::newRow("lead byte at the end of the file") << b({0x82, 0xA0, 0x0D, 0x0A, 0x88});
    QTest::newRow("invalid trail, then a kanji") << b({0x81, 0x20, 0x8C, 0x57, 0x0A, 0x0D});
    QTest::newRow("half-width katakana and raw bytes") << b({0xB1, 0x80, 0xA0, 0xFD, 0x0D, 0x0D, 0x0A});
    QTest::newRow("long line") << sjis(QString(3000, QChar(u'漢')) + QStringLiteral("\r\nx"));
}

void tst_FileScan::collectDecodesAsTheWholeFile()
{
    // Each line decoded on its own gives the lines of the whole file decoded
    // at once.
    QFETCH(QByteArray, bytes);
    const WordMatcher m(QStringLiteral("x"), false);
    ScannedFile out;
    FileScan::collect(m, bytes, QStringLiteral("K"), out, nullptr);
    const QString whole = Cp932::decode(bytes);
    QStringList lines = whole.split(QRegularExpression(QStringLiteral("\\r\\n|\\r|\\n")));
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast(); // a break ends the last line
    QCOMPARE(out.lineCount(), lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        QCOMPARE(out.lineText(i).toString(), lines.at(i));
}

void tst_FileScan::poolReadsInSteps_data()
{
    // The file: 24 KiB of 10-byte lines (2,458 lines), the word at the start
    // of a line (hitAt), read in steps of 8, 16, ... KiB (8,192 bytes: the
    // line at 8,190 is cut by the end of the first read).
    QTest::addColumn<int>("helpers");
    QTest::addColumn<qsizetype>("hitAt");
    QTest::addColumn<qint64>("room");
    QTest::addColumn<QString>("expected");
    constexpr qsizetype first = ScanPool::kFirstRead;
    QTest::newRow("hit in the first read, the file fits: read whole and decoded")
        << 0 << qsizetype(10) << qint64(3000) << "decoded";
    QTest::newRow("hit in the first read, on helpers") << 2 << qsizetype(10) << qint64(3000) << "decoded";
    QTest::newRow("hit across the end of the first read") << 2 << first - 2 << qint64(3000) << "decoded";
    QTest::newRow("hit in a later read, exactly the room left") << 0 << first + 18 << qint64(2458) << "decoded";
    QTest::newRow("more lines in the first read than the store takes") << 2 << qsizetype(10) << qint64(100) << "too long";
    QTest::newRow("more lines in the whole file than the store takes, hit in the last line")
        << 0 << 3 * first - 6 << qint64(2457) << "too long";
}

void tst_FileScan::poolReadsInSteps()
{
    QFETCH(int, helpers);
    QFETCH(qsizetype, hitAt);
    QFETCH(qint64, room);
    QFETCH(QString, expected);
    QTemporaryDir tmp;
    QByteArray bytes;
    while (bytes.size() < 3 * ScanPool::kFirstRead)
        bytes += "abcdefgh\r\n";
    bytes.replace(hitAt, 4, "WORD");
    QVERIFY(SearchTree::writeBytes(tmp.path() + QStringLiteral("/A.TXT"), bytes));
    QVERIFY(SearchTree::writeBytes(tmp.path() + QStringLiteral("/B.TXT"), "none\r\n"));

    const FileMatchers m(QStringLiteral("WORD"), false, EncodingChoice::Detect);
    ScanPool pool(m, helpers);
    pool.setRoom(room);
    pool.add(QFile::encodeName(tmp.path()) + '/', {"A.TXT", "B.TXT"}, {QStringLiteral("K"), QStringLiteral("L")});
    ScanProbe a, b;
    QVERIFY(pool.take(a));
    QVERIFY(pool.take(b));
    QVERIFY(a.hasHit);
    QVERIFY(!b.hasHit && b.bytes.isEmpty()); // a file without a hit keeps nothing
    if (expected == QLatin1String("decoded")) {
        QVERIFY(!a.tooLong && a.decoded);
        QVERIFY(a.bytes.isEmpty()); // the entries carry the text
        QCOMPARE(a.scanned.lineCount(), qsizetype(2458));
        QCOMPARE(a.scanned.hitLines.size(), size_t(1));
        QCOMPARE(a.scanned.hitLines.front(), int(hitAt / 10));
    } else {
        QVERIFY(a.tooLong && !a.decoded);
        QVERIFY(a.bytes.isEmpty());
    }
}

void tst_FileScan::poolStepBoundaries_data()
{
    // Files whose lines meet the ends of the read steps in awkward places,
    // read for the work area, for the first hit (-l) and for every hit line
    // (-n): how many hit lines, the number of the last, and how far the
    // first hit is read at most.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("hasHit");
    QTest::addColumn<qsizetype>("lines");
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<int>("hitLines");
    QTest::addColumn<qint64>("lastHit");
    QTest::addColumn<qsizetype>("firstHitReads");
    constexpr qsizetype first = ScanPool::kFirstRead;
    const QString word = QStringLiteral("WORD");
    const int cp932 = int(TextEncoding::Cp932);
    const QString error = QStringLiteral("エラー");
    // CR as the last byte of the first read, its LF the first of the next.
    const QByteArray crFirst = QByteArray(first - 1, 'x') + "\r\nWORD\r\n";
    QTest::newRow("CR LF split between two reads")
        << crFirst << true << qsizetype(2) << word << cp932 << 1 << qint64(2) << crFirst.size();
    // One line longer than two steps with the word at its very end.
    const QByteArray longLine = QByteArray(3 * first, 'x') + "WORD";
    QTest::newRow("word at the end of a line longer than the steps")
        << longLine << true << qsizetype(1) << word << cp932 << 1 << qint64(1) << longLine.size();
    // Code page 932: 0x8C 0x57 is one kanji whose trail byte is 'W'; the
    // word's bytes straddle it at the step boundary and are no hit.
    const QByteArray straddle = QByteArray(first - 1, 'x') + "\x8c" + "WORD" + "\r\n";
    QTest::newRow("byte match across a character at the step boundary")
        << straddle << false << qsizetype(1) << word << cp932 << 0 << qint64(0) << straddle.size();
    QTest::newRow("lone CR and LF end lines too")
        << QByteArray("a\rb\n\r\nWORD\rc") << true << qsizetype(5) << word << cp932 << 1 << qint64(4) << qsizetype(13);
    // More hit text than a helper holds: the rest is read on the caller's
    // thread; the first hit needs the first step only.
    QByteArray many;
    for (int i = 0; i < 30000; ++i)
        many += "WORD\r\n";
    QTest::newRow("hit lines beyond what a helper holds")
        << many << true << qsizetype(30000) << word << cp932 << 30000 << qint64(30000) << first;
    // The encoding of a file without a mark is known only at its end, or at
    // its first byte that is no UTF-8.
    const QByteArray utf8Late = QByteArray(first + 10, 'x') + "\n" + error.toUtf8() + "\n";
    QTest::newRow("UTF-8 word after a first step of ASCII")
        << utf8Late << true << qsizetype(2) << error << int(TextEncoding::Utf8) << 1 << qint64(2) << utf8Late.size();
    const QByteArray invalidLate = error.toUtf8() + "\n" + QByteArray(2 * first, 'x') + "\n" + Cp932::encode(u"末尾");
    QTest::newRow("UTF-8 hit early, invalid byte late: code page 932, no hit")
        << invalidLate << false << qsizetype(3) << error << cp932 << 0 << qint64(0) << invalidLate.size();
    const QByteArray cp932Late = error.toUtf8() + "\n" + QByteArray(2 * first, 'x') + "\n" + Cp932::encode(error);
    QTest::newRow("code page 932 hit after UTF-8 lines")
        << cp932Late << true << qsizetype(3) << error << cp932 << 1 << qint64(3) << cp932Late.size();
    const QByteArray asciiThenUtf8 = "WORD\n" + QByteArray(first, 'x') + "\n" + (error + word).toUtf8() + "\n"
        + QByteArray(3 * first, 'y') + "\nWORD\n";
    QTest::newRow("ASCII hit lines, then UTF-8 found late")
        << asciiThenUtf8 << true << qsizetype(5) << word << int(TextEncoding::Utf8) << 3 << qint64(5)
        << asciiThenUtf8.size();
    const QByteArray marked = QByteArray("\xEF\xBB\xBF") + error.toUtf8();
    QTest::newRow("UTF-8 with mark")
        << marked << true << qsizetype(1) << error << int(TextEncoding::Utf8Bom) << 1 << qint64(1) << marked.size();
    const QByteArray utf16 = QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(u"\u0A0Ax\r\nエラー"), 14);
    QTest::newRow("UTF-16LE with mark, a break byte inside a character")
        << utf16 << true << qsizetype(2) << error << int(TextEncoding::Utf16LE) << 1 << qint64(2) << utf16.size();
}

void tst_FileScan::poolStepBoundaries()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, hasHit);
    QFETCH(qsizetype, lines);
    QFETCH(QString, word);
    QFETCH(int, encoding);
    QFETCH(int, hitLines);
    QFETCH(qint64, lastHit);
    QFETCH(qsizetype, firstHitReads);
    QTemporaryDir tmp;
    QVERIFY(SearchTree::writeBytes(tmp.path() + QStringLiteral("/A.TXT"), bytes));
    const QByteArray folder = QFile::encodeName(tmp.path()) + '/';
    const FileMatchers m(word, false, EncodingChoice::Detect);
    ScanPool pool(m, 0);
    pool.setRoom(100000);
    pool.add(folder, {"A.TXT"}, {QStringLiteral("K")});
    ScanProbe a;
    QVERIFY(pool.take(a));
    QVERIFY(a.readable);
    QCOMPARE(a.hasHit, hasHit);
    QCOMPARE(int(a.encoding), encoding);
    if (hasHit) {
        QVERIFY(a.decoded);
        QCOMPARE(a.scanned.lineCount(), lines);
    }

    ScanPool firstHit(m, 1, nullptr, ScanPool::Mode::FirstHit);
    firstHit.add(folder, {"A.TXT"}, {QStringLiteral("K")});
    QVERIFY(firstHit.take(a));
    QCOMPARE(a.hasHit, hasHit);
    QVERIFY(a.bytesRead <= firstHitReads);

    ScanPool every(m, 1, nullptr, ScanPool::Mode::HitLines);
    every.add(folder, {"A.TXT"}, {QStringLiteral("K")});
    QVERIFY(every.take(a));
    QCOMPARE(a.hasHit, hasHit);
    QCOMPARE(int(a.encoding), encoding);
    QByteArray text = a.hitLines;
    if (a.resumeAt >= 0) {
        QVERIFY(text.size() <= 2 * ScanPool::kMaxHitText); // memory stays bounded
        text += every.continueLines(folder, "A.TXT", QStringLiteral("K"), a, [&](QByteArray &t) {
                         text += t;
                         t.clear();
                         return true;
                     }).hitLines;
    }
    QCOMPARE(text.count('\n'), hitLines);
    if (hitLines > 0) {
        // The text as UTF-8 whatever the file's encoding, without its mark.
        const QByteArray last = text.mid(text.lastIndexOf('\n', text.size() - 2) + 1);
        const QByteArray head = folder + "A.TXT:" + QByteArray::number(lastHit) + ":";
        QVERIFY2(last.startsWith(head), last.left(80).constData());
        const QString lineText = QString::fromUtf8(last.sliced(head.size()).chopped(1));
        QVERIFY2(lineText.endsWith(word) && !lineText.contains(QChar(0xFEFF)), last.constData());
    }

    // The same lines as records: the bytes each one names decode to its text.
    ScanPool records(m, 1, nullptr, ScanPool::Mode::HitRecords);
    records.add(folder, {"A.TXT"}, {QStringLiteral("K")});
    QVERIFY(records.take(a));
    QByteArray all = a.hitLines;
    if (a.resumeAt >= 0) {
        QVERIFY(all.size() <= 2 * ScanPool::kMaxHitText);
        all += records.continueLines(folder, "A.TXT", QStringLiteral("K"), a, [&](QByteArray &t) {
                          all += t;
                          t.clear();
                          return true;
                      }).hitLines;
    }
    const TextCodec &codec = TextCodec::forEncoding(TextEncoding(encoding));
    std::vector<char16_t> decoded;
    HitLines::Record r;
    int count = 0;
    for (qsizetype at = HitLines::readRecord(all, 0, r); at >= 0; at = HitLines::readRecord(all, at, r), ++count) {
        const qsizetype n = codec.decode(QByteArrayView(bytes).sliced(r.offset, r.length), decoded);
        QCOMPARE(QStringView(decoded.data(), n), r.text);
        if (count + 1 == hitLines)
            QCOMPARE(r.line, lastHit);
    }
    QCOMPARE(count, hitLines);
}

void tst_FileScan::poolStopsWhenAsked()
{
    QTemporaryDir tmp;
    QList<QByteArray> names;
    QStringList keys;
    const QString folder = tmp.path() + QLatin1Char('/');
    for (int i = 0; i < 40; ++i) {
        names.append("F" + QByteArray::number(i) + ".TXT");
        keys.append(folder + QString::fromLatin1(names.last()));
        QVERIFY(SearchTree::writeLines(keys.last(), {QStringLiteral("hit")}));
    }
    const FileMatchers m(QStringLiteral("hit"), false, EncodingChoice::Detect);
    ScanPool pool(m, 3);
    pool.setRoom(1000);
    // Two folders' worth queued; the caller stops after five files.
    pool.add(QFile::encodeName(folder), names.mid(0, 20), keys.mid(0, 20));
    pool.add(QFile::encodeName(folder), names.mid(20), keys.mid(20));
    QCOMPARE(pool.queued(), qsizetype(40));
    QList<int> seen;
    ScanProbe p;
    for (int i = 0; i < 5 && pool.take(p); ++i) {
        seen.append(i);
        QVERIFY(p.hasHit);
        QVERIFY(p.decoded); // one line each, within the room
        pool.setRoom(1000 - (i + 1));
    }
    pool.cancel();
    QCOMPARE(pool.queued(), qsizetype(0));
    QVERIFY(!pool.take(p));
    // The pool takes new files after a stop, in order.
    pool.add(QFile::encodeName(folder), names.mid(0, 3), keys.mid(0, 3));
    QStringList again;
    while (pool.take(p))
        again.append(p.scanned.entries.value(0).section(QStringLiteral(":@:"), 0, 0));
    QCOMPARE(again, keys.mid(0, 3));
}

void tst_FileScan::poolLongLines_data()
{
    // Large files whose lines are long or missing, read on the calling
    // thread. readWhole: whether anything decides before the end.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("hasHit");
    QTest::addColumn<bool>("tooLong");
    QTest::addColumn<bool>("readWhole");
    constexpr qsizetype mib = 1024 * 1024;
    const QByteArray x(6 * mib, 'x');
    QTest::newRow("no line break, no hit") << x << false << false << true;
    QTest::newRow("no line break, the word at the end") << x + "WORD" << true << true << true;
    QTest::newRow("no line break, the word at the start") << "WORD" + x << true << true << false;
    QTest::newRow("the word on the first line, then a line without end")
        << "WORD\r\n" + x << true << true << false;
    QTest::newRow("lines of 60,000 bytes, the word at the end")
        << (QByteArray(60000, 'x') + "\r\n").repeated(100) + "WORD" << true << true << true;
    QTest::newRow("lines of 30,000 bytes, the word at the end")
        << (QByteArray(30000, 'x') + "\n").repeated(30) + "WORD" << true << false << true;
    const QByteArray shortLines = QByteArray("abcdefgh\r\n").repeated(ScanPool::kHeldUncounted / 10 + 1000);
    QTest::newRow("too many lines past the size held uncounted, the word at the end")
        << shortLines + "WORD" << true << true << true;
    QTest::newRow("too many lines past the size held uncounted, then a line without end, the word at its end")
        << shortLines + x + "WORD" << true << true << true;
    QTest::newRow("lone CRs, the word at the end")
        << (QByteArray(100, 'x') + "\r").repeated(60000) + "WORD" << true << true << true;
}

void tst_FileScan::poolLongLines()
{
    // Each byte is looked at a bounded number of times however long the
    // lines, the window is served between the steps of the one file, and a
    // file that cannot be taken is not read to its end once it has a hit.
    QFETCH(QByteArray, bytes);
    QFETCH(bool, hasHit);
    QFETCH(bool, tooLong);
    QFETCH(bool, readWhole);
    QTemporaryDir tmp;
    QVERIFY(SearchTree::writeBytes(tmp.path() + QStringLiteral("/A.TXT"), bytes));
    const FileMatchers m(QStringLiteral("WORD"), false, EncodingChoice::Detect);
    CountingPump pump;
    ScanPool pool(m, 0, &pump);
    pool.setRoom(1000);
    pool.add(QFile::encodeName(tmp.path() + QLatin1Char('/')), {QByteArrayLiteral("A.TXT")}, {QStringLiteral("K")});
    ScanProbe a;
    QVERIFY(pool.take(a));
    QVERIFY(a.readable);
    QCOMPARE(a.hasHit, hasHit);
    QCOMPARE(a.tooLong, tooLong);
    if (tooLong)
        QVERIFY(a.bytes.isEmpty() && !a.decoded);
    if (readWhole)
        QCOMPARE(a.bytesRead, qint64(bytes.size()));
    else
        QVERIFY(a.bytesRead <= LineMeter::kMaxLineBytes + ScanPool::kMaxRead);
    QVERIFY2(a.examined <= 4 * a.bytesRead, qPrintable(QString::number(a.examined)));
    QVERIFY(pump.yields >= a.bytesRead / ScanPool::kMaxRead - 1);
}

QTEST_GUILESS_MAIN(tst_FileScan)
#include "tst_filescan.moc"
