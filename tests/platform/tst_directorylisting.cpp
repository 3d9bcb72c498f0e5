#include "platform/DirectoryListing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

class tst_DirectoryListing : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listingOrder_data();
    void listingOrder();
};

void tst_DirectoryListing::listingOrder_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("letter case") << QStringList{QStringLiteral("b.txt"), QStringLiteral("A.TXT"), QStringLiteral("a.txt")};
    QTest::newRow("underscore sorts after upper-case letters")
        << QStringList{QStringLiteral("_z"), QStringLiteral("Z"), QStringLiteral("z1"), QStringLiteral("[x")};
    QTest::newRow("prefix first") << QStringList{QStringLiteral("a.txt2"), QStringLiteral("A.TXT"), QStringLiteral("a.tx")};
    QTest::newRow("beyond ASCII")
        << QStringList{QStringLiteral("\u00e4x"), QStringLiteral("\u00c4y"), QStringLiteral("\u03c3"),
                       QStringLiteral("\u03a3"), QStringLiteral("\u6f22\u5b57"), QStringLiteral("\uff41")};
}

void tst_DirectoryListing::listingOrder()
{
    QFETCH(QStringList, names);
    QTemporaryDir tmp;
    for (const QString &n : names) {
        QFile f(tmp.path() + QLatin1Char('/') + n);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QList<DirEntry> entries;
    QVERIFY(DirectoryListing::list(tmp.path(), entries));
    QStringList listed, upper;
    for (const DirEntry &e : std::as_const(entries)) {
        listed.append(e.name);
        upper.append(e.upperName);
    }
    QStringList expected = names;
    std::sort(expected.begin(), expected.end(), DirectoryListing::lessByListingOrder);
    QCOMPARE(listed, expected);
    QStringList expectedUpper;
    for (const QString &n : std::as_const(expected)) {
        QString u;
        for (QChar c : n)
            u.append(c.toUpper());
        expectedUpper.append(u);
    }
    QCOMPARE(upper, expectedUpper);
}

QTEST_GUILESS_MAIN(tst_DirectoryListing)
#include "tst_directorylisting.moc"
