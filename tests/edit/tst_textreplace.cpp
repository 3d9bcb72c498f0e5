#include "edit/TextReplace.h"
#include "search/WordMatcher.h"

#include <QTest>

class tst_TextReplace : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void replaceInLine_data();
    void replaceInLine();
    void refusedArgumentsWriteNothing_data();
    void refusedArgumentsWriteNothing();
    void ignoringCaseReplacesWhatTheSearchFinds_data();
    void ignoringCaseReplacesWhatTheSearchFinds();
};

namespace {

constexpr qint16 kDisplay = TextReplace::kDisplayLine;
constexpr qint16 kStored = TextReplace::kStoredLine;
constexpr qint16 kPlain = TextReplace::kPlainText;
constexpr qint16 kOverwrite = TextReplace::kOverwrite;
constexpr qint16 kSplice = TextReplace::kSplice;

} // namespace

void tst_TextReplace::replaceInLine_data()
{
    QTest::addColumn<qint16>("kind");
    QTest::addColumn<qint16>("method");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("search");
    QTest::addColumn<qint16>("compare");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("rest");   // line on return
    QTest::addColumn<QString>("output");
    QTest::addColumn<qint16>("changed");

    const qint16 exact = 0, fold = 1;
    auto row = [](const char *name, qint16 kind, qint16 method, const QString &line, const QString &search,
                  qint16 compare, const QString &replacement, const QString &rest, const QString &output,
                  qint16 changed) {
        QTest::newRow(name) << kind << method << line << search << compare << replacement << rest << output
                            << changed;
    };
    row("last character replaced too", kPlain, kOverwrite, "aa", "a", exact, "b", "bb", "bb", 1);
    row("inserted text is not searched again", kPlain, kSplice, "abab", "ab", exact, "abab", "abababab",
        "abababab", 1);
    row("no overlapping occurrences", kPlain, kSplice, "aaaaa", "aa", exact, "b", "bba", "bba", 1);
    row("ignoring case replaces every form", kPlain, kSplice, "xABCyAbcZabc", "abc", fold, "-", "x-y-Z-",
        "x-y-Z-", 1);
    row("case matters: other case stays", kPlain, kSplice, "xABCyabc", "abc", exact, "-", "xABCy-", "xABCy-", 1);
    row("full-width Latin folds", kPlain, kOverwrite, "前ＡＢＣ後", "ａｂｃ", fold, "ｘｙｚ", "前ｘｙｚ後",
        "前ｘｙｚ後", 1);
    row("full-width Latin, case matters", kPlain, kOverwrite, "前ＡＢＣ後", "ａｂｃ", exact, "ｘｙｚ",
        "前ＡＢＣ後", "前ＡＢＣ後", 0);
    row("Greek folds", kPlain, kSplice, "ΑΒΓ", "αβγ", fold, "δ", "δ", "δ", 1);
    row("Cyrillic folds", kPlain, kSplice, "ДОМ дом", "дом", fold, "x", "x x", "x x", 1);
    row("full-width is not half-width", kPlain, kSplice, "ABC", "ａｂｃ", fold, "x", "ABC", "ABC", 0);
    row("katakana is not hiragana", kPlain, kSplice, "カナ", "かな", fold, "x", "カナ", "カナ", 0);
    row("empty replacement deletes", kPlain, kSplice, "a-b--c", "-", exact, "", "abc", "abc", 1);
    row("deleting runs of the search", kPlain, kSplice, "aaa", "a", exact, "", "", "", 1);
    row("hit line keeps its number field", kDisplay, kSplice, "000012:x 000012", "000012", exact, "N",
        "x N", "000012:x N", 1);
    row("word only in the number field", kDisplay, kSplice, "000012:hello", "0001", exact, "Z", "hello",
        "000012:hello", 0);
    row("header never changes", kDisplay, kSplice, "SEARCH_FILE = /D/ABC.TXT      :@:", "ABC", exact, "Q",
        "SEARCH_FILE = /D/ABC.TXT      :@:", "SEARCH_FILE = /D/ABC.TXT      :@:", 0);
    row("duplication header never changes", kDisplay, kSplice, "MAKE___FILE = /D/A.TXT:@: <-- /D/T.TXT", "T",
        exact, "Q", "MAKE___FILE = /D/A.TXT:@: <-- /D/T.TXT", "MAKE___FILE = /D/A.TXT:@: <-- /D/T.TXT", 0);
    row("stored line: text only", kStored, kSplice, "/D/ABC:@:000012.000:@:ABC", "ABC", exact, "x", "x",
        "/D/ABC:@:000012.000:@:x", 1);
    row("stored line: key and number only", kStored, kSplice, "/D/A12:@:000012.000:@:none", "12", exact, "x",
        "none", "/D/A12:@:000012.000:@:none", 0);
    row("stored line: separator inside the text", kStored, kSplice, "/D/A:@:000003.500:@:x:@:y", ":@:", exact,
        "-", "x-y", "/D/A:@:000003.500:@:x-y", 1);
    row("stored line: empty text", kStored, kSplice, "/D/A:@:000001.000:@:", "A", fold, "b", "",
        "/D/A:@:000001.000:@:", 0);
    row("stored line without its text field", kStored, kSplice, "/D/A:@:000001.000", "A", exact, "b", "",
        "/D/A:@:000001.000", 0);
    row("plain text protects nothing", kPlain, kSplice, "000012:a0", "0", exact, "", "12:a", "12:a", 1);
    row("overwrite keeps the length", kPlain, kOverwrite, "abcabc", "bc", exact, "X", "aXcaXc", "aXcaXc", 1);
    row("overwrite with a longer text", kPlain, kOverwrite, "abab", "a", exact, "xy", "xbxb", "xbxb", 1);
    row("overwrite never beyond the end", kPlain, kOverwrite, "xa", "a", exact, "yz", "xy", "xy", 1);
    row("overwrite in another case", kPlain, kOverwrite, "xab", "AB", fold, "AB", "xAB", "xAB", 1);
    row("overwrite with nothing ends", kPlain, kOverwrite, "aXa", "a", exact, "", "aXa", "aXa", 0);
}

void tst_TextReplace::replaceInLine()
{
    QFETCH(qint16, kind);
    QFETCH(qint16, method);
    QFETCH(QString, line);
    QFETCH(QString, search);
    QFETCH(qint16, compare);
    QFETCH(QString, replacement);
    QString output = QStringLiteral("untouched");
    qint16 changed = 7;
    QCOMPARE(TextReplace::ReplaceInLine(kind, method, line, search, compare, replacement, output, changed),
             TextReplace::kDone);
    QTEST(line, "rest");
    QTEST(output, "output");
    QTEST(changed, "changed");
}

void tst_TextReplace::refusedArgumentsWriteNothing_data()
{
    QTest::addColumn<qint16>("kind");
    QTest::addColumn<qint16>("method");
    QTest::addColumn<QString>("search");
    QTest::addColumn<qint16>("compare");
    QTest::addColumn<int>("result");
    QTest::newRow("kind 4") << qint16(4) << kSplice << "a" << qint16(0) << 91;
    QTest::newRow("kind 0") << qint16(0) << kSplice << "a" << qint16(0) << 91;
    QTest::newRow("method 3") << kPlain << qint16(3) << "a" << qint16(0) << 92;
    QTest::newRow("empty search") << kPlain << kSplice << "" << qint16(0) << 93;
    QTest::newRow("compare 2") << kPlain << kSplice << "a" << qint16(2) << 94;
    QTest::newRow("kind checked before method") << qint16(4) << qint16(3) << "" << qint16(2) << 91;
    QTest::newRow("method before search") << kStored << qint16(0) << "" << qint16(2) << 92;
    QTest::newRow("search before compare") << kDisplay << kOverwrite << "" << qint16(-1) << 93;
}

void tst_TextReplace::refusedArgumentsWriteNothing()
{
    QFETCH(qint16, kind);
    QFETCH(qint16, method);
    QFETCH(QString, search);
    QFETCH(qint16, compare);
    QString line = QStringLiteral("a line with a");
    QString output = QStringLiteral("before");
    qint16 changed = 5;
    QTEST(TextReplace::ReplaceInLine(kind, method, line, search, compare, QStringLiteral("b"), output, changed),
          "result");
    QCOMPARE(line, QStringLiteral("a line with a"));
    QCOMPARE(output, QStringLiteral("before"));
    QCOMPARE(changed, qint16(5));
}

void tst_TextReplace::ignoringCaseReplacesWhatTheSearchFinds_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("line");
    QTest::newRow("ASCII") << "abc" << "xAbCx";
    QTest::newRow("full-width Latin") << "ａｂｃ" << "ＡＢＣ";
    QTest::newRow("Greek") << "αβγ" << "ΑΒΓ";
    QTest::newRow("Cyrillic") << "жизнь" << "ЖИЗНЬ";
    QTest::newRow("Roman numerals") << QStringLiteral("\u2170\u2171") << QStringLiteral("\u2160\u2161");
    QTest::newRow("half-width against full-width") << "abc" << "ＡＢＣ";
    QTest::newRow("hiragana against katakana") << "あ" << "ア";
    QTest::newRow("Latin against Greek look-alike") << "a" << "Α";
    QTest::newRow("kanji and kana, among full-width Latin") << "置替データ" << "Ｘ置替データｘ";
    QTest::newRow("half-width katakana") << "ﾃﾞｰﾀ" << "ＡﾃﾞｰﾀＡ";
    QTest::newRow("kana with a Latin letter") << "aデ" << "Aデ";
    QTest::newRow("kanji not in the line") << "置替" << "置 替";
}

// Replace finds a word exactly where the search confirmed a hit.
void tst_TextReplace::ignoringCaseReplacesWhatTheSearchFinds()
{
    QFETCH(QString, word);
    QFETCH(QString, line);
    const bool found = WordMatcher(word, true).confirm(line);
    QString text = line;
    QString output;
    qint16 changed = 0;
    QCOMPARE(TextReplace::ReplaceInLine(kPlain, kSplice, text, word, 1, QStringLiteral("#"), output, changed), 0);
    QCOMPARE(changed == 1, found);
    QCOMPARE(output.contains(QLatin1Char('#')), found);
}

QTEST_APPLESS_MAIN(tst_TextReplace)
#include "tst_textreplace.moc"
