#include "base/Workbench.h"
#include "platform/Cp932.h"
#include "settings/SettingsIo.h"
#include "platform/SettingsStore.h"

#include "ScriptedMessagePort.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_SettingsStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void roundTrip();
    void colourFlagNameIgnoresCase();
    void factoryDefaults();
    void onlyWindowConfig();
    void damaged_data();
    void damaged();
    void damagedFileKeptBeforeOverwrite();
    void unwritableFolder();
    void restoreWindow_data();
    void restoreWindow();
    void cp932ImportFile();
    void missingSectionWriteKeepsValues();

private:
    void writeStore(const QByteArray &bytes);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_SettingsStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    qputenv("QUAV_CONFIG_DIR", m_dir->path().toUtf8());
}

void tst_SettingsStore::writeStore(const QByteArray &bytes)
{
    QFile f(SettingsStore::defaultPath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void tst_SettingsStore::roundTrip()
{
    SettingsStore store;
    QVERIFY(store.importInstallFile());
    Workbench wb;
    wb.store = &store;
    wb.settings.DATA[0] = QStringLiteral("検索語　テスト\"引用\"\\");
    wb.settings.PATH[3] = QStringLiteral("/home/user/Café/資料");
    wb.settings.FILE_OUT_NAME = QStringLiteral("/tmp/結果.txt");
    wb.settings.SUB_DIR_FLG = 0;
    wb.settings.Hit_Color = qint32(0x00FF00FF);
    QVERIFY(SettingsIo::Write_Search_Data(wb));
    QVERIFY(SettingsIo::Write_Search_Path(wb));
    QVERIFY(SettingsIo::Write_Execute(wb));
    QVERIFY(SettingsIo::Write_Window_Config(wb));

    SettingsStore again;
    QVERIFY(again.load());
    QCOMPARE(again.damagedLines(), 0);
    Workbench wb2;
    wb2.store = &again;
    ScriptedMessagePort port;
    wb2.messages = &port;
    SettingsIo::Load_Settings(wb2);
    QVERIFY(port.shown.isEmpty());
    QCOMPARE(wb2.settings.DATA[0], wb.settings.DATA[0]);
    QCOMPARE(wb2.settings.PATH[3], wb.settings.PATH[3]);
    QCOMPARE(wb2.settings.FILE_OUT_NAME, wb.settings.FILE_OUT_NAME);
    QCOMPARE(wb2.settings.SUB_DIR_FLG, 0);
    QCOMPARE(wb2.settings.Hit_Color, qint32(0x00FF00FF));
}

void tst_SettingsStore::colourFlagNameIgnoresCase()
{
    SettingsStore store;
    QVERIFY(store.importInstallFile());
    Workbench wb;
    wb.store = &store;
    wb.settings.Color_Set_Flg = 0;
    QVERIFY(SettingsIo::Write_Execute(wb));
    QVERIFY(store.serialize().contains("\"Color_Set_Flg\"=dword:00000000"));
    QVERIFY(!store.serialize().contains("Color_Set_fLG"));

    writeStore("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\EXECUTE]\r\n\"Color_Set_fLG\"=dword:00000001\r\n");
    SettingsStore raw;
    QVERIFY(raw.load());
    Workbench wb2;
    wb2.store = &raw;
    SettingsIo::Load_Settings(wb2);
    QCOMPARE(wb2.settings.Color_Set_Flg, 1);
}

void tst_SettingsStore::factoryDefaults()
{
    const Settings s = SettingsIo::loadWithoutQuestions();
    QCOMPARE(s.S_Bar, 1);
    QCOMPARE(s.T_Bar, 1);
    QCOMPARE(s.Color_Set_Flg, 1);
    QCOMPARE(s.SUB_DIR_FLG, 1);
    QCOMPARE(s.FILE_NAME_DISP, 1);
    QCOMPARE(s.VDT_FOLLOW, 0);
    QCOMPARE(s.SIKIBETU[0], QStringLiteral("TXT"));
    QVERIFY(s.Hit_Color != s.File_Name_Color && s.Hit_Color != s.Line_No_Color
            && s.File_Name_Color != s.Line_No_Color);
    for (const QString &id : s.SIKIBETU)
        QCOMPARE(id, id.toUpper());
    SettingsStore defaults(QString{});
    defaults.merge(SettingsStore::installFile());
    QVERIFY(defaults.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("Width")).value() >= 9600);
    QVERIFY(defaults.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("Height")).value() >= 7200);
}

void tst_SettingsStore::onlyWindowConfig()
{
    writeStore("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\WINDOW_CONFIG]\r\n"
               "\"S_Bar\"=dword:00000001\r\n\"Hit_Color\"=dword:000000ff\r\n");
    SettingsStore store;
    QVERIFY(store.load());
    QVERIFY(store.rootExists());
    Workbench wb;
    wb.store = &store;
    ScriptedMessagePort port;
    for (int i = 0; i < 4; ++i)
        port.answers.enqueue(MessagePort::Answer::No);
    wb.messages = &port;
    SettingsIo::Load_Settings(wb);
    QCOMPARE(port.shown.size(), 4); // one repair question per missing section
    for (const auto &m : port.shown) {
        QVERIFY(m.text.endsWith(QStringLiteral("\r\n\r\n設定情報は全て初期化されますが、今すぐ修復しますか？")));
        QCOMPARE(m.icon, MessagePort::Icon::Critical);
    }
    QCOMPARE(wb.settings.S_Bar, 1);
    QCOMPARE(wb.settings.Hit_Color, 0xff);
    QCOMPARE(wb.settings.SUB_DIR_FLG, 0);
    QCOMPARE(wb.settings.DATA[0], QString());
    QCOMPARE(wb.settings.SIKIBETU[0], QString());
}

void tst_SettingsStore::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("subDir");
    QTest::addColumn<QString>("data0");
    const QByteArray head = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\EXECUTE]\r\n\"SUB_DIR_FLG\"=dword:00000001\r\n"
                            "[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\SEARCH_DATA]\r\n";
    QTest::newRow("unparseable lines skipped")
        << head + "garbage line\r\n\"DATA0\"=\"ok\"\r\n\"DATA1\"=\"unterminated\r\n" << 1 << QStringLiteral("ok");
    QTest::newRow("value of the wrong type leaves the variable")
        << head + "\"DATA0\"=dword:00000005\r\n\"DEFAULT_DATA\"=\"text\"\r\n" << 1 << QString();
    QTest::newRow("truncated in the middle of a value")
        << head + "\"DATA0\"=\"abc\"\r\n\"DATA1\"=\"de" << 1 << QStringLiteral("abc");
    QTest::newRow("bad dword")
        << QByteArray("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\EXECUTE]\r\n\"SUB_DIR_FLG\"=dword:zz\r\n")
        << 0 << QString();
    QByteArray invalid = head + "\"DATA0\"=\"\x82\xa0\xff\xfe\"\r\n";
    QTest::newRow("bytes that are not valid text") << invalid << 1 << Cp932::decode("\x82\xa0\xff\xfe");
    QTest::newRow("binary noise") << QByteArray("\0\x01\x02[\xff]\"=", 8) << 0 << QString();
}

void tst_SettingsStore::damaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, subDir);
    QFETCH(QString, data0);
    writeStore(bytes);
    SettingsStore store;
    QVERIFY(store.load());
    Workbench wb;
    wb.store = &store;
    ScriptedMessagePort port;
    for (int i = 0; i < 5; ++i)
        port.answers.enqueue(MessagePort::Answer::No);
    wb.messages = &port;
    SettingsIo::Load_Settings(wb);
    QCOMPARE(wb.settings.SUB_DIR_FLG, subDir);
    QCOMPARE(wb.settings.DATA[0], data0);
}

void tst_SettingsStore::damagedFileKeptBeforeOverwrite()
{
    const QByteArray original = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\EXECUTE]\r\nnot a value\r\n";
    writeStore(original);
    SettingsStore store;
    QVERIFY(store.load());
    QCOMPARE(store.damagedLines(), 1);
    store.setNumber(QStringLiteral("EXECUTE"), QStringLiteral("FILE_OUT"), 1);
    QVERIFY(store.save());
    QFile backup(SettingsStore::defaultPath() + QStringLiteral(".damaged"));
    QVERIFY(backup.open(QIODevice::ReadOnly));
    QCOMPARE(backup.readAll(), original);
}

void tst_SettingsStore::unwritableFolder()
{
    // A config folder below a regular file cannot be created, even by root.
    QFile blocker(m_dir->filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore store(m_dir->filePath(QStringLiteral("blocker/quav/QUAV.REG")));
    Workbench wb;
    wb.store = &store;
    store.merge(SettingsStore::installFile());
    wb.settings.DATA[0] = QStringLiteral("メモリには残る");
    QString error;
    QVERIFY(!SettingsIo::Write_Search_Data(wb, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(wb.settings.DATA[0], QStringLiteral("メモリには残る"));
    QCOMPARE(store.string(QStringLiteral("SEARCH_DATA"), QStringLiteral("DATA0")).value(),
             QStringLiteral("メモリには残る"));
}

void tst_SettingsStore::restoreWindow_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("width");
    QTest::newRow("no window section: top-left 9600 x 7200")
        << QByteArray("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\EXECUTE]\r\n") << false << 0 << 9600;
    QTest::newRow("stored geometry")
        << QByteArray("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\WINDOW_CONFIG]\r\n\"FORM_X\"=dword:000003e8\r\n"
                      "\"FORM_Y\"=dword:00000010\r\n\"Width\"=dword:00002ee0\r\n\"Height\"=dword:00001f40\r\n")
        << true << 1000 << 12000;
    QTest::newRow("zero size falls back to the default")
        << QByteArray("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\WINDOW_CONFIG]\r\n\"Width\"=dword:00000000\r\n")
        << true << 0 << 9600;
}

void tst_SettingsStore::restoreWindow()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, stored);
    QFETCH(int, x);
    QFETCH(int, width);
    writeStore(bytes);
    SettingsStore store;
    QVERIFY(store.load());
    Workbench wb;
    wb.store = &store;
    QCOMPARE(SettingsIo::Restore_Window(wb), stored);
    QCOMPARE(wb.settings.FORM_X, x);
    QCOMPARE(wb.settings.Width, width);
    QCOMPARE(wb.mainWidth, width);
}

void tst_SettingsStore::cp932ImportFile()
{
    // An import file made on Windows is code page 932.
    QByteArray bytes = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\SEARCH_DATA]\r\n\"DATA0\"=\"";
    bytes += Cp932::encode(QStringLiteral("日本語ﾃｷｽﾄ"));
    bytes += "\"\r\n";
    QFile f(m_dir->filePath(QStringLiteral("QUAV_INSTALL.REG")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    SettingsStore store;
    store.merge(SettingsStore::installFile({m_dir->path()}));
    QCOMPARE(store.string(QStringLiteral("search_data"), QStringLiteral("data0")).value(),
             QStringLiteral("日本語ﾃｷｽﾄ"));
}

void tst_SettingsStore::missingSectionWriteKeepsValues()
{
    writeStore("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\WINDOW_CONFIG]\r\n");
    SettingsStore store;
    QVERIFY(store.load());
    Workbench wb;
    wb.store = &store;
    ScriptedMessagePort port;
    port.answers.enqueue(MessagePort::Answer::No);
    wb.messages = &port;
    wb.settings.DATA[0] = QStringLiteral("残す");
    QVERIFY(SettingsIo::Write_Search_Data(wb));
    QCOMPARE(port.shown.size(), 1);
    SettingsStore again;
    QVERIFY(again.load());
    QCOMPARE(again.string(QStringLiteral("SEARCH_DATA"), QStringLiteral("DATA0")).value(), QStringLiteral("残す"));
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
