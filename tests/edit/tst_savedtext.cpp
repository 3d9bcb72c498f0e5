#include "edit/FileSave.h"
#include "edit/KeptBytes.h"
#include "edit/SavedText.h"
#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"

#include <QTest>

// Stored lines over two parallel lists, which must outlive them.
static QList<StoredLine> stored(const QStringList &numbers, const QStringList &texts)
{
    QList<StoredLine> lines;
    for (qsizetype i = 0; i < numbers.size(); ++i)
        lines.append({numbers.at(i), texts.at(i)});
    return lines;
}

static QStringList numbered(int count)
{
    QStringList n;
    for (int i = 1; i <= count; ++i)
        n.append(QStringLiteral("%1.000").arg(i, 6, 10, QLatin1Char('0')));
    return n;
}

class tst_SavedText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void compose_data();
    void compose();
    void keptBytes_data();
    void keptBytes();
    void readLineNumber_data();
    void readLineNumber();
    void unmapped_data();
    void unmapped();
};

void tst_SavedText::compose_data()
{
    QTest::addColumn<bool>("hasOriginal");
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QByteArray>("expected");
    const QString nec = QStringLiteral("\u7E8A"); // ED 40 NEC-selected, FA 5C IBM
    QTest::newRow("edited line in a CR LF file") << true << QByteArray("a\r\nb\r\nc\r\n") << numbered(3)
                                                 << QStringList{"a", "X", "c"} << QByteArray("a\r\nX\r\nc\r\n");
    QTest::newRow("edited line in an LF file keeps LF")
        << true << QByteArray("a\nb\n") << numbered(2) << QStringList{"a", "X"} << QByteArray("a\nX\n");
    QTest::newRow("edited line in a CR file keeps CR")
        << true << QByteArray("a\rb\r") << numbered(2) << QStringList{"a", "X"} << QByteArray("a\rX\r");
    QTest::newRow("mixed breaks: an edited line keeps its own")
        << true << QByteArray("a\nb\rc\r\n") << numbered(3) << QStringList{"a", "X", "c"}
        << QByteArray("a\nX\rc\r\n");
    QTest::newRow("no final break: an edited last line stays without")
        << true << QByteArray("a\r\nb") << numbered(2) << QStringList{"a", "X"} << QByteArray("a\r\nX");
    QTest::newRow("a line inserted after a last line without a break")
        << true << QByteArray("a\nb") << QStringList{"000001.000", "000002.000", "000002.500"}
        << QStringList{"a", "b", "c"} << QByteArray("a\nb\nc\n");
    QTest::newRow("inserted line written in place")
        << true << QByteArray("a\nb\n") << QStringList{"000001.000", "000001.500", "000002.000"}
        << QStringList{"a", "new", "b"} << QByteArray("a\nnew\nb\n");
    QTest::newRow("deleted line: the lines after it keep their bytes")
        << true << QByteArray("a\nb\n\xED\x40\n") << QStringList{"000001.000", "000003.000"}
        << QStringList{"a", nec} << QByteArray("a\n\xED\x40\n");
    QTest::newRow("empty file is one empty line, written as none") << true << QByteArray("") << numbered(1)
                                                                   << QStringList{""} << QByteArray("");
    QTest::newRow("NEC-selected code kept, in an edited line too")
        << true << QByteArray("\xED\x40\n\xED\x40\n") << numbered(2) << QStringList{nec, nec + "!"}
        << QByteArray("\xED\x40\n\xED\x40!\n");
    QTest::newRow("a line under another number is encoded")
        << true << QByteArray("\xED\x40\nx\n") << numbered(2) << QStringList{"x", nec}
        << QByteArray("x\n\xFA\x5C\n");
    QTest::newRow("invalid bytes kept; a raw-byte character writes its byte")
        << true << QByteArray("a\x80" "b\nc\n") << numbered(2) << QStringList{QStringLiteral("a\uF780b"), QStringLiteral("\uF7FF")}
        << QByteArray("a\x80" "b\n\xFF\n");
    QTest::newRow("line number past the file's end is encoded")
        << true << QByteArray("a\n") << numbered(2) << QStringList{"a", "b"} << QByteArray("a\nb\n");
    QTest::newRow("new file: CR LF everywhere")
        << false << QByteArray() << numbered(2) << QStringList{"\u3042", nec} << QByteArray("\x82\xA0\r\n\xFA\x5C\r\n");
}

void tst_SavedText::compose()
{
    QFETCH(bool, hasOriginal);
    QFETCH(QByteArray, original);
    QFETCH(QStringList, numbers);
    QFETCH(QStringList, texts);
    QFETCH(QByteArray, expected);
    const auto from = hasOriginal ? std::optional<QByteArrayView>(original) : std::nullopt;
    QCOMPARE(SavedText::compose(stored(numbers, texts), from), expected);
}

void tst_SavedText::keptBytes_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    // ∵ is 87 9A and 81 E6; ⅰ (EE EF) is FA 40 too; fresh text takes the second.
    QTest::newRow("87 9A kept beside a replacement")
        << QByteArray("\x87\x9A key") << QStringLiteral("∵ door") << QByteArray("\x87\x9A door");
    QTest::newRow("EE EF kept") << QByteArray("key\xEE\xEF") << QStringLiteral("k\u2170") << QByteArray("k\xEE\xEF");
    QTest::newRow("invalid bytes kept")
        << QByteArray("\x80" "key\xFD") << QStringLiteral("\uF780x\uF7FD") << QByteArray("\x80x\xFD");
    QTest::newRow("two replacements, inserted text fresh")
        << QByteArray("key\x87\x9A" "key\x87\x9A" "key") << QStringLiteral("\u2170∵\u2170∵\u2170")
        << QByteArray("\xFA\x40\x87\x9A\xFA\x40\x87\x9A\xFA\x40");
    QTest::newRow("replacement at both ends")
        << QByteArray("ab\x87\x9A\xEE\xEF" "ab") << QStringLiteral("X∵\u2170Y") << QByteArray("X\x87\x9A\xEE\xEFY");
    QTest::newRow("full change") << QByteArray("\x87\x9A") << QStringLiteral("\u2170") << QByteArray("\xFA\x40");
    // Past the alignment's budget (no bytes given: any that read as the
    // text), in a fraction of a second.
    QTest::newRow("a long line changed everywhere")
        << QByteArray("a\x87\x9A").repeated(16000) << QStringLiteral("b∵").repeated(16000) << QByteArray();
}

void tst_SavedText::keptBytes()
{
    QFETCH(QByteArray, original);
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QByteArray out("<");
    KeptBytes(Cp932Codec::instance()).appendLine(original, text, out);
    QCOMPARE(Cp932::decode(out.sliced(1)), text);
    if (!expected.isEmpty())
        QCOMPARE(out, "<" + expected);
}

void tst_SavedText::readLineNumber_data()
{
    QTest::addColumn<QString>("lineNo");
    QTest::addColumn<int>("n");
    QTest::newRow("line read from disk") << "000012.000" << 12;
    QTest::newRow("inserted line") << "000012.500" << 0;
    QTest::newRow("inserted, last fraction digit") << "000012.001" << 0;
    QTest::newRow("no fraction") << "000012" << 0;
    QTest::newRow("not digits") << "00001a.000" << 0;
}

void tst_SavedText::readLineNumber()
{
    QFETCH(QString, lineNo);
    QFETCH(int, n);
    QCOMPARE(SavedText::readLineNumber(lineNo), n);
}

void tst_SavedText::unmapped_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("unmapped");
    QTest::newRow("Shift-JIS only") << QStringList{QStringLiteral("あ①～"), QStringLiteral("ﾊﾞｲﾄ\uF780")} << QString();
    QTest::newRow("named once over several lines")
        << QStringList{QStringLiteral("a😀"), QStringLiteral("😀é")} << QStringLiteral("😀é");
    QTest::newRow("lone surrogate") << QStringList{QStringLiteral("a") + QChar(0xD800)} << QString(QChar(0xD800));
}

void tst_SavedText::unmapped()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, unmapped);
    QCOMPARE(FileSave::unmappedCharacters(stored(numbered(int(texts.size())), texts)), unmapped);
}

QTEST_GUILESS_MAIN(tst_SavedText)
#include "tst_savedtext.moc"
