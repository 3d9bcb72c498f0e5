#include "edit/FileSave.h"
#include "edit/KeptBytes.h"
#include "edit/SavedText.h"
#include "platform/Cp932.h"
#include "platform/TextCodec.h"

#include <QTest>

// Stored lines over two parallel lists, which must outlive them.
static QList<StoredLine> stored(const QStringList &numbers, const QStringList &texts)
{
    QList<StoredLine> lines;
    for (qsizetype i = 0; i < numbers.size(); ++i)
        lines.append({numbers.at(i), texts.at(i)});
    return lines;
}

// text in UTF-16 of that byte order.
static QByteArray utf16(QStringView text, bool bigEndian)
{
    QByteArray out;
    TextCodec::forEncoding(bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE).encodeAppend(text, out);
    return out;
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
    void splice_data();
    void splice();
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
    QTest::addColumn<int>("encoding");
    const int cp932 = int(TextEncoding::Cp932);
    const QString nec = QStringLiteral("\u7E8A"); // ED 40 NEC-selected, FA 5C IBM
    QTest::newRow("edited line in a CR LF file") << true << QByteArray("a\r\nb\r\nc\r\n") << numbered(3)
                                                 << QStringList{"a", "X", "c"} << QByteArray("a\r\nX\r\nc\r\n") << cp932;
    QTest::newRow("edited line in an LF file keeps LF")
        << true << QByteArray("a\nb\n") << numbered(2) << QStringList{"a", "X"} << QByteArray("a\nX\n") << cp932;
    QTest::newRow("edited line in a CR file keeps CR")
        << true << QByteArray("a\rb\r") << numbered(2) << QStringList{"a", "X"} << QByteArray("a\rX\r") << cp932;
    QTest::newRow("mixed breaks: an edited line keeps its own")
        << true << QByteArray("a\nb\rc\r\n") << numbered(3) << QStringList{"a", "X", "c"}
        << QByteArray("a\nX\rc\r\n") << cp932;
    QTest::newRow("no final break: an edited last line stays without")
        << true << QByteArray("a\r\nb") << numbered(2) << QStringList{"a", "X"} << QByteArray("a\r\nX") << cp932;
    QTest::newRow("a line inserted after a last line without a break")
        << true << QByteArray("a\nb") << QStringList{"000001.000", "000002.000", "000002.500"}
        << QStringList{"a", "b", "c"} << QByteArray("a\nb\nc\n") << cp932;
    QTest::newRow("inserted line written in place")
        << true << QByteArray("a\nb\n") << QStringList{"000001.000", "000001.500", "000002.000"}
        << QStringList{"a", "new", "b"} << QByteArray("a\nnew\nb\n") << cp932;
    QTest::newRow("deleted line: the lines after it keep their bytes")
        << true << QByteArray("a\nb\n\xED\x40\n") << QStringList{"000001.000", "000003.000"}
        << QStringList{"a", nec} << QByteArray("a\n\xED\x40\n") << cp932;
    QTest::newRow("empty file is one empty line, written as none") << true << QByteArray("") << numbered(1)
                                                                   << QStringList{""} << QByteArray("") << cp932;
    QTest::newRow("NEC-selected code kept, in an edited line too")
        << true << QByteArray("\xED\x40\n\xED\x40\n") << numbered(2) << QStringList{nec, nec + "!"}
        << QByteArray("\xED\x40\n\xED\x40!\n") << cp932;
    QTest::newRow("a line under another number is encoded")
        << true << QByteArray("\xED\x40\nx\n") << numbered(2) << QStringList{"x", nec}
        << QByteArray("x\n\xFA\x5C\n") << cp932;
    QTest::newRow("invalid bytes kept; a raw-byte character writes its byte")
        << true << QByteArray("a\x80" "b\nc\n") << numbered(2) << QStringList{QStringLiteral("a\uF780b"), QStringLiteral("\uF7FF")}
        << QByteArray("a\x80" "b\n\xFF\n") << cp932;
    QTest::newRow("line number past the file's end is encoded")
        << true << QByteArray("a\n") << numbered(2) << QStringList{"a", "b"} << QByteArray("a\nb\n") << cp932;
    QTest::newRow("new file: CR LF everywhere")
        << false << QByteArray() << numbered(2) << QStringList{"\u3042", nec} << QByteArray("\x82\xA0\r\n\xFA\x5C\r\n") << cp932;
    const QByteArray bom("\xEF\xBB\xBF");
    QTest::newRow("UTF-8 with mark: the mark and LF kept, a new character encoded")
        << true << bom + QByteArray("あ\nい\n") << numbered(2) << QStringList{"あ", "😀"} << bom + QByteArray("あ\n😀\n")
        << int(TextEncoding::Utf8Bom);
    QTest::newRow("UTF-16LE: an inserted line in the file's CR LF")
        << true << utf16(u"\uFEFFa\r\nb\r\n", false) << QStringList{"000001.000", "000001.500", "000002.000"}
        << QStringList{"a", "𠮷", "B"} << utf16(u"\uFEFFa\r\n𠮷\r\nB\r\n", false) << int(TextEncoding::Utf16LE);
    QTest::newRow("UTF-16BE: LF kept, an odd last byte kept")
        << true << utf16(u"\uFEFFa\nb", true) + "\x01" << numbered(2) << QStringList{"X", QStringLiteral("b\uF701")}
        << utf16(u"\uFEFFX\nb", true) + "\x01" << int(TextEncoding::Utf16BE);
    QTest::newRow("new UTF-8 file with mark: the mark, CR LF")
        << false << QByteArray() << numbered(1) << QStringList{"한"} << bom + QByteArray("한\r\n") << int(TextEncoding::Utf8Bom);
    QTest::newRow("bytes without the file's mark are not its bytes")
        << true << QByteArray("a\nb\n") << numbered(2) << QStringList{"a", "b"} << bom + "a\r\nb\r\n"
        << int(TextEncoding::Utf8Bom);
}

void tst_SavedText::compose()
{
    QFETCH(bool, hasOriginal);
    QFETCH(QByteArray, original);
    QFETCH(QStringList, numbers);
    QFETCH(QStringList, texts);
    QFETCH(QByteArray, expected);
    const auto from = hasOriginal ? std::optional<QByteArrayView>(original) : std::nullopt;
    QFETCH(int, encoding);
    QCOMPARE(SavedText::compose(stored(numbers, texts), from, TextEncoding(encoding)), expected);
}

void tst_SavedText::splice_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QList<qint64>>("places"); // offset, length of each change
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QByteArray>("expected"); // empty: refused
    QTest::addColumn<int>("encoding");
    const int cp932 = int(TextEncoding::Cp932);
    const QByteArray mixed("\x80\xFF\r\nkey\x87\x9A\rmid\nkey");
    QTest::newRow("changed lines spliced; other lines, breaks and invalid bytes as read")
        << mixed << QList<qint64>{4, 5, 14, 3} << QStringList{"door∵", "door"}
        << QByteArray("\x80\xFF\r\ndoor\x87\x9A\rmid\ndoor") << cp932;
    QTest::newRow("UTF-16BE: mark kept, an odd last byte kept in a changed last line")
        << "\xFE\xFF" + utf16(u"a\r\nkey", true) + "A" << QList<qint64>{8, 7} << QStringList{"k2y\uF741"}
        << "\xFE\xFF" + utf16(u"a\r\nk2y", true) + "A" << int(TextEncoding::Utf16BE);
    QTest::newRow("a line past the end: not the file it was found in")
        << mixed << QList<qint64>{14, 4} << QStringList{"door"} << QByteArray() << cp932;
    QTest::newRow("lines out of order") << mixed << QList<qint64>{14, 3, 4, 5} << QStringList{"door", "door"}
                                        << QByteArray() << cp932;
}

void tst_SavedText::splice()
{
    QFETCH(QByteArray, original);
    QFETCH(QList<qint64>, places);
    QFETCH(QStringList, texts);
    QFETCH(QByteArray, expected);
    QFETCH(int, encoding);
    QList<LineChange> changes;
    for (qsizetype i = 0; i < texts.size(); ++i)
        changes.append({places.at(2 * i), places.at(2 * i + 1), texts.at(i)});
    const std::optional<QByteArray> out = SavedText::splice(changes, original, TextEncoding(encoding));
    QCOMPARE(out.value_or(QByteArray()), expected);
}

void tst_SavedText::keptBytes_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("encoding");
    const int cp932 = int(TextEncoding::Cp932);
    // ∵ is 87 9A and 81 E6; ⅰ (EE EF) is FA 40 too; fresh text takes the second.
    QTest::newRow("87 9A kept beside a replacement")
        << QByteArray("\x87\x9A key") << QStringLiteral("∵ door") << QByteArray("\x87\x9A door") << cp932;
    QTest::newRow("EE EF kept") << QByteArray("key\xEE\xEF") << QStringLiteral("k\u2170") << QByteArray("k\xEE\xEF") << cp932;
    QTest::newRow("invalid bytes kept")
        << QByteArray("\x80" "key\xFD") << QStringLiteral("\uF780x\uF7FD") << QByteArray("\x80x\xFD") << cp932;
    QTest::newRow("two replacements, inserted text fresh")
        << QByteArray("key\x87\x9A" "key\x87\x9A" "key") << QStringLiteral("\u2170∵\u2170∵\u2170")
        << QByteArray("\xFA\x40\x87\x9A\xFA\x40\x87\x9A\xFA\x40") << cp932;
    QTest::newRow("replacement at both ends")
        << QByteArray("ab\x87\x9A\xEE\xEF" "ab") << QStringLiteral("X∵\u2170Y") << QByteArray("X\x87\x9A\xEE\xEFY") << cp932;
    QTest::newRow("full change") << QByteArray("\x87\x9A") << QStringLiteral("\u2170") << QByteArray("\xFA\x40") << cp932;
    // Past the alignment's budget (no bytes given: any that read as the
    // text), in a fraction of a second.
    QTest::newRow("a long line changed everywhere")
        << QByteArray("a\x87\x9A").repeated(16000) << QStringLiteral("b∵").repeated(16000) << QByteArray() << cp932;
    QTest::newRow("UTF-8: an invalid byte and 𠮷 kept beside a change")
        << QByteArray("a\x80") + QByteArray("𠮷x") << QStringLiteral("b\uF780𠮷y") << QByteArray("b\x80") + QByteArray("𠮷y")
        << int(TextEncoding::Utf8);
    QTest::newRow("UTF-16LE: a pair kept, a change encoded")
        << utf16(u"😀a", false) << QStringLiteral("😀b") << utf16(u"😀b", false) << int(TextEncoding::Utf16LE);
    QTest::newRow("UTF-8: half a pair changed writes the whole character")
        << QByteArray("x😀") << QStringLiteral("x😁") << QByteArray("x😁") << int(TextEncoding::Utf8);
}

void tst_SavedText::keptBytes()
{
    QFETCH(QByteArray, original);
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QFETCH(int, encoding);
    const TextCodec &codec = TextCodec::forEncoding(TextEncoding(encoding));
    QByteArray out("<");
    KeptBytes(codec).appendLine(original, text, out);
    std::vector<char16_t> back;
    QCOMPARE(QStringView(back.data(), codec.decode(out.sliced(1), back)), text);
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
    QTest::addColumn<int>("encoding");
    const int cp932 = int(TextEncoding::Cp932);
    QTest::newRow("Shift-JIS only") << QStringList{QStringLiteral("あ①～"), QStringLiteral("ﾊﾞｲﾄ\uF780")} << QString() << cp932;
    QTest::newRow("named once over several lines")
        << QStringList{QStringLiteral("a😀"), QStringLiteral("😀é")} << QStringLiteral("😀é") << cp932;
    QTest::newRow("lone surrogate") << QStringList{QStringLiteral("a") + QChar(0xD800)} << QString(QChar(0xD800)) << cp932;
}

void tst_SavedText::unmapped()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, unmapped);
    QFETCH(int, encoding);
    QCOMPARE(FileSave::unmappedCharacters(stored(numbered(int(texts.size())), texts), TextEncoding(encoding)), unmapped);
}

QTEST_GUILESS_MAIN(tst_SavedText)
#include "tst_savedtext.moc"
