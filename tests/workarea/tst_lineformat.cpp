#include "platform/Cp932.h"
#include "workarea/LineFormat.h"

#include <QTest>

class tst_LineFormat : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fit_data();
    void fit();
    void lineNumbers_data();
    void lineNumbers();
    void entryParts_data();
    void entryParts();
    void header_data();
    void header();
    void holdsKey_data();
    void holdsKey();
    void cp932Vectors_data();
    void cp932Vectors();
    void cp932RawBytesRoundTrip();
};

void tst_LineFormat::fit_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("charCount");
    QTest::addColumn<int>("byteLength");

    const QString a200(200, QLatin1Char('a'));
    const QString hitLine = QStringLiteral("000012:") + a200;
    QTest::newRow("200-char hit line cut at 82 plus one space")
        << hitLine << hitLine.left(82) + QLatin1Char(' ') << 85 << 168;
    QTest::newRow("column header gets two spaces")
        << LineFormat::kColumnHeader << LineFormat::kColumnHeader + QStringLiteral("  ") << 85 << 166;
    QTest::newRow("empty line filled to 83")
        << QString() << QString(83, QLatin1Char(' ')) << 85 << 166;
    const QString a80(80, QLatin1Char('a'));
    QTest::newRow("double-byte char at column 80 ends at 82")
        << a80 + QStringLiteral("漢字") << a80 + QStringLiteral("漢 ") << 84 << 166;
    const QString a81(81, QLatin1Char('a'));
    QTest::newRow("double-byte char at column 81 crosses 82")
        << a81 + QStringLiteral("漢字") << a81 + QStringLiteral("漢") << 84 << 164;
    const QString a79(79, QLatin1Char('a'));
    QTest::newRow("tab at column 79 advances to 80")
        << a79 + QStringLiteral("\tbcdef") << a79 + QStringLiteral("\tbc ") << 85 << 168;
    QTest::newRow("tab at column 80 advances to 88 and ends the line")
        << a80 + QStringLiteral("\tbcdef") << a80 + QStringLiteral("\t") << 83 << 162;
    QTest::newRow("exactly 82 columns gets one space")
        << QString(82, QLatin1Char('x')) << QString(82, QLatin1Char('x')) + QLatin1Char(' ') << 85 << 168;
    QTest::newRow("half-width katakana is one column")
        << QStringLiteral("ﾊﾞｲﾄ") << QStringLiteral("ﾊﾞｲﾄ") + QString(79, QLatin1Char(' ')) << 85 << 166;
    QTest::newRow("kanji line filled by columns, not characters")
        << QStringLiteral("漢字") << QStringLiteral("漢字") + QString(79, QLatin1Char(' ')) << 83 << 162;
}

void tst_LineFormat::fit()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QFETCH(int, charCount);
    QFETCH(int, byteLength);
    const FittedLine f = LineFormat::Fit_Display_Line(input);
    QCOMPARE(f.text, expected);
    QCOMPARE(f.charCount, charCount);
    QCOMPARE(f.byteLength, byteLength);
}

void tst_LineFormat::lineNumbers_data()
{
    QTest::addColumn<qint64>("n");
    QTest::addColumn<QString>("six");
    QTest::addColumn<QString>("ten");
    QTest::newRow("one") << qint64(1) << QStringLiteral("000001") << QStringLiteral("000001.000");
    QTest::newRow("twelve") << qint64(12) << QStringLiteral("000012") << QStringLiteral("000012.000");
    QTest::newRow("six digits") << qint64(999999) << QStringLiteral("999999") << QStringLiteral("999999.000");
    QTest::newRow("seven digits keep last six") << qint64(1234567) << QStringLiteral("234567")
                                                << QStringLiteral("234567.000");
}

void tst_LineFormat::lineNumbers()
{
    QFETCH(qint64, n);
    QFETCH(QString, six);
    QFETCH(QString, ten);
    QCOMPARE(LineFormat::Line_No_6(n), six);
    QCOMPARE(LineFormat::Line_No_10(n), ten);
    QCOMPARE(LineFormat::lineNoThousandths(n * 1000 + 500), six + QStringLiteral(".500"));
}

void tst_LineFormat::entryParts_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("lineNo");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QStringLiteral("/D/A.TXT:@:000012.000:@:hello") << QStringLiteral("/D/A.TXT")
                           << QStringLiteral("000012.000") << QStringLiteral("hello");
    QTest::newRow("empty line ends with separator")
        << QStringLiteral("/D/A.TXT:@:000001.000:@:") << QStringLiteral("/D/A.TXT") << QStringLiteral("000001.000")
        << QString();
    QTest::newRow("text holding the separator")
        << QStringLiteral("/D/A.TXT:@:000003.500:@:x:@:y") << QStringLiteral("/D/A.TXT")
        << QStringLiteral("000003.500") << QStringLiteral("x:@:y");
}

void tst_LineFormat::entryParts()
{
    QFETCH(QString, entry);
    QFETCH(QString, key);
    QFETCH(QString, lineNo);
    QFETCH(QString, text);
    QCOMPARE(LineFormat::Entry_Key(entry).toString(), key);
    QCOMPARE(LineFormat::Entry_Line_No(entry).toString(), lineNo);
    QCOMPARE(LineFormat::Entry_Text(entry).toString(), text);
}

void tst_LineFormat::header_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("isHeader");
    QTest::addColumn<bool>("added");
    QTest::newRow("search") << QStringLiteral("SEARCH_FILE = /A.TXT") << true << false;
    QTest::newRow("add") << QStringLiteral("ADD____FILE = /A.TXT") << true << true;
    QTest::newRow("make") << QStringLiteral("MAKE___FILE = /A.TXT") << true << true;
    QTest::newRow("hit line") << QStringLiteral("000001:SEARCH_FILE = ") << false << false;
    QTest::newRow("lower case") << QStringLiteral("search_file = /A.TXT") << false << false;
    QTest::newRow("short") << QStringLiteral("SEARCH_FILE =") << false << false;
    QTest::newRow("add, short") << QStringLiteral("ADD____") << false << false;
    QTest::newRow("column header") << LineFormat::kColumnHeader << false << false;
}

void tst_LineFormat::header()
{
    QFETCH(QString, item);
    QFETCH(bool, isHeader);
    QFETCH(bool, added);
    QCOMPARE(LineFormat::Is_Header(item), isHeader);
    QCOMPARE(LineFormat::isAddedFileHeader(item), added);
}

void tst_LineFormat::holdsKey_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("held");
    QTest::newRow("plain") << QStringLiteral("/d/a.txt") << true;
    QTest::newRow("colon and at-sign apart") << QStringLiteral("/d/a:b@c.txt") << true;
    QTest::newRow("ends in a colon") << QStringLiteral("/d/a.txt:") << true;
    QTest::newRow("ends in an at-sign") << QStringLiteral("/d/a.txt@") << true;
    QTest::newRow("separator in the name") << QStringLiteral("/d/a:@:b.txt") << false;
    QTest::newRow("separator in a folder") << QStringLiteral("/d:@:e/a.txt") << false;
    QTest::newRow("ends in \":@\"") << QStringLiteral("/d/a.txt:@") << false;
    QTest::newRow("ends in \":@:\"") << QStringLiteral("/d/a.txt:@:") << false;
}

void tst_LineFormat::holdsKey()
{
    QFETCH(QString, path);
    QFETCH(bool, held);
    QCOMPARE(LineFormat::holdsKey(path), held);
    // What the rule is for: an entry of a held path gives the path back.
    const QString entry = path + LineFormat::kSeparator + LineFormat::Line_No_10(1) + LineFormat::kSeparator + "x";
    QCOMPARE(LineFormat::Entry_Key(entry) == path, held);
}

void tst_LineFormat::cp932Vectors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("hiragana a") << QStringLiteral("あ") << QByteArray("\x82\xA0");
    QTest::newRow("circled one") << QStringLiteral("①") << QByteArray("\x87\x40");
    QTest::newRow("fullwidth tilde") << QString(QChar(0xFF5E)) << QByteArray("\x81\x60");
    QTest::newRow("fullwidth backslash") << QString(QChar(0xFF3C)) << QByteArray("\x81\x5F");
    QTest::newRow("backslash") << QStringLiteral("\\") << QByteArray("\x5C");
    QTest::newRow("tilde") << QStringLiteral("~") << QByteArray("\x7E");
    QTest::newRow("half-width katakana") << QStringLiteral("ﾊﾞｲﾄ") << QByteArray("\xCA\xDE\xB2\xC4");
    QTest::newRow("small roman one prefers IBM code") << QString(QChar(0x2170)) << QByteArray("\xFA\x40");
    QTest::newRow("not sign prefers JIS code") << QString(QChar(0xFFE2)) << QByteArray("\x81\xCA");
}

void tst_LineFormat::cp932Vectors()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Cp932::encode(text), bytes);
    QCOMPARE(Cp932::decode(bytes), text);
    QCOMPARE(Cp932::encode(QStringLiteral("€")), QByteArray("?"));
}

void tst_LineFormat::cp932RawBytesRoundTrip()
{
    const QByteArray raw("A\x80\xA0\xFD\xFF\x81\x20Z\x82", 9);
    QCOMPARE(Cp932::encode(Cp932::decode(raw)), raw);
}

QTEST_GUILESS_MAIN(tst_LineFormat)
#include "tst_lineformat.moc"
