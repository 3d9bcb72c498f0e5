#include "settings/FolderChoiceForm.h"

#include "DialogFixture.h"

#include <QDir>
#include <QTest>

// The folder history's entries as the store may hold them: recorded by the
// program (absolute) or edited in by hand (relative, or with "." and "..").
class tst_FolderChoiceForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void takenFolder_data();
    void takenFolder();
};

void tst_FolderChoiceForm::takenFolder_data()
{
    QTest::addColumn<QString>("entry");    // relative to the temporary folder when not absolute
    QTest::addColumn<QString>("expected"); // below the temporary folder
    QTest::newRow("recorded") << QStringLiteral("@/Docs") << QStringLiteral("Docs");
    QTest::newRow("recorded with dots") << QStringLiteral("@/Docs/./Inner/..") << QStringLiteral("Docs");
    QTest::newRow("recorded with a trailing slash") << QStringLiteral("@/Docs/Inner/") << QStringLiteral("Docs/Inner");
    QTest::newRow("edited in, relative") << QStringLiteral("Docs/Inner") << QStringLiteral("Docs/Inner");
}

void tst_FolderChoiceForm::takenFolder()
{
    QFETCH(QString, entry);
    QFETCH(QString, expected);
    DialogFixture f;
    const QString root = QDir(f.dir.path()).canonicalPath();
    QVERIFY(QDir(root).mkpath(QStringLiteral("Docs/Inner")));
    QVERIFY(QDir::setCurrent(root));
    entry.replace(QLatin1Char('@'), root);
    f.wb.settings.PATH = {QStringLiteral("/"), entry};

    QCOMPARE(FolderChoiceForm::Check(*f.wb.messages, 1, entry), FolderChoiceForm::Refusal::None);
    const QString want = root + QLatin1Char('/') + expected;
    QCOMPARE(FolderChoiceForm::Take(f.wb, 1), want);
    QCOMPARE(f.wb.work.Search_Path, want);
    QCOMPARE(f.wb.status.text(StatusPanels::kPath), want);
    QCOMPARE(f.wb.settings.DEFAULT_PATH, 1);
    QCOMPARE(f.reread().number(QStringLiteral("SEARCH_PATH"), QStringLiteral("DEFAULT_PATH")).value_or(-1), 1);
    QVERIFY(f.port.shown.isEmpty());
}

QTEST_MAIN(tst_FolderChoiceForm)
#include "tst_folderchoiceform.moc"
