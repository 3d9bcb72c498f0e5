#include "search/BatchMessagePort.h"

#include <QTest>

#include <cstdio>

class tst_BatchMessagePort : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void written_data();
    void written();
};

void tst_BatchMessagePort::written_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("refusal") << QStringLiteral("検索")
                             << QStringLiteral("/d/A.TXT\r\nOver Flow しました。対象データが多すぎます。\r\n追加は中止しました。")
                             << QByteArray("検索: /d/A.TXT\nOver Flow しました。対象データが多すぎます。\n追加は中止しました。\n");
    QTest::newRow("CR LF at both ends") << QStringLiteral("c") << QStringLiteral("\r\nx\r\n")
                                        << QByteArray("c: \nx\n\n");
    QTest::newRow("lone CR and LF kept") << QStringLiteral("c") << QStringLiteral("a\rb\nc\r")
                                         << QByteArray("c: a\rb\nc\r\n");
    QTest::newRow("empty text") << QStringLiteral("c") << QString() << QByteArray("c: \n");
    QTest::newRow("half-width katakana and a character beyond the BMP")
        << QStringLiteral("ｹﾝｻｸ") << QStringLiteral("\U0001F600") << QByteArray("ｹﾝｻｸ: \xF0\x9F\x98\x80\n");
}

void tst_BatchMessagePort::written()
{
    QFETCH(QString, caption);
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    std::FILE *out = std::tmpfile();
    QVERIFY(out);
    {
        BatchMessagePort port(out);
        QCOMPARE(port.show(text, caption, MessagePort::Icon::Exclamation, MessagePort::Buttons::Ok),
                 MessagePort::Answer::Ok);
        // A second message follows the first in the same block.
        port.show(QStringLiteral("2"), QStringLiteral("c"), MessagePort::Icon::Information, MessagePort::Buttons::Ok);
        QCOMPARE(port.shown(), 2);
    }
    std::rewind(out);
    QByteArray written(4096, '\0');
    written.truncate(qsizetype(std::fread(written.data(), 1, size_t(written.size()), out)));
    std::fclose(out);
    QCOMPARE(written, expected + "c: 2\n");
}

QTEST_GUILESS_MAIN(tst_BatchMessagePort)
#include "tst_batchmessageport.moc"
