#include "app/AccessKey.h"
#include "app/CommandLine.h"
#include "app/ManualPages.h"
#include "base/ScreenFit.h"
#include "base/Workbench.h"
#include "app/widgets/KIHON.h"
#include "platform/SettingsStore.h"

#include "ScriptedMessagePort.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

// What a desktop user expects of the program: access keys, windows on the
// screens there are, the icon, and a command line that answers --help.
Q_DECLARE_METATYPE(BatchCommandText)

class tst_Desktop : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void accessKey_data();
    void accessKey();
    void fitWindow_data();
    void fitWindow();
    void dialogPosition_data();
    void dialogPosition();
    void commandLine_data();
    void commandLine();
    void printsWithoutDisplay_data();
    void printsWithoutDisplay();
    void unknownOptionRefused();
    void everyOptionDocumented_data();
    void everyOptionDocumented();
    void storedGeometryFittedAtStart();
    void altEOpensEditMenu();
    void windowIcon();
};

void tst_Desktop::accessKey_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("folding");
    QTest::newRow("ASCII letter") << "　ﾌｧｲﾙ(&F)　" << "F" << false;
    QTest::newRow("full-width letter") << "　編集(&Ｅ)　" << "E" << true;
    QTest::newRow("lower case") << "簡易(&e)" << "E" << false;
    QTest::newRow("full-width lower case") << "(&ｓ)" << "S" << true;
    QTest::newRow("literal ampersand first") << "A&&B(&C)" << "C" << false;
    QTest::newRow("only a literal ampersand") << "A&&B" << "" << false;
    QTest::newRow("ampersand at the end") << "末尾&" << "" << false;
    QTest::newRow("none") << "ﾊﾞｰｼﾞｮﾝ情報" << "" << false;
}

void tst_Desktop::accessKey()
{
    QFETCH(QString, caption);
    QFETCH(QString, key);
    QFETCH(bool, folding);
    const QChar c = AccessKey::Of(caption);
    QCOMPARE(c.isNull() ? QString() : QString(c), key);
    QCOMPARE(AccessKey::needsFolding(caption), folding);
}

void tst_Desktop::fitWindow_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("fitted");
    // Two monitors side by side; the first has a panel at its bottom.
    QTest::newRow("on the first screen") << QRect(100, 100, 800, 600) << QMargins() << QRect(100, 100, 800, 600);
    QTest::newRow("on the second screen") << QRect(2000, 300, 800, 600) << QMargins() << QRect(2000, 300, 800, 600);
    QTest::newRow("on a monitor that is gone") << QRect(3500, 200, 800, 600) << QMargins() << QRect(1120, 200, 800, 600);
    QTest::newRow("larger than a screen (scale factor)") << QRect(0, 0, 2560, 1600) << QMargins() << QRect(0, 0, 1920, 1040);
    QTest::newRow("mostly on the second, past its edge") << QRect(2800, 100, 800, 600) << QMargins() << QRect(2400, 100, 800, 600);
    QTest::newRow("above the top") << QRect(100, -50, 800, 600) << QMargins() << QRect(100, 0, 800, 600);
    QTest::newRow("into the panel") << QRect(100, 800, 800, 600) << QMargins() << QRect(100, 440, 800, 600);
    QTest::newRow("room for the frame") << QRect(-100, -100, 800, 600) << QMargins(4, 30, 4, 4)
                                        << QRect(4, 30, 800, 600);
    QTest::newRow("frame and size cut") << QRect(0, 0, 2560, 1600) << QMargins(4, 30, 4, 4)
                                        << QRect(4, 30, 1912, 1006);
    QTest::newRow("fitting with its frame left alone") << QRect(0, 0, 800, 600) << QMargins(4, 30, 4, 4)
                                                       << QRect(0, 0, 800, 600);
}

void tst_Desktop::fitWindow()
{
    QFETCH(QRect, window);
    QFETCH(QMargins, frame);
    QFETCH(QRect, fitted);
    const QList<QRect> screens = {QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1024)};
    QCOMPARE(ScreenFit::fitWindow(window, screens, frame), fitted);
}

void tst_Desktop::dialogPosition_data()
{
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<QPoint>("position");
    const QRect main(1000, 100, 600, 400);
    QTest::newRow("on the screen: where the remembered rectangle puts it") << QRect(50, 60, 200, 100)
                                                                           << QPoint(50, 60);
    QTest::newRow("off the screen: centred on the main window") << QRect(3000, 60, 200, 100) << QPoint(1200, 250);
}

void tst_Desktop::dialogPosition()
{
    QFETCH(QRect, wanted);
    QFETCH(QPoint, position);
    QCOMPARE(ScreenFit::dialogPosition(wanted, QRect(1000, 100, 600, 400), {QRect(0, 0, 1920, 1040)}), position);
}

void tst_Desktop::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("version");
    QTest::addColumn<bool>("dump");
    QTest::addColumn<bool>("error");
    QTest::newRow("nothing") << QStringList() << false << false << false << false;
    QTest::newRow("help") << QStringList{"--help"} << true << false << false << false;
    QTest::newRow("dump button") << QStringList{"--dump"} << false << false << true << false;
    QTest::newRow("unknown option") << QStringList{"--bogus"} << false << false << false << true;
    QTest::newRow("stray argument") << QStringList{"folder"} << false << false << false << true;
    QTest::newRow("help beside an unknown option") << QStringList{"--bogus", "--help"} << true << false << false << true;
}

void tst_Desktop::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(bool, help);
    QFETCH(bool, version);
    QFETCH(bool, dump);
    QFETCH(bool, error);
    const CommandLine::Options o = CommandLine::Parse(args);
    QCOMPARE(o.help, help);
    QCOMPARE(o.version, version);
    QCOMPARE(o.dumpButton, dump);
    QCOMPARE(!o.error.isEmpty(), error);
}

void tst_Desktop::printsWithoutDisplay_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("option");
    for (const char *program : {"quav", "quav-window"})
        for (const char *option : {"--help", "--version"})
            QTest::addRow("%s %s", program, option) << QString::fromLatin1(program) << QString::fromLatin1(option);
}

void tst_Desktop::printsWithoutDisplay()
{
    QFETCH(QString, program);
    QFETCH(QString, option);
    // With no display to be had, opening a window would fail.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../src/") + program, {option});
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    QCOMPARE(out, option == QLatin1String("--help") ? CommandLine::helpText() : CommandLine::versionText());
}

void tst_Desktop::everyOptionDocumented_data()
{
    QTest::addColumn<BatchCommandText>("command");
    for (const BatchCommandText &c : ManualPages::commands())
        QTest::newRow(qPrintable(c.page)) << c;
}

// The help, the manual page the program prints and the completion name
// every option the command takes, and the command parses each of them.
void tst_Desktop::everyOptionDocumented()
{
    QFETCH(BatchCommandText, command);
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../src/quav"),
            {QStringLiteral("--man"), command.page});
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(p.exitCode(), 0);
    const QString page = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY(page.startsWith(QStringLiteral("'\\\" -*- coding: utf-8 -*-\n.TH ") + command.page.toUpper()));
    const QString help = command.helpText();
    const QString completion = ManualPages::bashCompletion();
    int listed = 0;
    for (const BatchOption &o : BatchOption::all()) {
        if (!o.serves(command.command))
            continue;
        ++listed;
        const QString spelled = o.isFlag() ? o.name : o.name + QLatin1Char(' ') + o.value;
        QVERIFY2(help.contains(QStringLiteral("\n  ") + spelled + QLatin1Char(' ')), qPrintable(spelled));
        QVERIFY2(page.contains(QStringLiteral("\n.B ") + QString(o.alias.isEmpty() ? o.name : o.alias + QStringLiteral(", ") + o.name)
                                                        .replace(QLatin1Char('-'), QStringLiteral("\\-"))),
                 qPrintable(o.name));
        QVERIFY2(completion.contains(QRegularExpression(QStringLiteral("[ \"]") + QRegularExpression::escape(o.name)
                                                         + QStringLiteral("[ \"]"))),
                 qPrintable(o.name));
        QVERIFY2(BatchOption::find(command.command, o.name) == &o, qPrintable(o.name));
    }
    QVERIFY(listed > 1);
}

void tst_Desktop::unknownOptionRefused()
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../src/quav"), {QStringLiteral("--bogus")});
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("--bogus")));
}

void tst_Desktop::storedGeometryFittedAtStart()
{
    QTemporaryDir config, startDir;
    qputenv("QUAV_CONFIG_DIR", config.path().toUtf8());
    // A window stored on a monitor far to the right, larger than this screen.
    {
        SettingsStore s;
        QVERIFY(s.importInstallFile());
        s.setNumber(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("FORM_X"), 60000);
        s.setNumber(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("FORM_Y"), 3000);
        s.setNumber(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("Width"), 45000);
        s.setNumber(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("Height"), 30000);
        QVERIFY(s.save());
    }
    Workbench wb;
    SettingsStore store;
    wb.store = &store;
    ScriptedMessagePort port;
    KIHON window(wb);
    wb.messages = &port;
    window.Form_Load(startDir.path());
    window.show();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    auto text = [](const QRect &r) { return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); };
    QVERIFY2(screen.contains(window.frameGeometry()), qPrintable(text(window.frameGeometry()) + QStringLiteral(" on ") + text(screen)));
    // Dialogs centre on the window as it was fitted.
    const int k = Workbench::kTwipsPerPixel;
    QVERIFY(screen.contains(QRect(wb.mainLeft / k, wb.mainTop / k, wb.mainWidth / k, wb.mainHeight / k)));
    QCOMPARE(wb.settings.Width, wb.mainWidth);
}

void tst_Desktop::altEOpensEditMenu()
{
    QTemporaryDir config, startDir;
    qputenv("QUAV_CONFIG_DIR", config.path().toUtf8());
    Workbench wb;
    SettingsStore store;
    wb.store = &store;
    KIHON window(wb);
    window.Form_Load(startDir.path());
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *edit = window.menuBar()->findChild<QMenu *>(QStringLiteral("M_EDIT"));
    QVERIFY(edit);
    QTest::keyClick(&window, Qt::Key_E, Qt::AltModifier);
    QTRY_VERIFY(edit->isVisible());
    edit->close();
    // The ASCII access keys work as the toolkit gives them.
    auto *file = window.menuBar()->findChild<QMenu *>(QStringLiteral("M_FILE"));
    QTest::keyClick(&window, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(file->isVisible());
    file->close();
}

void tst_Desktop::windowIcon()
{
    const QIcon icon = KIHON::applicationIcon();
    for (int size : {16, 32, 48, 256})
        QCOMPARE(icon.pixmap(size).size(), QSize(size, size));
}

QTEST_MAIN(tst_Desktop)
#include "tst_desktop.moc"
