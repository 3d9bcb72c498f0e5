#include "app/MainCommands.h"
#include "base/ViewFrame.h"
#include "base/Workbench.h"
#include "display/DisplayColorsForm.h"
#include "search/SearchForm.h"
#include "settings/BreakReminderForm.h"
#include "settings/SettingsIo.h"
#include "platform/SettingsStore.h"

#include "ScriptedMessagePort.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include <QScopeGuard>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// The store shared by instances, read back exactly, and never lost to a
// damaged or unreadable file.
class tst_StoreSafety : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void everyValueRoundTrips();
    void instancesKeepEachOther();
    void writerWaitsForTheLock();
    void lineBreaksReadBackExactly_data();
    void lineBreaksReadBackExactly();
    void badBytesDamageOneLine_data();
    void badBytesDamageOneLine();
    void unreadableStoreNeverOverwritten_data();
    void unreadableStoreNeverOverwritten();
    void unwritableStoreToldOnce_data();
    void unwritableStoreToldOnce();
    void importFileFromProgramFolders_data();
    void importFileFromProgramFolders();
    void importFileNotFromStartFolder();

private:
    QString storePath() const { return SettingsStore::defaultPath(); }
    static QByteArray readAll(const QString &path);
    void writeStore(const QByteArray &bytes);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_cwd;
};

void tst_StoreSafety::init()
{
    m_cwd = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    qputenv("QUAV_CONFIG_DIR", m_dir->filePath(QStringLiteral("config")).toUtf8());
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("config"))));
}

void tst_StoreSafety::cleanup()
{
    QDir::setCurrent(m_cwd);
    // A test may leave a store without permissions behind.
    ::chmod(QFile::encodeName(storePath()).constData(), 0600);
}

QByteArray tst_StoreSafety::readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void tst_StoreSafety::writeStore(const QByteArray &bytes)
{
    QFile f(storePath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Every number the writers write, in no particular order.
template<typename S>
static auto numbers(S &s)
{
    return QList{&s.DEFAULT_DATA, &s.DEFAULT_PATH, &s.DEFAULT_SIKIBETU, &s.SIKIBETU_ALL_FLG, &s.FORM_X, &s.FORM_Y,
                 &s.Width, &s.Height, &s.Hit_Color, &s.File_Name_Color, &s.Line_No_Color, &s.S_Bar, &s.T_Bar,
                 &s.FILE_OUT, &s.FILE_NAME_DISP, &s.SUB_DIR_FLG, &s.VDT_FOLLOW, &s.VDT_INTERVAL_TIME,
                 &s.Color_Set_Flg};
}

void tst_StoreSafety::everyValueRoundTrips()
{
    SettingsStore store;
    QVERIFY(store.importInstallFile());
    Workbench wb;
    wb.store = &store;
    Settings &s = wb.settings;
    qint32 n = 1000;
    for (qint32 *v : numbers(s))
        *v = n += 1001;
    for (size_t i = 0; i < s.DATA.size(); ++i) {
        s.DATA[i] = QStringLiteral("語%1").arg(i);
        s.PATH[i] = QStringLiteral("/路/%1").arg(i);
    }
    for (size_t i = 0; i < s.SIKIBETU.size(); ++i)
        s.SIKIBETU[i] = QStringLiteral("X%1").arg(i);
    s.FILE_OUT_NAME = QStringLiteral("/結果.txt");
    s.EDITOR = QStringLiteral("vi");
    s.ENCODING = QStringLiteral("cp932");
    s.FORM_MAX = 7; // read, never written
    QVERIFY(SettingsIo::Write_Search_Data(wb));
    QVERIFY(SettingsIo::Write_Search_Path(wb));
    QVERIFY(SettingsIo::Write_Search_Sikibetu(wb));
    QVERIFY(SettingsIo::Write_Window_Config(wb));
    QVERIFY(SettingsIo::Write_Execute(wb));

    SettingsStore again;
    QVERIFY(again.load());
    Workbench wb2;
    wb2.store = &again;
    SettingsIo::Restore_Window(wb2);
    SettingsIo::Load_Settings(wb2);
    const Settings &got = wb2.settings;
    QCOMPARE(got.DATA, s.DATA);
    QCOMPARE(got.PATH, s.PATH);
    QCOMPARE(got.SIKIBETU, s.SIKIBETU);
    for (qsizetype i = 0; i < numbers(s).size(); ++i)
        QCOMPARE(*numbers(got)[i], *numbers(s)[i]);
    QCOMPARE(got.FORM_MAX, 0); // never written
    QCOMPARE(got.FILE_OUT_NAME, s.FILE_OUT_NAME);
    QCOMPARE(got.EDITOR, s.EDITOR);
    QCOMPARE(got.encodingChoice(), EncodingChoice::Cp932);
}

void tst_StoreSafety::instancesKeepEachOther()
{
    {
        SettingsStore store;
        QVERIFY(store.importInstallFile());
    }
    // Two instances start on the same store; each stores something else.
    SettingsStore storeA, storeB;
    QVERIFY(storeA.load());
    QVERIFY(storeB.load());
    Workbench a, b;
    a.store = &storeA;
    b.store = &storeB;
    SettingsIo::Load_Settings(a);
    SettingsIo::Load_Settings(b);
    a.settings.DATA[0] = QStringLiteral("Aの検索語");
    a.settings.PATH[0] = QStringLiteral("/A");
    b.settings.SUB_DIR_FLG = 0;
    b.settings.PATH[5] = QStringLiteral("/B");
    QVERIFY(SettingsIo::Write_Search_Data(a));
    QVERIFY(SettingsIo::Write_Search_Path(a));
    QVERIFY(SettingsIo::Write_Execute(b));
    QVERIFY(SettingsIo::Write_Window_Config(b));

    SettingsStore after;
    QVERIFY(after.load());
    Workbench c;
    c.store = &after;
    SettingsIo::Load_Settings(c);
    QCOMPARE(c.settings.DATA[0], QStringLiteral("Aの検索語"));
    QCOMPARE(c.settings.PATH[0], QStringLiteral("/A"));
    QCOMPARE(c.settings.PATH[5], QString()); // B never wrote its folder history
    QCOMPARE(c.settings.SUB_DIR_FLG, 0);
}

void tst_StoreSafety::writerWaitsForTheLock()
{
    SettingsStore store;
    QVERIFY(store.importInstallFile());
    const QByteArray before = readAll(storePath());
    QLockFile other(storePath() + QStringLiteral(".lock"));
    QVERIFY(other.tryLock(0));
    bool written = false;
    std::thread writer([&] {
        written = store.writeValues(QStringLiteral("SEARCH_DATA"), {{QStringLiteral("DATA0"), false, 0, QStringLiteral("後")}});
    });
    QTest::qWait(300);
    const QByteArray whileLocked = readAll(storePath());
    other.unlock();
    writer.join();
    QCOMPARE(whileLocked, before);
    QVERIFY(written);
    QVERIFY(readAll(storePath()).contains(QStringLiteral("\"DATA0\"=\"後\"").toUtf8()));
}

void tst_StoreSafety::lineBreaksReadBackExactly_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("resultFile");
    QTest::newRow("line feed in a folder name") << QStringLiteral("/home/u/a\nb") << QStringLiteral("/tmp/r.txt");
    QTest::newRow("CR LF in the result file") << QStringLiteral("/x") << QStringLiteral("/tmp/結果\r\n2.txt");
    QTest::newRow("lone CR, and a break at the end") << QStringLiteral("/a\rb\n") << QStringLiteral("\n");
    QTest::newRow("backslash before n stays two characters")
        << QStringLiteral("/a\\nb\\") << QStringLiteral("\\r\\\n\"");
}

void tst_StoreSafety::lineBreaksReadBackExactly()
{
    QFETCH(QString, folder);
    QFETCH(QString, resultFile);
    SettingsStore store;
    QVERIFY(store.importInstallFile());
    Workbench wb;
    wb.store = &store;
    SettingsIo::Load_Settings(wb);
    wb.settings.PATH[2] = folder;
    wb.settings.FILE_OUT_NAME = resultFile;
    QVERIFY(SettingsIo::Write_Search_Path(wb));
    QVERIFY(SettingsIo::Write_Execute(wb));

    SettingsStore again;
    QVERIFY(again.load());
    QCOMPARE(again.damagedLines(), 0);
    Workbench wb2;
    wb2.store = &again;
    SettingsIo::Load_Settings(wb2);
    QCOMPARE(wb2.settings.PATH[2], folder);
    QCOMPARE(wb2.settings.FILE_OUT_NAME, resultFile);
    QCOMPARE(wb2.settings.PATH[3], wb.settings.PATH[3]);
    QCOMPARE(wb2.settings.EDITOR, wb.settings.EDITOR);
}

void tst_StoreSafety::badBytesDamageOneLine_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("data0");
    QTest::addColumn<QList<int>>("damaged");
    // Line 3 holds DATA0, line 4 DATA1.
    QTest::newRow("a lone invalid byte in one value")
        << QByteArray("\"DATA0\"=\"ab\xff\"\r\n\"DATA1\"=\"日本語\"\r\n") << QStringLiteral("ab\uf7ff") << QList<int>{3};
    QTest::newRow("a code page 932 value among UTF-8 ones")
        << QByteArray("\"DATA0\"=\"\x82\xa0\"\r\n\"DATA1\"=\"日本語\"\r\n") << QStringLiteral("あ") << QList<int>{3};
    QTest::newRow("a broken line and a cut UTF-8 sequence")
        << QByteArray("\"DATA0\r\n\"DATA1\"=\"日本語\"\r\n\"DATA2\"=\"\xe6\x97\"\r\n") << QString() << QList<int>{3, 5};
}

void tst_StoreSafety::badBytesDamageOneLine()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, data0);
    QFETCH(QList<int>, damaged);
    const QByteArray original = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\SEARCH_DATA]\r\n" + data
        + "[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\EXECUTE]\r\n\"FILE_OUT_NAME\"=\"/tmp/結果.txt\"\r\n";
    writeStore(original);
    QCOMPARE(::chmod(QFile::encodeName(storePath()).constData(), 0600), 0);
    SettingsStore store;
    QVERIFY(store.load());
    QCOMPARE(store.damagedLineNumbers(), damaged);
    Workbench wb;
    wb.store = &store;
    ScriptedMessagePort port;
    for (int i = 0; i < 3; ++i)
        port.answers.enqueue(MessagePort::Answer::No); // three sections missing
    port.answers.prepend(MessagePort::Answer::Ok);
    wb.messages = &port;
    SettingsIo::Load_Settings(wb);
    // Every other value reads as written.
    QCOMPARE(wb.settings.DATA[0], data0);
    QCOMPARE(wb.settings.DATA[1], QStringLiteral("日本語"));
    QCOMPARE(wb.settings.FILE_OUT_NAME, QStringLiteral("/tmp/結果.txt"));
    // The user hears which lines, and the file as it was is kept.
    QCOMPARE(port.shown.size(), 4);
    const QString told = port.shown.first().text;
    QVERIFY2(told.contains(QStringLiteral("%1 行目").arg(damaged.last())), qPrintable(told));
    QVERIFY(told.contains(store.damagedCopyPath()));
    QCOMPARE(readAll(store.damagedCopyPath()), original);
    struct stat copy{};
    QCOMPARE(::stat(QFile::encodeName(store.damagedCopyPath()).constData(), &copy), 0);
    QCOMPARE(copy.st_mode & 0777, mode_t(0600)); // as private as the store
    // Writing keeps the copy and says nothing more about the same damage.
    QVERIFY(SettingsIo::Write_Execute(wb));
    QCOMPARE(readAll(store.damagedCopyPath()), original);
    QCOMPARE(port.shown.size(), 4);
}

void tst_StoreSafety::unreadableStoreNeverOverwritten_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a folder in its place") << QStringLiteral("folder");
    QTest::newRow("a named pipe in its place") << QStringLiteral("pipe");
    QTest::newRow("no read permission") << QStringLiteral("mode 000");
}

void tst_StoreSafety::unreadableStoreNeverOverwritten()
{
    QFETCH(QString, kind);
    const QByteArray native = QFile::encodeName(storePath());
    const QByteArray stored = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\EXECUTE]\r\n\"FILE_OUT\"=dword:00000001\r\n";
    std::thread feeder;
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(storePath()));
    } else if (kind == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(native.constData(), 0600), 0);
        // Should the pipe be opened after all, it yields a store so that
        // the run goes on (and is found out) instead of waiting for ever.
        feeder = std::thread([native, stored] {
            for (int i = 0; i < 50; ++i) {
                const int fd = ::open(native.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    (void)::write(fd, stored.constData(), size_t(stored.size()));
                    ::close(fd);
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    } else {
        if (::geteuid() == 0)
            QSKIP("root reads a file whatever its mode");
        writeStore(stored);
        QCOMPARE(::chmod(native.constData(), 0), 0);
    }
    struct stat before{};
    QCOMPARE(::lstat(native.constData(), &before), 0);

    SettingsStore store;
    Workbench wb;
    wb.store = &store;
    ScriptedMessagePort port;
    wb.messages = &port;
    const QString told = MainCommands::Startup(wb, m_dir->path());
    if (feeder.joinable())
        feeder.join();
    QVERIFY(told.contains(storePath()));
    // The program runs on the factory defaults, asking nothing.
    QCOMPARE(wb.settings.FILE_OUT, 0);
    QCOMPARE(wb.settings.SIKIBETU[0], QStringLiteral("TXT"));
    QVERIFY(port.shown.isEmpty());
    // No writer touches the store, and the user is not told again.
    wb.settings.DATA[0] = QStringLiteral("新しい語");
    QVERIFY(!SettingsIo::Write_Search_Data(wb));
    QVERIFY(!SettingsIo::Write_Window_Config(wb));
    QVERIFY(port.shown.isEmpty());
    struct stat after{};
    QCOMPARE(::lstat(native.constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_mode, before.st_mode);
    QVERIFY(!QFile::exists(store.damagedCopyPath()));
}

void tst_StoreSafety::unwritableStoreToldOnce_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder below a file") << false << QString();
    QTest::newRow("folder on a full disk") << true << QStringLiteral("空き容量が足りない");
}

void tst_StoreSafety::unwritableStoreToldOnce()
{
    QFETCH(bool, fullDisk);
    QFETCH(QString, reason);
    const QString blocked = m_dir->filePath(QStringLiteral("blocker"));
    if (fullDisk) {
        // A file system of its own, filled up: the folder and empty files
        // can be made there, not one byte written.
        QVERIFY(QDir().mkpath(blocked));
        if (::mount("tmpfs", QFile::encodeName(blocked).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("only root mounts a file system");
        QFile filler(blocked + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
        }
    } else {
        // A config folder below a regular file cannot be created, even by root.
        QFile blocker(blocked);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    const auto unmount = qScopeGuard([&] {
        if (fullDisk)
            ::umount2(QFile::encodeName(blocked).constData(), MNT_DETACH);
    });
    qputenv("QUAV_CONFIG_DIR", m_dir->filePath(QStringLiteral("blocker/quav")).toUtf8());
    SettingsStore store;
    store.merge(SettingsStore::installFile());
    Workbench wb;
    wb.store = &store;
    ScriptedMessagePort port;
    wb.messages = &port;
    SearchChoice choice;
    choice.searchText = QStringLiteral("語");
    choice.identifierText = QStringLiteral("TXT");
    // Two searches, a toolbar toggle, the colour and time dialogs, and END.
    SearchForm::storeChoices(wb, choice);
    SearchForm::storeChoices(wb, choice);
    ViewFrame frame = ViewFrame::fitted(9000, true, true);
    MainCommands::toggleToolBar(wb, frame, true);
    DisplayColorsForm::Apply(wb, true);
    QVERIFY(BreakReminderForm::CMD_JIKOU(wb, true, QStringLiteral("30"), 0).accepted);
    QString error;
    QVERIFY(!SettingsIo::Write_Window_Config(wb, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(port.shown.size(), 1);
    QCOMPARE(port.shown.first().icon, MessagePort::Icon::Critical);
    QVERIFY(port.shown.first().text.contains(blocked));
    QVERIFY2(port.shown.first().text.contains(reason), qPrintable(port.shown.first().text));
    // The settings in memory are what the user chose.
    QCOMPARE(wb.settings.DATA[0], QStringLiteral("語"));
    QCOMPARE(wb.settings.T_Bar, 0);
}

void tst_StoreSafety::importFileFromProgramFolders_data()
{
    QTest::addColumn<QStringList>("planted"); // folders (below the test folder) holding an import file
    QTest::addColumn<QString>("editor");      // EDITOR as imported
    QTest::newRow("beside the executable") << QStringList{QStringLiteral("bin")} << QStringLiteral("bin");
    QTest::newRow("in the installed data folder") << QStringList{QStringLiteral("share/quav")} << QStringLiteral("share/quav");
    QTest::newRow("the executable's folder first")
        << QStringList{QStringLiteral("share/quav"), QStringLiteral("bin")} << QStringLiteral("bin");
    QTest::newRow("nowhere: the built-in defaults") << QStringList{} << QString();
}

void tst_StoreSafety::importFileFromProgramFolders()
{
    QFETCH(QStringList, planted);
    QFETCH(QString, editor);
    for (const QString &folder : planted) {
        QVERIFY(QDir().mkpath(m_dir->filePath(folder)));
        QFile f(m_dir->filePath(folder + QStringLiteral("/QUAV_INSTALL.REG")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\EXECUTE]\r\n\"EDITOR\"=\"" + folder.toUtf8() + "\"\r\n");
    }
    SettingsStore store(QString{});
    store.merge(SettingsStore::installFile({m_dir->filePath(QStringLiteral("bin")),
                                            m_dir->filePath(QStringLiteral("share/quav"))}));
    QCOMPARE(store.string(QStringLiteral("EXECUTE"), QStringLiteral("EDITOR")).value_or(QString()), editor);
}

void tst_StoreSafety::importFileNotFromStartFolder()
{
    // An archive unpacked where the program is started from may carry an
    // import file that switches result writing on.
    const QString start = m_dir->filePath(QStringLiteral("unpacked"));
    QVERIFY(QDir().mkpath(start));
    QFile f(start + QStringLiteral("/QUAV_INSTALL.REG"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\EXECUTE]\r\n\"FILE_OUT\"=dword:00000001\r\n"
            "\"FILE_OUT_NAME\"=\"/home/u/.bashrc\"\r\n");
    f.close();
    QVERIFY(QDir::setCurrent(start));
    SettingsStore store;
    Workbench wb;
    wb.store = &store;
    ScriptedMessagePort port;
    wb.messages = &port;
    QCOMPARE(MainCommands::Startup(wb, start), QString());
    QCOMPARE(wb.settings.FILE_OUT, 0);
    QCOMPARE(wb.settings.FILE_OUT_NAME, QString());
    SettingsStore written;
    QVERIFY(written.load());
    QCOMPARE(written.number(QStringLiteral("EXECUTE"), QStringLiteral("FILE_OUT")).value(), 0);
}

QTEST_GUILESS_MAIN(tst_StoreSafety)
#include "tst_storesafety.moc"
