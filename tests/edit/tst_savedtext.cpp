#include "edit/FileSave.h"
#include "edit/SavedText.h"

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
    QTest::newRow("mixed breaks: edited line gets CR LF, others keep theirs")
        << true << QByteArray("a\nb\rc\r\n") << numbered(3) << QStringList{"a", "X", "c"}
        << QByteArray("a\nX\r\nc\r\n");
    QTest::newRow("inserted line written in place")
        << true << QByteArray("a\nb\n") << QStringList{"000001.000", "000001.500", "000002.000"}
        << QStringList{"a", "new", "b"} << QByteArray("a\nnew\nb\n");
    QTest::newRow("deleted line: the lines after it keep their bytes")
        << true << QByteArray("a\nb\n\xED\x40\n") << QStringList{"000001.000", "000003.000"}
        << QStringList{"a", nec} << QByteArray("a\n\xED\x40\n");
    QTest::newRow("empty file is one empty line") << true << QByteArray("") << numbered(1) << QStringList{""}
                                                 << QByteArray("\r\n");
    QTest::newRow("unchanged NEC-selected code kept, edited line takes the preferred code")
        << true << QByteArray("\xED\x40\n\xED\x40\n") << numbered(2) << QStringList{nec, nec + "!"}
        << QByteArray("\xED\x40\n\xFA\x5C!\n");
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
