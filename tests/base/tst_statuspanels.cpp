#include "base/StatusPanels.h"

#include <QSignalSpy>
#include <QTest>

class tst_StatusPanels : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void changedOnlyOnChange_data();
    void changedOnlyOnChange();
};

void tst_StatusPanels::changedOnlyOnChange_data()
{
    QTest::addColumn<StatusPanel>("key");
    QTest::newRow("SEARCH") << StatusPanels::kSearch;
    QTest::newRow("PATH") << StatusPanels::kPath;
    QTest::newRow("HIT_SU") << StatusPanels::kHitSu;
}

void tst_StatusPanels::changedOnlyOnChange()
{
    QFETCH(StatusPanel, key);
    StatusPanels status;
    QSignalSpy spy(&status, &StatusPanels::changed);
    QCOMPARE(status.text(key), QString());
    status.setText(key, QString()); // a first text, even empty, is a change
    status.setText(key, QString());
    status.setText(key, QStringLiteral("a.txt"));
    status.setText(key, QStringLiteral("a.txt"));
    status.setText(key, QStringLiteral("b.txt"));
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.last().at(1).toString(), QStringLiteral("b.txt"));
    QCOMPARE(status.text(key), QStringLiteral("b.txt"));
    // One key's text leaves the others alone.
    if (key != StatusPanels::kPath)
        QCOMPARE(status.text(StatusPanels::kPath), QString());
    QCOMPARE(status.text(StatusPanels::kWord), QString());
    if (key == StatusPanels::kPath)
        QCOMPARE(status.text(StatusPanels::kPath), QStringLiteral("b.txt"));
}

QTEST_GUILESS_MAIN(tst_StatusPanels)
#include "tst_statuspanels.moc"
