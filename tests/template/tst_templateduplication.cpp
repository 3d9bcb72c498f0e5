#include "ScriptedMessagePort.h"
#include "TemplateFixture.h"

#include "template/TemplateDuplication.h"
#include "template/TemplateRead.h"

#include <QTest>

#include <functional>

class tst_TemplateDuplication : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newFileName_data();
    void newFileName();
    void checkRun_data();
    void checkRun();
    void replacement_data();
    void replacement();
    void run();
    void secondRunRefusedFileByFile();
    void generatedFileAsSource();
    void overflowGoesOn();
    void lineError();
};

namespace {

const QString kForm = QStringLiteral("/tpl/FORM.TXT");

// A source as template read leaves it in the work area.
AddedFile source(const QString &path, const QStringList &lines)
{
    AddedFile f;
    f.path = path;
    f.entries = TemplateRead::Template_Entries(path, lines);
    return f;
}

QStringList textsOf(const AddedFile &f)
{
    QStringList out;
    for (const QString &e : f.entries)
        out.append(LineFormat::Entry_Text(e).toString());
    return out;
}

} // namespace

void tst_TemplateDuplication::newFileName_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<int>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1: before the extension") << kForm << "A01" << 1 << "/tpl/FORM_A01.TXT";
    QTest::newRow("2: after the name") << kForm << "A01" << 2 << "/tpl/FORM.TXT_A01";
    QTest::newRow("3: the parameter in the source's folder") << kForm << "A01.TXT" << 3 << "/tpl/A01.TXT";
    QTest::newRow("1: name without a dot as 2") << "/tpl/README" << "A01" << 1 << "/tpl/README_A01";
    QTest::newRow("1: dot in a folder name not taken") << "/home/u/v1.2/README" << "A01" << 1
                                                       << "/home/u/v1.2/README_A01";
    QTest::newRow("1: dot in folder and name") << "/home/u/v1.2/a.b.txt" << "X" << 1 << "/home/u/v1.2/a.b_X.txt";
    QTest::newRow("3: dot in a folder name") << "/home/u/v1.2/README" << "B" << 3 << "/home/u/v1.2/B";
    QTest::newRow("3: source in the root") << "/FORM.TXT" << "P" << 3 << "/P";
    QTest::newRow("parameter used unchanged") << kForm << " a b " << 1 << "/tpl/FORM_ a b .TXT";
}

void tst_TemplateDuplication::newFileName()
{
    QFETCH(QString, source);
    QFETCH(QString, parameter);
    QFETCH(int, pattern);
    QFETCH(QString, expected);
    QCOMPARE(TemplateDuplication::New_File_Name(source, parameter, pattern), expected);
}

void tst_TemplateDuplication::checkRun_data()
{
    QTest::addColumn<int>("sources");
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("pattern");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("no source") << 0 << "XX" << 1 << QStringLiteral("対象ファイルが選択されていません。");
    QTest::newRow("no source comes before no search text") << 0 << "" << 3
                                                           << QStringLiteral("対象ファイルが選択されていません。");
    QTest::newRow("no search text") << 2 << "" << 1 << QStringLiteral("検索文字列が設定されていません。");
    QTest::newRow("pattern 3 with two sources")
        << 2 << "XX" << 3
        << QStringLiteral("生成ファイル名に＃＃＃を選択したときは、\r\n対象ファイルは、１つしか選択できません。");
    QTest::newRow("pattern 3 with one source") << 1 << "XX" << 3 << QString();
    QTest::newRow("pattern 1 with two sources") << 2 << "XX" << 1 << QString();
}

void tst_TemplateDuplication::checkRun()
{
    QFETCH(int, sources);
    QFETCH(QString, search);
    QFETCH(int, pattern);
    QFETCH(QString, refusal);
    ScriptedMessagePort port;
    QCOMPARE(TemplateDuplication::Check_Run(sources, search, pattern, port), refusal.isEmpty());
    QCOMPARE(port.texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
    for (const auto &s : std::as_const(port.shown))
        QCOMPARE(s.caption, QStringLiteral("雛形複製"));
}

void tst_TemplateDuplication::replacement_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("method");
    QTest::newRow("same length overwrites") << "XX" << "AB" << QStringList{"id=XX;XX", "none"}
                                            << QStringList{"id=AB;AB", "none"} << 1;
    QTest::newRow("longer splices") << "XX" << "A001" << QStringList{"XXyXX"} << QStringList{"A001yA001"} << 2;
    QTest::newRow("shorter splices") << "XX" << "Z" << QStringList{"aXXb"} << QStringList{"aZb"} << 2;
    QTest::newRow("letter case significant") << "xx" << "AB" << QStringList{"XX xx"} << QStringList{"XX AB"} << 1;
    QTest::newRow("search text in the path left alone")
        << "FORM" << "P1" << QStringList{"text"} << QStringList{"text"} << 2;
    QTest::newRow("empty line kept") << "XX" << "A01" << QStringList{"XX", "", "XX"}
                                     << QStringList{"A01", "", "A01"} << 2;
}

void tst_TemplateDuplication::replacement()
{
    QFETCH(QString, search);
    QFETCH(QString, parameter);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, expected);
    QFETCH(int, method);
    MemoryTemplateStore store;
    store.files.append(source(kForm, lines));
    RecordingReplace replace;
    const auto made =
        TemplateDuplication::Make_File_Seisei(parameter, search, kForm, 1, store, std::ref(replace));
    QCOMPARE(made.status, TemplateDuplication::Status::Made);
    QCOMPARE(textsOf(made.file), expected);
    QCOMPARE(replace.lastMethod, method);
    QCOMPARE(replace.lastCompare, 0);
    const QString key = QStringLiteral("/tpl/FORM_") + parameter + QStringLiteral(".TXT");
    for (qsizetype i = 0; i < made.file.entries.size(); ++i) {
        QCOMPARE(LineFormat::Entry_Key(made.file.entries.at(i)).toString(), key);
        QCOMPARE(LineFormat::Entry_Line_No(made.file.entries.at(i)).toString(), LineFormat::Line_No_10(i + 1));
    }
    // The source is untouched.
    QCOMPARE(textsOf(store.files.first()), lines);
}

void tst_TemplateDuplication::run()
{
    MemoryTemplateStore store;
    store.files.append(source(kForm, {"name=XX", "", "end"}));
    RecordingReplace replace;
    ScriptedMessagePort port;
    const auto summary = TemplateDuplication::Run({"A01", "B02"}, {kForm}, "XX", 1, store, port, std::ref(replace));
    QVERIFY(port.shown.isEmpty());
    QCOMPARE(summary.made, 2);
    QCOMPARE(summary.newPaths, (QStringList{"/tpl/FORM_A01.TXT", "/tpl/FORM_B02.TXT"}));
    QCOMPARE(store.paths(), (QStringList{kForm, "/tpl/FORM_A01.TXT", "/tpl/FORM_B02.TXT"}));
    const AddedFile &a = store.files.at(1);
    QCOMPARE(a.entries, (QStringList{"/tpl/FORM_A01.TXT:@:000001.000:@:name=A01", "/tpl/FORM_A01.TXT:@:000002.000:@:",
                                     "/tpl/FORM_A01.TXT:@:000003.000:@:end"}));
    QCOMPARE(a.header, QStringLiteral("MAKE___FILE = /tpl/FORM_A01.TXT:@: <-- /tpl/FORM.TXT"));
    QVERIFY(a.changed);
    QVERIFY(a.bytes.isEmpty());
    QCOMPARE(store.files.at(2).header, QStringLiteral("MAKE___FILE = /tpl/FORM_B02.TXT:@: <-- /tpl/FORM.TXT"));
    QCOMPARE(textsOf(store.files.at(2)), (QStringList{"name=B02", "", "end"}));

    // Pattern 3 with two sources: refused before anything is made.
    store.files.append(source("/tpl/OTHER.TXT", {"XX"}));
    const auto refused = TemplateDuplication::Run({"C03"}, {kForm, "/tpl/OTHER.TXT"}, "XX", 3, store, port,
                                                  std::ref(replace));
    QVERIFY(refused.refused);
    QCOMPARE(store.files.size(), 4);
    QCOMPARE(port.shown.size(), 1);
}

void tst_TemplateDuplication::secondRunRefusedFileByFile()
{
    MemoryTemplateStore store;
    store.files.append(source(kForm, {"XX"}));
    store.files.append(source("/tpl/B.TXT", {"XX"}));
    RecordingReplace replace;
    ScriptedMessagePort port;
    const QStringList params{"A01", "B02"}, sources{kForm, "/tpl/B.TXT"};
    QCOMPARE(TemplateDuplication::Run(params, sources, "XX", 1, store, port, std::ref(replace)).made, 4);
    QVERIFY(port.shown.isEmpty());
    const auto again = TemplateDuplication::Run(params, sources, "XX", 1, store, port, std::ref(replace));
    QCOMPARE(again.made, 0);
    QCOMPARE(again.alreadyOpen, 4);
    QCOMPARE(store.files.size(), 6);
    const QString tail = QStringLiteral("\r\n同じファイルが既に開かれています。\r\nこのファイルの複製は中止します。");
    QCOMPARE(port.texts(), (QStringList{"/tpl/FORM_A01.TXT" + tail, "/tpl/B_A01.TXT" + tail,
                                        "/tpl/FORM_B02.TXT" + tail, "/tpl/B_B02.TXT" + tail}));
}

void tst_TemplateDuplication::generatedFileAsSource()
{
    MemoryTemplateStore store;
    store.files.append(source(kForm, {"id=XX"}));
    RecordingReplace replace;
    ScriptedMessagePort port;
    TemplateDuplication::Run({"A01"}, {kForm}, "XX", 1, store, port, std::ref(replace));
    const auto second =
        TemplateDuplication::Run({"Z"}, {"/tpl/FORM_A01.TXT"}, "A01", 2, store, port, std::ref(replace));
    QCOMPARE(second.newPaths, QStringList{"/tpl/FORM_A01.TXT_Z"});
    const AddedFile &made = store.files.last();
    QCOMPARE(made.entries, QStringList{"/tpl/FORM_A01.TXT_Z:@:000001.000:@:id=Z"});
    QCOMPARE(made.header, QStringLiteral("MAKE___FILE = /tpl/FORM_A01.TXT_Z:@: <-- /tpl/FORM_A01.TXT"));
}

void tst_TemplateDuplication::overflowGoesOn()
{
    MemoryTemplateStore store;
    store.files.append(source("/tpl/BIG.TXT", {"1", "2", "3"}));
    store.files.append(source("/tpl/S.TXT", {"XX"}));
    store.otherLines = 32700 - 4 - 2; // room for two more lines
    RecordingReplace replace;
    ScriptedMessagePort port;
    const auto summary = TemplateDuplication::Run({"P", "Q"}, {"/tpl/BIG.TXT", "/tpl/S.TXT"}, "XX", 1, store, port,
                                                  std::ref(replace));
    QCOMPARE(summary.newPaths, (QStringList{"/tpl/S_P.TXT", "/tpl/S_Q.TXT"}));
    QCOMPARE(summary.overflow, 2);
    const QString tail = QStringLiteral("で複製中に、Over Flow しました。\r\n対象データが多すぎます。雛形複製は中止しました。");
    QCOMPARE(port.texts(), (QStringList{"/tpl/BIG.TXTをP" + tail, "/tpl/BIG.TXTをQ" + tail}));
    QCOMPARE(store.storedLines(), qint64(32700));

    // A full file list reads as the same overflow.
    store.fileRoom = 0;
    port.shown.clear();
    const auto full = TemplateDuplication::Run({"R"}, {"/tpl/S.TXT"}, "XX", 2, store, port, std::ref(replace));
    QCOMPARE(full.overflow, 1);
    QCOMPARE(port.texts(), QStringList{"/tpl/S.TXTをR" + tail});
}

void tst_TemplateDuplication::lineError()
{
    MemoryTemplateStore store;
    store.files.append(source(kForm, {"a", "b", "c"}));
    RecordingReplace replace;
    replace.failOnCall = 2;
    ScriptedMessagePort port;
    const auto summary = TemplateDuplication::Run({"P"}, {kForm}, "XX", 1, store, port, std::ref(replace));
    QCOMPARE(summary.made, 1);
    QCOMPARE(textsOf(store.files.last()), (QStringList{"a", "c"}));
    QCOMPARE(port.texts(), QStringList{"実行時のエラーを検出しました。\r\n複製失敗"});
    QCOMPARE(port.shown.first().caption, QStringLiteral("雛形複製処理"));
    QCOMPARE(port.shown.first().icon, MessagePort::Icon::Critical);
}

QTEST_GUILESS_MAIN(tst_TemplateDuplication)
#include "tst_templateduplication.moc"
