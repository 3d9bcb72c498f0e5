// The whole road of saving from the window: a search over a small tree, a
// replace in three of its files through the replace dialog, the save dialog
// opened by the toolbar button or the menu entry as a user opens it, the
// files read back from disk byte by byte and searched again; then the save
// undone from the menu, and a "quav replace" undone by "quav undo".
#include "base/Workbench.h"
#include "DialogControls.h"
#include "app/widgets/KIHON.h"
#include "edit/BatchReplace.h"
#include "edit/BatchUndo.h"
#include "edit/widgets/QUAV_Change_Settei.h"
#include "edit/widgets/QUAV_Hozon.h"
#include "platform/Cp932.h"
#include "search/widgets/QUAV_SEARCH_SETTEI.h"
#include "workarea/LineFormat.h"

#include "../search/SearchTree.h"

#include "WindowFixture.h"
#include "WorkAreaChecks.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>

using Answer = MessagePort::Answer;

namespace {

QByteArray sj(const char *utf8)
{
    return Cp932::encode(QString::fromUtf8(utf8));
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The tree as written, and as it must read after the save. Only the lines
// holding the word change; EE EF is an IBM extension kanji in its NEC-selected
// copy (the encoder would pick FA 40), 80 and FD are no code page 932 at all.
struct TreeFile
{
    const char *name;
    QByteArray before;
    QByteArray after; // when written
    bool replaced;    // chosen in the replace dialog
};

QList<TreeFile> treeFiles()
{
    return {
        {"crlf.txt", sj("先頭の行\r\nここに検索語\r\n") + "\xEE\xEF" + sj("は残る\r\n"),
         sj("先頭の行\r\nここに置き換え語\r\n") + "\xEE\xEF" + sj("は残る\r\n"), true},
        {"kept.txt", sj("検索だけ\r\n"), sj("検索だけ\r\n"), false},
        {"lf.txt", sj("alpha\n検索 beta\nｶﾅ gamma\n"), sj("alpha\n置き換え beta\nｶﾅ gamma\n"), true},
        {"nohit.txt", sj("nothing here\r\n"), sj("nothing here\r\n"), false},
        {"raw.txt", "x\x80y\r\n" + sj("検索") + "\x80\r\n\xFDz\r\n",
         "x\x80y\r\n" + sj("置き換え") + "\x80\r\n\xFDz\r\n", true},
    };
}

// The search dialog from the toolbar, run over the tree for word.
void searchFromWindow(KIHON &window, const QString &word)
{
    window.runCommand(Command::SEARCH, KIHON::Origin::Toolbar);
    QUAV_SEARCH_SETTEI *search = DialogFixture::find<QUAV_SEARCH_SETTEI>();
    QVERIFY(search);
    control<QComboBox>(search, "Combo_Search_Data")->setEditText(word);
    QTest::mouseClick(control<QPushButton>(search, "CMD_SEARCH"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<QUAV_SEARCH_SETTEI>());
}

// The entry opened from its menu and clicked, as a user does.
void clickMenuEntry(KIHON &window, MenuEntry name)
{
    QAction *entry = window.menuEntry(name);
    QVERIFY(entry);
    auto *menu = qobject_cast<QMenu *>(entry->parent());
    QVERIFY(menu);
    menu->popup(window.mapToGlobal(QPoint(10, 10)));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY2(entry->isEnabled(), qPrintable(MenuEntries::nameOf(name)));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    QTRY_VERIFY(!menu->isVisible());
}

// The entries of the file named key, in store order.
QStringList entriesOf(const QStringList &entries, const QString &key)
{
    QStringList out;
    for (const QString &e : entries)
        if (LineFormat::Entry_Key(e) == key)
            out.append(e);
    return out;
}

} // namespace

class tst_SaveRoad : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void searchReplaceSaveReopen_data();
    void searchReplaceSaveReopen();
};

void tst_SaveRoad::searchReplaceSaveReopen_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<QString>("readOnly"); // a replaced file made read-only before the save
    QTest::newRow("toolbar: every changed file written") << false << QString();
    QTest::newRow("menu: a read-only file left as it was") << true << QStringLiteral("lf.txt");
}

void tst_SaveRoad::searchReplaceSaveReopen()
{
    QFETCH(bool, fromMenu);
    QFETCH(QString, readOnly);
    WindowFixture f;
    const QList<TreeFile> files = treeFiles();
    for (const TreeFile &t : files)
        QVERIFY(SearchTree::writeBytes(f.file(QString::fromUtf8(t.name)), t.before));
    QVERIFY(f.start());
    KIHON &window = *f.window;
    Workbench &wb = *f.wb;
    WorkArea &work = wb.work;

    searchFromWindow(window, QStringLiteral("検索"));
    QCOMPARE(work.Search_Hit_File_List().count(), 4);
    QVERIFY(!wb.board.isEnabled(Command::HOZON));

    // Replace in the three files, not in kept.txt.
    window.runCommand(Command::CHANGE, KIHON::Origin::Toolbar);
    QUAV_Change_Settei *change = DialogFixture::find<QUAV_Change_Settei>();
    QVERIFY(change);
    control<QLineEdit>(change, "Text_Change")->setText(QStringLiteral("置き換え"));
    for (int i = 0; i < control<QListWidget>(change, "List1")->count(); ++i)
        control<QListWidget>(change, "List1")->item(i)->setSelected(!control<QListWidget>(change, "List1")->item(i)->text().endsWith(QLatin1String("kept.txt")));
    f.port.answerWith({Answer::Ok, Answer::No});
    QTest::mouseClick(control<QPushButton>(change, "Cmd_Jikkou"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<QUAV_Change_Settei>());
    QVERIFY_CONSISTENT(work);
    QCOMPARE(work.Hozon_Flag, qint16(1));
    QVERIFY(window.buttonAction(Command::HOZON)->isEnabled());
    const QStringList storedBefore = work.Search_Hit_All_Line_List().texts();

    if (!readOnly.isEmpty())
        QVERIFY(::chmod(QFile::encodeName(f.file(readOnly)).constData(), 0444) == 0);

    // The save dialog, opened as a user opens it; the changed files are preselected.
    const qsizetype messagesBefore = f.port.shown.size();
    if (fromMenu)
        clickMenuEntry(window, MenuEntry::M_FILE_SAVE);
    else
        window.buttonAction(Command::HOZON)->trigger();
    QTRY_VERIFY(DialogFixture::find<QUAV_Hozon>());
    QUAV_Hozon *save = DialogFixture::find<QUAV_Hozon>();
    QVERIFY(!window.isEnabled());
    QCOMPARE(control<QListWidget>(save, "List1")->count(), 4);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(control<QListWidget>(save, "List1")->item(i)->isSelected(), work.Search_Hit_File_Change().data(i) == 1);
    QCOMPARE(control<QListWidget>(save, "List1")->selectedItems().size(), 3);
    QTest::mouseClick(control<QPushButton>(save, "Cmd_Jikkou"), Qt::LeftButton);
    QTRY_VERIFY(!DialogFixture::find<QUAV_Hozon>());
    QVERIFY(window.isEnabled());

    // On disk: the changed lines changed, every other byte as it was.
    for (const TreeFile &t : files) {
        const QString name = QString::fromUtf8(t.name);
        const bool written = t.replaced && name != readOnly;
        QCOMPARE(bytesOf(f.file(name)), written ? t.after : t.before);
    }
    const QStringList messages = f.port.texts().mid(messagesBefore);
    if (readOnly.isEmpty()) {
        QCOMPARE(messages, QStringList());
    } else {
        QCOMPARE(messages.size(), 1);
        QCOMPARE(f.port.shown.last().icon, MessagePort::Icon::Critical);
        QVERIFY2(messages.at(0).startsWith(f.file(readOnly)), qPrintable(messages.at(0)));
    }

    // The work area kept its lines; only the written files lost their flags.
    QCOMPARE(work.Search_Hit_All_Line_List().texts(), storedBefore);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(work.Search_Hit_File_Change().data(i), work.File_Key(i) == f.file(readOnly) ? 1 : 0);
    QCOMPARE(work.Hozon_Flag, qint16(readOnly.isEmpty() ? 0 : 1));
    QCOMPARE(wb.board.isEnabled(Command::HOZON), !readOnly.isEmpty());
    QCOMPARE(window.buttonAction(Command::HOZON)->isEnabled(), !readOnly.isEmpty());
    QCOMPARE(window.menuEntry(MenuEntry::M_FILE_SAVE)->isEnabled(), !readOnly.isEmpty());
    QVERIFY_CONSISTENT(work);

    // Cleared and searched again, each written file reads back as the lines it was saved from.
    QStringList written;
    for (const TreeFile &t : files)
        if (t.replaced && QString::fromUtf8(t.name) != readOnly)
            written.append(f.file(QString::fromUtf8(t.name)));
    f.port.answerWith({Answer::Yes});
    window.runCommand(Command::CLEAR, KIHON::Origin::Toolbar);
    QVERIFY(work.Search_Hit_File_List().isEmpty());
    searchFromWindow(window, QStringLiteral("置き換え"));
    QCOMPARE(work.Search_Hit_File_List().count(), written.size());
    for (const QString &key : std::as_const(written))
        QCOMPARE(entriesOf(work.Search_Hit_All_Line_List().texts(), key), entriesOf(storedBefore, key));
    QVERIFY_CONSISTENT(work);

    // The save undone from the menu: every file as before, byte for byte;
    // the files the work area holds no longer look saved.
    f.port.answerWith({Answer::Yes, Answer::Ok});
    clickMenuEntry(window, MenuEntry::M_FILE_UNDO);
    for (const TreeFile &t : files)
        QTRY_COMPARE(bytesOf(f.file(QString::fromUtf8(t.name))), t.before);
    for (int i = 0; i < work.Search_Hit_File_List().count(); ++i)
        QCOMPARE(work.Search_Hit_File_Change().data(i), 1);
    QVERIFY(wb.board.isEnabled(Command::HOZON));

    // "quav replace", then "quav undo": as before again; then nothing is
    // left to undo.
    const QStringList replace{QStringLiteral("--dir"), f.tree.path(), QStringLiteral("--with"),
                              QStringLiteral("置き換え"), QStringLiteral("検索")};
    QVERIFY(BatchReplace::run(replace) != 1);
    QVERIFY(bytesOf(f.file(QStringLiteral("kept.txt"))) != files.at(1).before);
    // One file put back by hand meanwhile counts as restored.
    QVERIFY(writeBytes(f.file(QStringLiteral("kept.txt")), files.at(1).before));
    QCOMPARE(BatchUndo::run({}), 0);
    for (const TreeFile &t : files)
        QCOMPARE(bytesOf(f.file(QString::fromUtf8(t.name))), t.before);
    QCOMPARE(BatchUndo::run({}), 1);
}

QTEST_MAIN(tst_SaveRoad)
#include "tst_saveroad.moc"
