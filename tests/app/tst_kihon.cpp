#include "base/Workbench.h"
#include "app/widgets/KIHON.h"
#include "display/widgets/RichTextView.h"
#include "platform/SettingsStore.h"

#include "WindowFixture.h"
#include "CommandBoardTestAccess.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

class tst_KIHON : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void captionToolbarAndPanels();
    void menus_data();
    void menus();
    void firstStartWritesFiveSections();
    void menuSetteiMirrorsToolbar();
    void toggles();
    void endWritesWindowConfig();
    void versionWindowProtocol();
    void lastFolderRemoved();
    void disabledCommandIgnored();

private:
    std::optional<WindowFixture> f;
};

void tst_KIHON::init()
{
    f.emplace();
}

void tst_KIHON::cleanup()
{
    f.reset();
}

void tst_KIHON::captionToolbarAndPanels()
{
    QVERIFY(f->start());
    QCOMPARE(f->window->windowTitle(), QStringLiteral("QUAV Multi-File Search Workbench"));
    const QList<QAction *> actions = f->window->toolbar()->actions();
    QCOMPARE(actions.size(), 21);
    const QStringList tooltips = {
        QStringLiteral("ｻｰﾁﾊﾟｽ選択"), QStringLiteral("フォルダー履歴からパスを選択"), QString(),
        QStringLiteral("保存"), QStringLiteral("検索結果の保存"), QStringLiteral("検索"),
        QStringLiteral("選択取り消し"), QStringLiteral("並び替え"), QStringLiteral("置替"),
        QStringLiteral("簡易編集"), QStringLiteral("作業内容のクリア"), QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ"),
        QStringLiteral("ﾊﾟﾗﾒｰﾀ"), QStringLiteral("雛形"), QStringLiteral("雛形複製"), QStringLiteral("中止"),
        QStringLiteral("一覧表示"), QStringLiteral("詳細表示"), QStringLiteral("時間管理"), QStringLiteral("設定"),
        QStringLiteral("終了")};
    for (int i = 0; i < 21; ++i) {
        QCOMPARE(actions[i]->objectName(), Commands::key(Command(i)));
        if (i != 2)
            QCOMPARE(actions[i]->toolTip(), tooltips[i]);
        QVERIFY(!actions[i]->icon().isNull());
    }
    QAction *none1 = f->window->buttonAction(Command::NONE1);
    QVERIFY(!none1->isVisible());
    QVERIFY(!none1->isEnabled());
    QVERIFY(f->window->buttonAction(Command::SEARCH)->isEnabled());
    QVERIFY(!f->window->buttonAction(Command::HOZON)->isEnabled());

    auto panel = [&](const char *key) {
        return f->window->statusBarWidget()->findChild<QLabel *>(QString::fromLatin1(key))->text();
    };
    QCOMPARE(panel("SEARCH"), QStringLiteral("Initial"));
    QCOMPARE(panel("PATH"), f->wb->work.Search_Path);
    QCOMPARE(panel("WORD"), QStringLiteral("未設定"));
    QCOMPARE(panel("HIT_SU"), QStringLiteral("未実行"));
    QVERIFY(f->window->listView()->isVisible());
    QVERIFY(!f->window->detailView()->isVisible());
    QCOMPARE(f->window->timer1()->interval(), 60000);
}

void tst_KIHON::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("file") << QStringLiteral("M_FILE") << QStringLiteral("　ﾌｧｲﾙ(&F)　")
                          << QStringList{QStringLiteral("ｻｰﾁﾊﾟｽ選択(&P)"), QStringLiteral("ﾌｫﾙﾀﾞｰ選択(&F)"),
                                         QStringLiteral("ﾊﾟﾗﾒｰﾀｶｰﾄﾞ読み込み"), QStringLiteral("雛形読み込み"),
                                         QStringLiteral("保存(&S)"), QStringLiteral("保存の取り消し(&U)"),
                                         QStringLiteral("検索結果の保存"),
                                         QStringLiteral("終了(&X)")};
    QTest::newRow("edit") << QStringLiteral("M_EDIT") << QStringLiteral("　編集(&Ｅ)　")
                          << QStringList{QStringLiteral("中止(&C)"), QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞｺﾋﾟｰ"),
                                         QStringLiteral("検索(&K)"), QStringLiteral("削除(&D)"),
                                         QStringLiteral("並び替え(&S)"), QStringLiteral("置替(&O)"),
                                         QStringLiteral("簡易編集(&E)"), QStringLiteral("作業エリアのクリア(&L)"),
                                         QStringLiteral("雛形複製(&F)")};
    QTest::newRow("view") << QStringLiteral("M_DISP") << QStringLiteral("　表示(&V)　")
                          << QStringList{QStringLiteral("一覧画面表示"), QStringLiteral("詳細画面表示"),
                                         QStringLiteral("ｶﾗｰﾊﾟﾚｯﾄ(&C)")};
    QTest::newRow("config") << QStringLiteral("M_CONFIG") << QStringLiteral("　設定(&C)　")
                            << QStringList{QStringLiteral("ﾂｰﾙﾊﾞｰ表示(&T)"), QStringLiteral("ｽﾃｰﾀｽﾊﾞｰ表示(&S)"),
                                           QStringLiteral("日付時間(&D)"), QStringLiteral("保存の取り消し用に元の内容を残す")};
    QTest::newRow("help") << QStringLiteral("M_HELP") << QStringLiteral("　ﾍﾙﾌﾟ(&H)　")
                          << QStringList{QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報")};
}

void tst_KIHON::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QStringList, entries);
    QVERIFY(f->start());
    QMenu *m = f->window->menuBar()->findChild<QMenu *>(menu);
    QVERIFY(m);
    QCOMPARE(m->title(), caption);
    QStringList actual;
    for (QAction *a : m->actions())
        actual.append(a->text());
    QCOMPARE(actual, entries);
}

void tst_KIHON::firstStartWritesFiveSections()
{
    QVERIFY(f->start());
    SettingsStore written;
    QVERIFY(written.load());
    for (const char *s : {"SEARCH_DATA", "SEARCH_PATH", "SEARCH_SIKIBETU", "WINDOW_CONFIG", "EXECUTE"})
        QVERIFY2(written.hasSection(QString::fromLatin1(s)), s);
    QVERIFY(f->port.shown.isEmpty());
    QVERIFY(f->window->toolbar()->isVisible());
    QVERIFY(f->window->statusBarWidget()->isVisible());
    QVERIFY(f->window->menuEntry(MenuEntry::M_DISP_TOOL_BAR)->isChecked());
}

void tst_KIHON::menuSetteiMirrorsToolbar()
{
    QVERIFY(f->start());
    QAction *save = f->window->menuEntry(MenuEntry::M_FILE_SAVE);
    QVERIFY(!save->isEnabled());
    CommandBoardTestAccess::setEnabled(f->wb->board, Command::HOZON, true);
    CommandBoardTestAccess::setEnabled(f->wb->board, Command::SEARCH, false);
    // Menus copy the toolbar only through MENU_SETTEI.
    QVERIFY(!save->isEnabled());
    f->window->MENU_SETTEI();
    QVERIFY(save->isEnabled());
    QVERIFY(!f->window->menuEntry(MenuEntry::M_EDIT_SEARCH)->isEnabled());
    QVERIFY(f->window->menuEntry(MenuEntry::M_HELP_VER)->isEnabled());
    QVERIFY(f->window->menuEntry(MenuEntry::M_DISP_TOOL_BAR)->isEnabled());
}

void tst_KIHON::toggles()
{
    QVERIFY(f->start());
    const ViewFrame before = f->window->viewFrame();
    QCOMPARE(before.top, 420);
    f->window->menuEntry(MenuEntry::M_DISP_TOOL_BAR)->trigger();
    f->window->menuEntry(MenuEntry::M_DISP_STATUS_BAR)->trigger();
    QCOMPARE(f->window->viewFrame().top, 0);
    QCOMPARE(f->window->viewFrame().height, before.height + 790);
    QVERIFY(!f->window->toolbar()->isVisible());
    QVERIFY(!f->window->statusBarWidget()->isVisible());
    QVERIFY(!f->window->menuEntry(MenuEntry::M_DISP_TOOL_BAR)->isChecked());
    QCOMPARE(f->window->listView()->geometry().top(), 0);
    SettingsStore written;
    QVERIFY(written.load());
    QCOMPARE(written.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("T_Bar")).value(), 0);
    QCOMPARE(written.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("S_Bar")).value(), 0);

    // The next start applies them.
    QVERIFY(f->start());
    QVERIFY(!f->window->toolbar()->isVisible());
    QCOMPARE(f->window->viewFrame().top, 0);
}

void tst_KIHON::endWritesWindowConfig()
{
    QVERIFY(f->start());
    f->window->resize(900, 640);
    f->window->runCommand(Command::END, KIHON::Origin::Toolbar);
    SettingsStore written;
    QVERIFY(written.load());
    QCOMPARE(written.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("Width")).value(),
             f->window->geometry().width() * 15);
    QCOMPARE(written.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("Height")).value(),
             f->window->geometry().height() * 15);
}

void tst_KIHON::versionWindowProtocol()
{
    QVERIFY(f->start());
    f->window->menuEntry(MenuEntry::M_HELP_VER)->trigger();
    QWidget *version = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == QStringLiteral("バージョン情報"))
            version = w;
    QVERIFY(version);
    QVERIFY(!f->window->isEnabled());
    QVERIFY(version->isEnabled());
    QVERIFY(version->findChild<QLabel *>(QStringLiteral("LBL_VERSION")));
    QCOMPARE(version->findChild<QLabel *>(QStringLiteral("LBL_VERSION"))->text(), QStringLiteral("ＱＵＡＶ　Ver1.2"));
    QVERIFY(version->windowFlags() & Qt::WindowStaysOnTopHint);
    version->close();
    QVERIFY(f->window->isEnabled());
}

void tst_KIHON::lastFolderRemoved()
{
    QTemporaryDir gone;
    const QString path = gone.path();
    {
        SettingsStore store;
        QVERIFY(store.importInstallFile());
        store.setString(QStringLiteral("SEARCH_PATH"), QStringLiteral("PATH0"), path);
        store.setNumber(QStringLiteral("SEARCH_PATH"), QStringLiteral("DEFAULT_PATH"), 0);
        QVERIFY(store.save());
    }
    QVERIFY(gone.remove());
    QVERIFY(f->start());
    QCOMPARE(QDir(f->wb->work.Search_Path).canonicalPath(), QDir(f->tree.path()).canonicalPath());
}

void tst_KIHON::disabledCommandIgnored()
{
    QVERIFY(f->start());
    f->wb->Param_Count = 0;
    // HINA_FUKUSEI is disabled at start: neither road runs it.
    f->window->runCommand(Command::HINA_FUKUSEI, KIHON::Origin::Menu);
    QVERIFY(f->port.shown.isEmpty());
    CommandBoardTestAccess::setEnabled(f->wb->board, Command::HINA_FUKUSEI, true);
    f->window->runCommand(Command::HINA_FUKUSEI, KIHON::Origin::Toolbar);
    QCOMPARE(f->port.shown.size(), 1);
    QCOMPARE(f->port.shown[0].caption, QStringLiteral("雛形複製"));
}

QTEST_MAIN(tst_KIHON)
#include "tst_kihon.moc"
