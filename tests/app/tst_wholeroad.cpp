// The whole road from the window: SEARCH opens the dialog, a search fills the
// work area and shows the list view, a double-click shows the detail view,
// CLIP copies, CLEAR empties and offers SEARCH again.
#include "base/Workbench.h"
#include "app/widgets/KIHON.h"
#include "display/widgets/RichTextView.h"
#include "platform/Cp932.h"
#include "search/widgets/QUAV_SEARCH_SETTEI.h"
#include "settings/SettingsStore.h"

#include "ScriptedMessagePort.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeSjis(const QString &path, const QStringList &lines)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    for (const QString &l : lines)
        f.write(Cp932::encode(l) + "\r\n");
}

QUAV_SEARCH_SETTEI *openSearchDialog()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *d = qobject_cast<QUAV_SEARCH_SETTEI *>(w); d && d->isVisible())
            return d;
    return nullptr;
}

} // namespace

class tst_WholeRoad : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void searchShowCopyClear();
};

void tst_WholeRoad::searchShowCopyClear()
{
    QTemporaryDir config;
    QTemporaryDir tree;
    qputenv("QUAV_CONFIG_DIR", config.path().toUtf8());
    writeSjis(tree.filePath(QStringLiteral("報告.TXT")), {QStringLiteral("第一行"), QStringLiteral("ここで検索する"),
                                                         QStringLiteral("終わり")});
    writeSjis(tree.filePath(QStringLiteral("other.log")), {QStringLiteral("検索語")});
    writeSjis(tree.filePath(QStringLiteral("skip.txt")), {QStringLiteral("no hit")});
    const QString cwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(tree.path()));

    Workbench wb;
    SettingsStore store;
    wb.store = &store;
    {
        KIHON window(wb);
        ScriptedMessagePort port;
        window.Form_Load(tree.path());
        wb.messages = &port; // after start-up: every later message recorded
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        window.Run_Command(Command::SEARCH, KIHON::Origin::Toolbar);
        QUAV_SEARCH_SETTEI *dialog = openSearchDialog();
        QVERIFY(dialog);
        QVERIFY(!window.isEnabled());
        dialog->Combo_Search_Data->setEditText(QStringLiteral("  検索  "));
        QTest::mouseClick(dialog->CMD_SEARCH, Qt::LeftButton);
        QTRY_VERIFY(!openSearchDialog());

        QVERIFY(window.isEnabled());
        QCOMPARE(wb.work.Search_Word, QStringLiteral("検索"));
        QCOMPARE(wb.work.Search_Hit_File_List.count(), 2);
        QCOMPARE(wb.status.text(StatusPanels::kHitSu), QStringLiteral("対象数 =2ﾌｧｲﾙ"));
        QVERIFY(window.listView()->isShown());
        QVERIFY(!wb.board.isEnabled(Command::SEARCH));
        QVERIFY(!wb.board.isEnabled(Command::STOP));
        QVERIFY(wb.board.isEnabled(Command::DISP));
        QVERIFY(window.listView()->plainText().contains(QStringLiteral("000002:ここで検索する")));

        // A double-click on the hit line of 報告.TXT shows the whole file.
        const int hitLine = window.listView()->plainText().indexOf(QStringLiteral("000002:ここで"));
        QVERIFY(hitLine > 0);
        QTest::mouseDClick(window.listView()->viewport(), Qt::LeftButton, {},
                           window.listView()->pointOf(hitLine + 3));
        QTRY_VERIFY(window.detailView()->isShown());
        QVERIFY(!window.listView()->isShown());
        const QString detail = window.detailView()->plainText();
        QVERIFY(detail.contains(QStringLiteral("第一行")));
        QVERIFY(detail.contains(QStringLiteral("終わり")));
        QVERIFY(detail.startsWith(QDir(tree.path()).absolutePath().toUpper()));

        // Back to the list; copy a selected line exactly, filling spaces too.
        window.Run_Command(Command::DISP_SEARCH, KIHON::Origin::Toolbar);
        QVERIFY(window.listView()->isShown());
        window.listView()->setCaret(hitLine);
        window.listView()->selectToLineEnd();
        window.Run_Command(Command::CLIP, KIHON::Origin::Toolbar);
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY(copied.startsWith(QStringLiteral("000002:ここで検索する")));
        QVERIFY(copied.endsWith(QLatin1Char(' ')));

        port.answers.enqueue(MessagePort::Answer::Yes);
        window.Run_Command(Command::CLEAR, KIHON::Origin::Toolbar);
        QCOMPARE(wb.work.Search_Hit_File_List.count(), 0);
        QVERIFY(!window.listView()->isShown());
        QVERIFY(!window.detailView()->isShown());
        QVERIFY(wb.board.isEnabled(Command::SEARCH));
        window.MENU_SETTEI();
        QVERIFY(window.menuEntry(QStringLiteral("M_EDIT_SEARCH"))->isEnabled());
        wb.detachPorts();
    }
    QDir::setCurrent(cwd);
}

QTEST_MAIN(tst_WholeRoad)
#include "tst_wholeroad.moc"
