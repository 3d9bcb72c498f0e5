#include "settings/SearchPath.h"
#include "DialogControls.h"
#include "settings/widgets/DRIVE_SETTEI.h"
#include "settings/widgets/QUAV_FOLDER_SENTAKU.h"

#include "DialogFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

class tst_PathDialogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void browseAndRecord();
    void cancelAfterBrowsing();
    void vanishedSubfolder();
    void shownFolderVanished();
    void historyLines();
    void chooseWithoutSelection();
    void chooseInvalid_data();
    void chooseInvalid();
    void chooseFolder();

private:
    static QStringList items(const QListWidget *l)
    {
        QStringList out;
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
        return out;
    }
    static void select(QListWidget *l, const QString &text)
    {
        const auto found = l->findItems(text, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        l->clearSelection();
        found.first()->setSelected(true);
    }
};

void tst_PathDialogs::browseAndRecord()
{
    DialogFixture f;
    QDir root(f.dir.path());
    QVERIFY(root.mkpath(QStringLiteral("Docs/Inner")));
    QVERIFY(root.mkdir(QStringLiteral(".cache")));
    QDir::setCurrent(root.path());
    for (int i = 0; i < 10; ++i)
        f.wb.settings.PATH[size_t(i)] = QStringLiteral("/old/%1").arg(i);
    QPointer<DRIVE_SETTEI> d = new DRIVE_SETTEI(f.wb, {QStringLiteral("/")});
    d->openFrom(&f.main);
    QCOMPARE(control<QLabel>(d, "Label1")->text(), QDir::currentPath());
    QCOMPARE(items(control<QListWidget>(d, "List1")), (QStringList{"..", "Docs"}));
    QVERIFY(items(control<QListWidget>(d, "List2")).contains(QStringLiteral(".cache")));
    QCOMPARE(control<QComboBox>(d, "Drive1")->currentText(), QStringLiteral("/"));

    select(control<QListWidget>(d, "List1"), QStringLiteral("Docs"));
    d->List1_DblClick();
    const QString docs = root.filePath(QStringLiteral("Docs"));
    QCOMPARE(QDir::currentPath(), docs);
    QCOMPARE(control<QLabel>(d, "Label1")->text(), docs);
    QCOMPARE(items(control<QListWidget>(d, "List1")), (QStringList{"..", "Inner"}));

    QTest::mouseClick(control<QCheckBox>(d, "Check1"), Qt::LeftButton, {}, QPoint(6, control<QCheckBox>(d, "Check1")->height() / 2));
    QVERIFY(control<QCheckBox>(d, "Check1")->isChecked());
    QTest::mouseClick(control<QPushButton>(d, "Command1"), Qt::LeftButton);
    f.settle();
    QVERIFY(d.isNull());
    QVERIFY(f.main.isEnabled());
    QCOMPARE(f.wb.work.Search_Path, docs);
    QCOMPARE(f.wb.status.text(StatusPanels::kPath), docs);
    QCOMPARE(f.wb.settings.PATH[0], docs);
    QCOMPARE(f.wb.settings.PATH[9], QStringLiteral("/old/8"));
    QCOMPARE(f.wb.settings.DEFAULT_PATH, 0);
    QCOMPARE(f.reread().string(QStringLiteral("SEARCH_PATH"), QStringLiteral("PATH0")).value_or(QString()), docs);
}

void tst_PathDialogs::cancelAfterBrowsing()
{
    DialogFixture f;
    QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("Sub")));
    QDir::setCurrent(f.dir.path());
    f.wb.work.Search_Path = QStringLiteral("/before");
    f.wb.status.setText(StatusPanels::kPath, QStringLiteral("/before"));
    QPointer<DRIVE_SETTEI> d = new DRIVE_SETTEI(f.wb, {QStringLiteral("/")});
    d->openFrom(&f.main);
    select(control<QListWidget>(d, "List1"), QStringLiteral("Sub"));
    d->List1_DblClick();
    QTest::keyClick(d, Qt::Key_Escape);
    f.settle();
    QVERIFY(d.isNull());
    QVERIFY(f.main.isEnabled());
    QCOMPARE(f.wb.work.Search_Path, QStringLiteral("/before"));
    QCOMPARE(f.wb.status.text(StatusPanels::kPath), QStringLiteral("/before"));
}

void tst_PathDialogs::vanishedSubfolder()
{
    DialogFixture f;
    QDir root(f.dir.path());
    QVERIFY(root.mkdir(QStringLiteral("Gone")));
    QVERIFY(root.mkdir(QStringLiteral("Kept")));
    QDir::setCurrent(root.path());
    auto *d = new DRIVE_SETTEI(f.wb, {QStringLiteral("/")});
    d->openFrom(&f.main);
    QVERIFY(root.rmdir(QStringLiteral("Gone")));
    select(control<QListWidget>(d, "List1"), QStringLiteral("Gone"));
    d->List1_DblClick();
    QCOMPARE(f.port.shown.size(), 1);
    QVERIFY(f.port.shown[0].text.startsWith(QStringLiteral("フォルダー「")));
    QVERIFY(f.port.shown[0].text.contains(QStringLiteral("見つかりません")));
    QCOMPARE(f.port.shown[0].caption, QStringLiteral("サーチパス選択"));
    QCOMPARE(QDir::currentPath(), root.path());
    QCOMPARE(control<QLabel>(d, "Label1")->text(), root.path());
    QCOMPARE(items(control<QListWidget>(d, "List1")), (QStringList{"..", "Kept"}));
    QVERIFY(control<QPushButton>(d, "Command1")->isEnabled());
}

void tst_PathDialogs::shownFolderVanished()
{
    DialogFixture f;
    QDir root(f.dir.path());
    QVERIFY(root.mkdir(QStringLiteral("Here")));
    QDir::setCurrent(root.filePath(QStringLiteral("Here")));
    f.wb.work.Search_Path = QStringLiteral("/before");
    QPointer<DRIVE_SETTEI> d = new DRIVE_SETTEI(f.wb, {QStringLiteral("/")});
    d->openFrom(&f.main);
    QVERIFY(root.rmdir(QStringLiteral("Here")));
    control<QPushButton>(d, "Command1")->click();
    QCOMPARE(f.port.shown.size(), 1);
    QVERIFY(f.port.shown[0].text.startsWith(QStringLiteral("表示中のフォルダーが見つかりません。")));
    QVERIFY(!d.isNull() && d->isVisible());
    QVERIFY(control<QPushButton>(d, "Command1")->isEnabled());
    QCOMPARE(f.wb.work.Search_Path, QStringLiteral("/before"));
    // ".." still leads out of it.
    select(control<QListWidget>(d, "List1"), QStringLiteral(".."));
    d->List1_DblClick();
    QCOMPARE(QDir::currentPath(), root.path());
}

void tst_PathDialogs::historyLines()
{
    DialogFixture f;
    f.wb.settings.PATH = {QStringLiteral("/a"), QStringLiteral("/b")};
    f.wb.settings.DEFAULT_PATH = 1;
    auto *d = new QUAV_FOLDER_SENTAKU(f.wb);
    d->openFrom(&f.main);
    const QStringList lines = items(control<QListWidget>(d, "List1"));
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines[0], QStringLiteral("  /a"));
    QCOMPARE(lines[1], QStringLiteral("* /b"));
    QCOMPARE(lines[9], QStringLiteral("  "));
    QVERIFY(control<QListWidget>(d, "List1")->selectedItems().isEmpty());
}

void tst_PathDialogs::chooseWithoutSelection()
{
    DialogFixture f;
    QPointer<QUAV_FOLDER_SENTAKU> d = new QUAV_FOLDER_SENTAKU(f.wb);
    d->openFrom(&f.main);
    QTest::mouseClick(control<QPushButton>(d, "Command1"), Qt::LeftButton);
    QCOMPARE(f.port.texts(), QStringList{QStringLiteral("フォルダーが選択されていません。")});
    QCOMPARE(f.port.shown[0].caption, QStringLiteral("フォルダー履歴からパスを選択"));
    QCOMPARE(f.port.shown[0].icon, MessagePort::Icon::Question);
    QVERIFY(!d.isNull() && d->isVisible());
}

void tst_PathDialogs::chooseInvalid_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("empty line") << 2;
    QTest::newRow("removed folder") << 1;
}

void tst_PathDialogs::chooseInvalid()
{
    QFETCH(int, row);
    DialogFixture f;
    QDir::setCurrent(f.dir.path());
    const QString before = QDir::currentPath();
    f.wb.settings.PATH = {QStringLiteral("/"), f.dir.filePath(QStringLiteral("removed"))};
    f.wb.settings.DEFAULT_PATH = 0;
    f.wb.work.Search_Path = QStringLiteral("/before");
    QPointer<QUAV_FOLDER_SENTAKU> d = new QUAV_FOLDER_SENTAKU(f.wb);
    d->openFrom(&f.main);
    control<QListWidget>(d, "List1")->item(row)->setSelected(true);
    QTest::mouseClick(control<QPushButton>(d, "Command1"), Qt::LeftButton);
    QCOMPARE(f.port.texts(), QStringList{QStringLiteral("フォルダーが無効です。（存在を確認して下さい。）")});
    QCOMPARE(f.port.shown[0].icon, MessagePort::Icon::Critical);
    QVERIFY(!d.isNull() && d->isVisible() && control<QPushButton>(d, "Command1")->isEnabled());
    QCOMPARE(QDir::currentPath(), before);
    QCOMPARE(f.wb.settings.DEFAULT_PATH, 0);
    QCOMPARE(f.wb.work.Search_Path, QStringLiteral("/before"));
}

void tst_PathDialogs::chooseFolder()
{
    DialogFixture f;
    const QString folder = f.dir.filePath(QStringLiteral("Chosen"));
    QVERIFY(QDir().mkpath(folder));
    f.wb.settings.PATH = {QStringLiteral("/"), folder, QStringLiteral("/tmp")};
    f.wb.settings.DEFAULT_PATH = 0;
    QPointer<QUAV_FOLDER_SENTAKU> d = new QUAV_FOLDER_SENTAKU(f.wb);
    d->openFrom(&f.main);
    QVERIFY(!f.main.isEnabled());
    control<QListWidget>(d, "List1")->item(1)->setSelected(true);
    QTest::mouseClick(control<QPushButton>(d, "Command1"), Qt::LeftButton);
    f.settle();
    QVERIFY(d.isNull());
    QVERIFY(f.main.isEnabled());
    QCOMPARE(QDir::currentPath(), folder);
    QCOMPARE(f.wb.work.Search_Path, folder);
    QCOMPARE(f.wb.status.text(StatusPanels::kPath), folder);
    QCOMPARE(f.wb.settings.DEFAULT_PATH, 1);
    // Choosing never reorders the history.
    QCOMPARE(f.wb.settings.PATH[0], QStringLiteral("/"));
    QCOMPARE(f.wb.settings.PATH[1], folder);
    QCOMPARE(f.reread().number(QStringLiteral("SEARCH_PATH"), QStringLiteral("DEFAULT_PATH")).value_or(-1), 1);
}

QTEST_MAIN(tst_PathDialogs)
#include "tst_pathdialogs.moc"
