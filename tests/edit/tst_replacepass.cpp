#include "edit/ReplacePass.h"
#include "edit/UnsavableText.h"
#include "workarea/LineFormat.h"

#include "ScriptedMessagePort.h"

#include <QTest>

using Answer = MessagePort::Answer;

class tst_ReplacePass : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void passesOverOneFile();
    void wordOnlyInNonHitLines();
    void checks_data();
    void checks();
    void adoption_data();
    void adoption();
};

namespace {

QString entry(const QString &key, int n, const QString &text)
{
    return key + QStringLiteral(":@:") + LineFormat::Line_No_10(n) + QStringLiteral(":@:") + text;
}

QString hit(int n, const QString &text)
{
    return LineFormat::Fit_Display_Line(LineFormat::Line_No_6(n) + QLatin1Char(':') + text).text;
}

QString header(const QString &key)
{
    return LineFormat::Fit_Display_Line(LineFormat::fileHeader(LineFormat::kSearchPrefix, key, QString())).text;
}

} // namespace

void tst_ReplacePass::passesOverOneFile()
{
    const QString a = QStringLiteral("/data/abc.txt");
    const QString b = QStringLiteral("/data/b.txt");
    const QStringList display{LineFormat::kColumnHeader, header(a), hit(1, QStringLiteral("abc ABC")),
                              hit(3, QStringLiteral("x abc") + QString(90, QLatin1Char('y'))), header(b),
                              hit(1, QStringLiteral("abc"))};
    const QStringList stored{entry(a, 1, QStringLiteral("abc ABC")), entry(a, 2, QStringLiteral("no hit here")),
                             entry(a, 3, QStringLiteral("x abc") + QString(90, QLatin1Char('y'))),
                             entry(a, 4, QStringLiteral("Abc")), entry(b, 1, QStringLiteral("abc"))};

    ReplacePass pass(QStringLiteral("abc"), QStringLiteral("wxyz"), 1);
    QCOMPARE(pass.method(), qint16(2));
    const QList<DisplayChange> shown = pass.displayPass(display, 1, 3);
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].index, 2);
    QCOMPARE(shown[0].fitted.text, hit(1, QStringLiteral("wxyz wxyz")));
    QCOMPARE(shown[0].fitted.charCount, shown[0].fitted.text.size() + 2);
    // The longer text is cut to the display width again.
    QCOMPARE(shown[1].index, 3);
    QCOMPARE(shown[1].fitted.text, hit(3, QStringLiteral("x wxyz") + QString(90, QLatin1Char('y'))));
    QCOMPARE(shown[1].fitted.text.size(), 83);

    const QList<StoredChange> kept = pass.storedPass(stored, 0, 3);
    QCOMPARE(kept.size(), 3);
    QCOMPARE(kept[0].entry, entry(a, 1, QStringLiteral("wxyz wxyz")));
    QCOMPARE(kept[1].index, 2);
    QCOMPARE(kept[2].entry, entry(a, 4, QStringLiteral("wxyz")));
    QCOMPARE(pass.failures(), 0);
}

void tst_ReplacePass::wordOnlyInNonHitLines()
{
    // The display holds the hits of an earlier search word; the word replaced
    // now stands only in a line that was no hit.
    const QString key = QStringLiteral("/d/f.txt");
    const QStringList display{header(key), hit(1, QStringLiteral("first"))};
    const QStringList stored{entry(key, 1, QStringLiteral("first")), entry(key, 2, QStringLiteral("second"))};
    ReplacePass pass(QStringLiteral("second"), QStringLiteral("2nd"), 0);
    QVERIFY(pass.displayPass(display, 0, 1).isEmpty());
    const QList<StoredChange> kept = pass.storedPass(stored, 0, 1);
    QCOMPARE(kept.size(), 1);
    QCOMPARE(kept[0].entry, entry(key, 2, QStringLiteral("2nd")));
}

void tst_ReplacePass::checks_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("shiftJis"); // the target files read as code page 932
    const QStringList sj{QStringLiteral("/t/A.TXT")};

    const QString noFile = QStringLiteral("対象ファイルが選択されていません。");
    const QString deletion = QStringLiteral("置替文字が入力されていません。\r\nサーチ文字を削除します。よろしいですか？");
    const QString several = QStringLiteral("複数のファイルが選択されています。\r\n処理に時間がかかるかもしれません。");
    QTest::newRow("one file runs silently") << "a" << "b" << 1 << QList<Answer>{} << true << QStringList{} << sj;
    QTest::newRow("empty search") << "" << "b" << 1 << QList<Answer>{} << false
                                  << QStringList{QStringLiteral("サーチ文字が入力されていません。")} << sj;
    QTest::newRow("deletion confirmed") << "a" << "" << 1 << QList<Answer>{Answer::Yes} << true
                                        << QStringList{deletion} << sj;
    QTest::newRow("deletion declined") << "a" << "" << 1 << QList<Answer>{Answer::No} << false
                                       << QStringList{deletion} << sj;
    QTest::newRow("no file after deletion question") << "a" << "" << 0 << QList<Answer>{Answer::Yes} << false
                                                     << QStringList{deletion, noFile} << sj;
    QTest::newRow("two files: notice, then on") << "a" << "b" << 2 << QList<Answer>{} << true
                                                << QStringList{several} << sj;
    QTest::newRow("replacement a file cannot hold")
        << "a" << QStringLiteral("b\U0001F600") << 1 << QList<Answer>{} << false
        << QStringList{UnsavableText::Refusal(QStringLiteral("置替文字"), QStringLiteral("\U0001F600"), sj)} << sj;
    QTest::newRow("replacement only UTF files take")
        << "a" << QStringLiteral("b\U0001F600") << 1 << QList<Answer>{} << true << QStringList{} << QStringList{};
    QTest::newRow("line break pasted into the replacement") << "a" << "b\nc" << 1 << QList<Answer>{} << false
                                                            << QStringList{QStringLiteral("置替文字に改行は使えません。")} << sj;
    QTest::newRow("CR in the search text") << "a\r" << "b" << 1 << QList<Answer>{} << false
                                           << QStringList{QStringLiteral("サーチ文字に改行は使えません。")} << sj;
}

void tst_ReplacePass::checks()
{
    QFETCH(QString, search);
    QFETCH(QString, replacement);
    QFETCH(int, selected);
    QFETCH(QList<Answer>, answers);
    ScriptedMessagePort port;
    for (Answer a : answers)
        port.answers.enqueue(a);
    QFETCH(QStringList, shiftJis);
    QTEST(ReplacePass::checkRequest(search, replacement, selected, shiftJis, port), "runs");
    QTEST(port.texts(), "messages");
    for (const auto &shown : port.shown)
        QCOMPARE(shown.caption, QStringLiteral("置替"));
}

void tst_ReplacePass::adoption_data()
{
    QTest::addColumn<QString>("searchWord");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("adopted");
    QTest::newRow("same word, Yes") << "abc" << "xyz" << Answer::Yes << true << true;
    QTest::newRow("same word, No") << "abc" << "xyz" << Answer::No << true << false;
    QTest::newRow("word differs in case") << "ABC" << "xyz" << Answer::Yes << false << false;
    QTest::newRow("deletion never asks") << "abc" << "" << Answer::Yes << false << false;
}

void tst_ReplacePass::adoption()
{
    QFETCH(QString, searchWord);
    QFETCH(QString, replacement);
    QFETCH(Answer, answer);
    ScriptedMessagePort port;
    port.answers.enqueue(answer);
    QTEST(ReplacePass::askAdoption(searchWord, QStringLiteral("abc"), replacement, port), "adopted");
    QFETCH(bool, asked);
    QCOMPARE(port.shown.size(), asked ? 1 : 0);
    if (asked)
        QCOMPARE(port.shown[0].text,
                 QStringLiteral("現在の検索文字列：abcを\r\n置替文字列：") + replacement + QStringLiteral("で置き替えますか？"));
}

QTEST_APPLESS_MAIN(tst_ReplacePass)
#include "tst_replacepass.moc"
