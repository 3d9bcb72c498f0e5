#include "ScriptedMessagePort.h"
#include "TemplateFixture.h"

#include "template/TemplateDuplication.h"

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
    void overflowGoesOn();
    void shiftJisTemplateRefusesUnmapped_data();
    void shiftJisTemplateRefusesUnmapped();
};

namespace {

const QString kForm = QStringLiteral("/tpl/FORM.TXT");

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
    QTest::newRow("3: named the parameter, in the source's folder") << kForm << "A01.TXT" << 3 << "/tpl/A01.TXT";
    QTest::newRow("1: name without a dot as 2") << "/tpl/README" << "A01" << 1 << "/tpl/README_A01";
    QTest::newRow("1: dot in a folder name not taken") << "/u/v1.2/README" << "A01" << 1 << "/u/v1.2/README_A01";
    QTest::newRow("1: last dot of the name") << "/u/v1.2/a.b.txt" << "X" << 1 << "/u/v1.2/a.b_X.txt";
    QTest::newRow("3: source in the root") << "/FORM.TXT" << "P" << 3 << "/P";
}

void tst_TemplateDuplication::newFileName()
{
    QFETCH(QString, source);
    QFETCH(QString, parameter);
    QFETCH(int, pattern);
    QFETCH(QString, expected);
    QCOMPARE(TemplateDuplication::newFileName(source, parameter, pattern), expected);
}

void tst_TemplateDuplication::checkRun_data()
{
    QTest::addColumn<int>("sources");
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("pattern");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("no source, before no search text") << 0 << "" << 1 << QStringLiteral("対象ファイルが選択されていません。");
    QTest::newRow("no search text") << 2 << "" << 1 << QStringLiteral("検索文字列が設定されていません。");
    QTest::newRow("pattern 3 with two sources")
        << 2 << "XX" << 3 << QStringLiteral("生成ファイル名に＃＃＃を選択したときは、\r\n対象ファイルは、１つしか選択できません。");
    QTest::newRow("pattern 3 with one source") << 1 << "XX" << 3 << QString();
}

void tst_TemplateDuplication::checkRun()
{
    QFETCH(int, sources);
    QFETCH(QString, search);
    QFETCH(int, pattern);
    QFETCH(QString, refusal);
    ScriptedMessagePort port;
    QCOMPARE(TemplateDuplication::checkRun(sources, search, pattern, port), refusal.isEmpty());
    QCOMPARE(port.texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
}

void tst_TemplateDuplication::replacement_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("method");
    QTest::newRow("same length overwrites") << "XX" << "AB" << "id=XX;XX" << "id=AB;AB" << 1;
    QTest::newRow("longer splices") << "XX" << "A001" << "XXyXX" << "A001yA001" << 2;
    QTest::newRow("letter case significant") << "xx" << "AB" << "XX xx" << "XX AB" << 1;
    QTest::newRow("search text in the path only") << "FORM" << "P1" << "text" << "text" << 2;
}

void tst_TemplateDuplication::replacement()
{
    QFETCH(QString, search);
    QFETCH(QString, parameter);
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QFETCH(int, method);
    MemoryTemplateStore store;
    store.addSource(kForm, {line});
    RecordingReplace replace;
    const auto made = TemplateDuplication::Make_File_Seisei(parameter, search, kForm, 1, store, std::ref(replace));
    QCOMPARE(made.file.entries, QStringList{"/tpl/FORM_" + parameter + ".TXT:@:000001.000:@:" + expected});
    QCOMPARE(replace.lastMethod, method);
    QCOMPARE(replace.lastCompare, 0);
    QCOMPARE(textsOf(store.files.first()), QStringList{line});
}

void tst_TemplateDuplication::run()
{
    MemoryTemplateStore store;
    store.addSource(kForm, {"name=XX", "", "end"});
    store.files[0].bytes = "name=XX\n\nend";
    RecordingReplace replace;
    ScriptedMessagePort port;
    const auto summary = TemplateDuplication::Run({"A01", "B02"}, {kForm}, "XX", 1, store, port, std::ref(replace));
    QVERIFY(port.shown.isEmpty());
    QCOMPARE(summary.newPaths, (QStringList{"/tpl/FORM_A01.TXT", "/tpl/FORM_B02.TXT"}));
    const AddedFile &a = store.files.at(1);
    QCOMPARE(a.entries, (QStringList{"/tpl/FORM_A01.TXT:@:000001.000:@:name=A01", "/tpl/FORM_A01.TXT:@:000002.000:@:",
                                     "/tpl/FORM_A01.TXT:@:000003.000:@:end"}));
    QCOMPARE(a.header, QStringLiteral("MAKE___FILE = /tpl/FORM_A01.TXT:@: <-- /tpl/FORM.TXT"));
    QVERIFY(a.changed && store.files.at(2).changed);
    // The bytes a save keeps the template's codes and breaks from.
    QCOMPARE(a.bytes, QByteArray("name=XX\n\nend"));
    QCOMPARE(textsOf(store.files.at(2)), (QStringList{"name=B02", "", "end"}));

    // A made file serves as a source with the parameter already put in.
    TemplateDuplication::Run({"Z"}, {"/tpl/FORM_A01.TXT"}, "A01", 2, store, port, std::ref(replace));
    QCOMPARE(store.files.last().entries.first(), QStringLiteral("/tpl/FORM_A01.TXT_Z:@:000001.000:@:name=Z"));
    QCOMPARE(store.files.last().header, QStringLiteral("MAKE___FILE = /tpl/FORM_A01.TXT_Z:@: <-- /tpl/FORM_A01.TXT"));
    QCOMPARE(store.files.last().bytes, QByteArray("name=XX\n\nend"));

    // Refused before anything is made.
    const auto refused = TemplateDuplication::Run({"C"}, {kForm, "/tpl/FORM_A01.TXT"}, "XX", 3, store, port,
                                                  std::ref(replace));
    QVERIFY(refused.refused);
    QCOMPARE(store.files.size(), 4);
}

void tst_TemplateDuplication::secondRunRefusedFileByFile()
{
    MemoryTemplateStore store;
    store.addSource(kForm, {"XX"});
    store.addSource("/tpl/B.TXT", {"XX"});
    RecordingReplace replace;
    ScriptedMessagePort port;
    const QStringList params{"A01", "B02"}, sources{kForm, "/tpl/B.TXT"};
    QCOMPARE(TemplateDuplication::Run(params, sources, "XX", 1, store, port, std::ref(replace)).made, 4);
    const auto again = TemplateDuplication::Run(params, sources, "XX", 1, store, port, std::ref(replace));
    QCOMPARE(again.alreadyOpen, 4);
    QCOMPARE(store.files.size(), 6);
    const QString tail = QStringLiteral("\r\n同じファイルが既に開かれています。\r\nこのファイルの複製は中止します。");
    QCOMPARE(port.texts(), (QStringList{"/tpl/FORM_A01.TXT" + tail, "/tpl/B_A01.TXT" + tail,
                                        "/tpl/FORM_B02.TXT" + tail, "/tpl/B_B02.TXT" + tail}));

    // A stop asked for while a file is made ends the run after that file.
    bool stop = false;
    const TemplateRunPorts window{nullptr, nullptr, nullptr, RunNotices::Boxes::Every, &stop};
    const auto stopping = [&](auto &&...args) { return stop = true, replace(args...); };
    QCOMPARE(TemplateDuplication::Run({"C03", "D04"}, sources, "XX", 1, store, port, stopping, window).newPaths,
             QStringList{"/tpl/FORM_C03.TXT"});
}

void tst_TemplateDuplication::overflowGoesOn()
{
    MemoryTemplateStore store;
    store.addSource("/tpl/BIG.TXT", {"1", "2", "3"});
    store.addSource("/tpl/S.TXT", {"XX"});
    store.otherLines = 32700 - 4 - 2; // room for two more lines
    RecordingReplace replace;
    ScriptedMessagePort port;
    const auto summary = TemplateDuplication::Run({"P", "Q"}, {"/tpl/BIG.TXT", "/tpl/S.TXT"}, "XX", 1, store, port,
                                                  std::ref(replace));
    QCOMPARE(summary.newPaths, (QStringList{"/tpl/S_P.TXT", "/tpl/S_Q.TXT"}));
    const QString tail = QStringLiteral("で複製中に、Over Flow しました。\r\n対象データが多すぎます。雛形複製は中止しました。");
    QCOMPARE(port.texts(), (QStringList{"/tpl/BIG.TXTをP" + tail, "/tpl/BIG.TXTをQ" + tail}));

    // No room in the file list reads as the same overflow.
    store.fileRoom = 0;
    port.shown.clear();
    QCOMPARE(TemplateDuplication::Run({"R"}, {"/tpl/S.TXT"}, "XX", 2, store, port, std::ref(replace)).overflow, 1);
    QCOMPARE(port.texts(), QStringList{"/tpl/S.TXTをR" + tail});
}

void tst_TemplateDuplication::shiftJisTemplateRefusesUnmapped_data()
{
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QByteArray>("nativeName");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("refusal");
    const QString tail = QStringLiteral("のため、このファイルは作りません。");
    QTest::newRow("Shift-JIS template") << TextEncoding::Cp932 << QByteArray() << QStringLiteral("x\u00e9")
                                        << QStringLiteral("がシフトJISのファイル") + tail;
    QTest::newRow("UTF-8 template takes it") << TextEncoding::Utf8 << QByteArray() << QStringLiteral("x\u00e9")
                                             << QString();
    QTest::newRow("UTF-16 template takes it") << TextEncoding::Utf16BE << QByteArray() << QStringLiteral("\U0001F600")
                                              << QString();
    QTest::newRow("UTF-8 template with a Shift-JIS name") << TextEncoding::Utf8 << QByteArray("/tpl/\x95\x5C.TXT")
                                                          << QStringLiteral("x\u00e9")
                                                          << QStringLiteral("の名前がシフトJIS") + tail;
    QTest::newRow("Shift-JIS template, mapped parameter") << TextEncoding::Cp932 << QByteArray()
                                                          << QStringLiteral("\uFF21\u2460") << QString();
}

void tst_TemplateDuplication::shiftJisTemplateRefusesUnmapped()
{
    QFETCH(TextEncoding, encoding);
    QFETCH(QByteArray, nativeName);
    QFETCH(QString, parameter);
    QFETCH(QString, refusal);
    MemoryTemplateStore store;
    store.addSource(kForm, {"XX"});
    store.files[0].encoding = encoding;
    store.files[0].nativePath = nativeName;
    RecordingReplace replace;
    ScriptedMessagePort port;
    const auto summary = TemplateDuplication::Run({parameter}, {kForm}, "XX", 1, store, port, std::ref(replace));
    QCOMPARE(summary.made, refusal.isEmpty() ? 1 : 0);
    QCOMPARE(summary.unsavable, refusal.isEmpty() ? 0 : 1);
    if (refusal.isEmpty())
        QCOMPARE(store.files.last().encoding, encoding);
    const QString message = "/tpl/FORM_" + parameter + ".TXT\r\nパラメータにシフトJISで表せない文字が含まれています。（"
        + parameter.right(1) + "）\r\n雛形" + refusal;
    QCOMPARE(port.texts(), refusal.isEmpty() ? QStringList() : QStringList{message});
}

QTEST_GUILESS_MAIN(tst_TemplateDuplication)
#include "tst_templateduplication.moc"
