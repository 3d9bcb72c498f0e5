#include "platform/TextEncoding.h"

#include <QTest>

class tst_TextEncoding : public QObject
{
    Q_OBJECT
private slots:
    void detect_data();
    void detect();
    void decodeUtf8_data();
    void decodeUtf8();
};

void tst_TextEncoding::detect_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    const QByteArray utf8 = QStringLiteral("エラー\n").toUtf8();
    const QByteArray ascii(100000, 'a');
    QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBFx") << int(TextEncoding::Utf8Bom);
    QTest::newRow("UTF-16LE mark") << QByteArray("\xFF\xFEx\0", 4) << int(TextEncoding::Utf16LE);
    QTest::newRow("UTF-16BE mark") << QByteArray("\xFE\xFF\0x", 4) << int(TextEncoding::Utf16BE);
    QTest::newRow("a lone UTF-8 mark") << QByteArray("\xEF\xBB\xBF") << int(TextEncoding::Utf8Bom);
    QTest::newRow("a lone UTF-16LE mark") << QByteArray("\xFF\xFE") << int(TextEncoding::Utf16LE);
    QTest::newRow("a mark decides whatever follows") << QByteArray("\xEF\xBB\xBF\x82\xA0")
                                                              << int(TextEncoding::Utf8Bom);
    QTest::newRow("valid UTF-8 with a multi-byte sequence") << utf8 << int(TextEncoding::Utf8);
    QTest::newRow("four-byte sequence") << QByteArray("\xF0\xA0\xAE\xB7") << int(TextEncoding::Utf8);
    QTest::newRow("invalid UTF-8 late in a file") << utf8 + ascii + "\x82\xA0" << int(TextEncoding::Cp932);
    QTest::newRow("cut sequence at the end") << utf8 + "\xE3\x82" << int(TextEncoding::Cp932);
    QTest::newRow("code page 932 text") << QByteArray("\x82\xA0\x82\xA2") << int(TextEncoding::Cp932);
    // 0xE3 0x81 0x82 is あ in UTF-8 and 譁 plus half-width katakana in code page 932.
    QTest::newRow("valid as both is UTF-8") << QByteArray("\xE3\x81\x82") << int(TextEncoding::Utf8);
    QTest::newRow("overlong form") << QByteArray("\xC0\xAF") << int(TextEncoding::Cp932);
    QTest::newRow("UTF-8 surrogate") << QByteArray("\xED\xA0\x80") << int(TextEncoding::Cp932);
    QTest::newRow("pure ASCII is code page 932") << ascii << int(TextEncoding::Cp932);
    QTest::newRow("empty file") << QByteArray() << int(TextEncoding::Cp932);
}

void tst_TextEncoding::detect()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QCOMPARE(int(TextEncodings::detect(bytes)), encoding);
    // Fed in pieces of every size the answer is the same.
    for (qsizetype step : {1, 3, 7}) {
        Utf8Check check;
        for (qsizetype n = step; n < bytes.size() + step; n += step)
            check.feed(QByteArrayView(bytes).first(std::min(n, bytes.size())), n >= bytes.size());
        if (bytes.isEmpty())
            check.feed(bytes, true);
        if (!TextEncodings::markSize(TextEncoding(encoding)))
            QCOMPARE(check.isUtf8(), encoding == int(TextEncoding::Utf8));
    }
}

void tst_TextEncoding::decodeUtf8_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("beyond U+FFFF is a surrogate pair") << QByteArray("\xF0\x9F\x98\x80!") << QStringLiteral("😀!");
    QTest::newRow("invalid bytes kept as raw-byte characters")
        << QByteArray("a\x82\xE3\x81") << QStringLiteral("a\uF782\uF7E3\uF781");
}

void tst_TextEncoding::decodeUtf8()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QString out(bytes.size(), Qt::Uninitialized);
    out.truncate(TextEncodings::decodeUtf8To(bytes, reinterpret_cast<char16_t *>(out.data())));
    QCOMPARE(out, text);
}

QTEST_GUILESS_MAIN(tst_TextEncoding)
#include "tst_textencoding.moc"
