#include "platform/Sha256.h"

#include <QRandomGenerator>
#include <QTest>

// The digest on the SHA extensions against the portable one, at the sizes
// where the padding takes one block or two.
class tst_Sha256 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sameAsPortable_data();
    void sameAsPortable();
};

void tst_Sha256::sameAsPortable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray random(1 << 20, Qt::Uninitialized);
    QRandomGenerator(17).fillRange(reinterpret_cast<quint32 *>(random.data()), random.size() / 4);
    for (const int size : {0, 1, 3, 55, 56, 63, 64, 65, 119, 120, 127, 128, 1000, 1 << 20})
        QTest::addRow("%d bytes", size) << random.first(size);
    QTest::newRow("abc") << QByteArray("abc");
}

void tst_Sha256::sameAsPortable()
{
    if (!Sha256::accelerated())
        QSKIP("no SHA extensions here");
    QFETCH(QByteArray, bytes);
    QCOMPARE(Sha256::hash(bytes).toHex(), Sha256::portableHash(bytes).toHex());
    if (bytes == "abc")
        QCOMPARE(Sha256::hash(bytes).toHex(),
                 QByteArray("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
}

QTEST_GUILESS_MAIN(tst_Sha256)
#include "tst_sha256.moc"
