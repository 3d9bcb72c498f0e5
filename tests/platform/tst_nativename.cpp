#include "platform/Cp932.h"
#include "platform/NativeName.h"

#include <QTest>

class tst_NativeName : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void decode_data();
    void decode();
    void prefixBytes_data();
    void prefixBytes();
};

void tst_NativeName::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ASCII") << QByteArray("/d/a.txt") << QStringLiteral("/d/a.txt");
    QTest::newRow("UTF-8 kanji") << QByteArray("/d/\xe5\xa0\xb1\xe5\x91\x8a.txt") << QStringLiteral("/d/報告.txt");
    QTest::newRow("Shift-JIS name") << QByteArray("/d/\x95\xf1\x8d\x90.txt") << QStringLiteral("/d/報告.txt");
    QTest::newRow("Shift-JIS folder between UTF-8 parts")
        << QByteArray("/\xe6\x97\xa5/\x83\x65\x83\x58\x83\x67/\xe6\x97\xa5.txt") << QStringLiteral("/日/テスト/日.txt");
    QTest::newRow("half-width katakana") << QByteArray("/\xb1\xb2") << QStringLiteral("/ｱｲ");
    QTest::newRow("overlong UTF-8 is not UTF-8") << QByteArray("/\xc0\xaf") << QStringLiteral("/ﾀｯ");
    QTest::newRow("encoded surrogate is not UTF-8")
        << QByteArray("/\xed\xa0\x80") << QStringLiteral("/") + Cp932::decode("\xed\xa0\x80");
    QTest::newRow("stray byte") << QByteArray("/a\xffz") << QStringLiteral("/a\uf7ffz");
}

void tst_NativeName::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QCOMPARE(NativeName::decodePath(bytes), shown);
    // The whole path is the prefix of itself, in the bytes it came from.
    QCOMPARE(NativeName::prefixBytes(bytes, shown.size()), bytes);
}

void tst_NativeName::prefixBytes_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<int>("chars");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray sjis("/d/\x95\xf1\x8d\x90.txt"); // /d/報告.txt
    QTest::newRow("nothing") << sjis << 0 << QByteArray();
    QTest::newRow("up to the slash") << sjis << 3 << QByteArray("/d/");
    QTest::newRow("one double-byte character") << sjis << 4 << QByteArray("/d/\x95\xf1");
    QTest::newRow("both characters") << sjis << 5 << QByteArray("/d/\x95\xf1\x8d\x90");
    QTest::newRow("into the extension") << sjis << 7 << QByteArray("/d/\x95\xf1\x8d\x90.t");
    QTest::newRow("more than there is") << sjis << 40 << sjis;
    const QByteArray utf8("/\xe5\xa0\xb1/\xe5\x91\x8a"); // /報/告
    QTest::newRow("UTF-8 part whole") << utf8 << 2 << QByteArray("/\xe5\xa0\xb1");
    QTest::newRow("UTF-8 then a slash") << utf8 << 3 << QByteArray("/\xe5\xa0\xb1/");
}

void tst_NativeName::prefixBytes()
{
    QFETCH(QByteArray, path);
    QFETCH(int, chars);
    QFETCH(QByteArray, expected);
    QCOMPARE(NativeName::prefixBytes(path, chars), expected);
}

QTEST_GUILESS_MAIN(tst_NativeName)
#include "tst_nativename.moc"
