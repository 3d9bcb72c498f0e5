#include "ScriptedMessagePort.h"

#include "template/ParameterImages.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_ParameterImages : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void card_data();
    void card();
    void readTwiceThenCommit();
    void unreadableCard();
    void add_data();
    void add();
    void remove();
    void commit_data();
    void commit();
    void sortedOrder();
};

namespace {

const QString kMessageCaption = QStringLiteral("複製用パラメータ読み込み");

QByteArray cardOf(int lines)
{
    QByteArray out;
    for (int i = 1; i <= lines; ++i)
        out += "P" + QByteArray::number(1000 + i) + "\r\n";
    return out;
}

QString writeCard(const QTemporaryDir &tmp, const QByteArray &bytes)
{
    const QString path = tmp.path() + QStringLiteral("/card.txt");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return QString();
    return path;
}

} // namespace

void tst_ParameterImages::card_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("images");
    QTest::addColumn<QStringList>("messages");
    const QStringList none;
    const QStringList cut{QStringLiteral("パラメータは１００枚までです。以降のイメージは読み捨てました。")};
    QTest::newRow("100 lines, no message") << cardOf(100) << 100 << none;
    QTest::newRow("101 lines keep 100, with message") << cardOf(101) << 100 << cut;
    QTest::newRow("100 lines then one empty line") << cardOf(100) + "\r\n" << 100 << cut;
    QTest::newRow("empty card adds nothing") << QByteArray() << 0 << none;
    QTest::newRow("empty line kept") << QByteArray("A\r\n\r\nB\r\n") << 3 << none;
}

void tst_ParameterImages::card()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, images);
    QFETCH(QStringList, messages);
    QTemporaryDir tmp;
    const QString path = writeCard(tmp, bytes);
    DuplicationParameters committed;
    committed.values = QStringList{QStringLiteral("ZZZ")};
    ParameterImages list(committed);
    QCOMPARE(list.Commit_Caption(), QStringLiteral("キャンセル"));
    ScriptedMessagePort port;
    QVERIFY(list.Read_Card(path, port));
    // Added to what the list held before.
    QCOMPARE(list.count(), images + 1);
    QCOMPARE(port.texts(), messages);
    for (const auto &s : std::as_const(port.shown))
        QCOMPARE(s.caption, kMessageCaption);
    QCOMPARE(list.Commit_Caption(), QStringLiteral("設定完了"));
}

void tst_ParameterImages::readTwiceThenCommit()
{
    QTemporaryDir tmp;
    const QString path = writeCard(tmp, " A01 \r\nB02\r\n   \r\n");
    ParameterImages list{DuplicationParameters{}};
    ScriptedMessagePort port;
    QVERIFY(list.Read_Card(path, port));
    // Lines unchanged, blanks included; accepted at the commit.
    QCOMPARE(list.images(), (QStringList{"   ", " A01 ", "B02"}));
    DuplicationParameters params;
    QVERIFY(list.Commit(params, port));
    QCOMPARE(params.values, (QStringList{"   ", " A01 ", "B02"}));
    QCOMPARE(params.Param_Count(), 3);

    QVERIFY(list.Read_Card(path, port));
    QCOMPARE(list.count(), 6);
    QVERIFY(port.shown.isEmpty());
    QVERIFY(!list.Commit(params, port));
    QCOMPARE(port.texts(), QStringList{"パラメータが重複しています。"});
    QCOMPARE(params.Param_Count(), 3);
}

void tst_ParameterImages::unreadableCard()
{
    DuplicationParameters committed;
    committed.values = QStringList{QStringLiteral("A01")};
    ParameterImages list(committed);
    ScriptedMessagePort port;
    QVERIFY(!list.Read_Card(QStringLiteral("/nonexistent/card.txt"), port));
    QCOMPARE(list.images(), QStringList{"A01"});
    QCOMPARE(port.shown.size(), 1);
    QVERIFY(port.shown.first().text.startsWith(QStringLiteral("/nonexistent/card.txt\r\n")));
    QCOMPARE(port.shown.first().icon, MessagePort::Icon::Critical);
    QCOMPARE(list.Commit_Caption(), QStringLiteral("キャンセル"));

    QVERIFY(!list.Read_Card(QString(), port));
    QCOMPARE(port.shown.last().text, QStringLiteral("リストが選択されていません。"));
}

void tst_ParameterImages::add_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QStringList>("images");
    QTest::newRow("trimmed, and the box shows it")
        << "  B02 " << "B02" << QString() << QStringList{"A01", "B02"};
    QTest::newRow("full-width blanks trimmed too")
        << QStringLiteral("\u3000C03\u3000") << "C03" << QString() << QStringList{"A01", "C03"};
    QTest::newRow("blanks only") << "   " << "" << QStringLiteral("追加イメージが入力されていません。")
                                 << QStringList{"A01"};
    QTest::newRow("already there") << " A01" << "A01" << QStringLiteral("パラメータイメージが重複しています。")
                                   << QStringList{"A01"};
    QTest::newRow("other letter case is another value") << "a01" << "a01" << QString() << QStringList{"A01", "a01"};
    QTest::newRow("no Shift-JIS form")
        << QStringLiteral("x\u00e9") << QStringLiteral("x\u00e9")
        << QStringLiteral("追加イメージにシフトJISで表せない文字が含まれています。\r\n（\u00e9）") << QStringList{"A01"};
}

void tst_ParameterImages::add()
{
    QFETCH(QString, typed);
    QFETCH(QString, boxAfter);
    QFETCH(QString, refusal);
    QFETCH(QStringList, images);
    DuplicationParameters committed;
    committed.values = QStringList{QStringLiteral("A01")};
    ParameterImages list(committed);
    ScriptedMessagePort port;
    QCOMPARE(list.Add(typed, port), refusal.isEmpty());
    QCOMPARE(typed, boxAfter);
    QCOMPARE(list.images(), images);
    QCOMPARE(port.texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
    QCOMPARE(list.Commit_Caption(), refusal.isEmpty() ? QStringLiteral("設定完了") : QStringLiteral("キャンセル"));
}

void tst_ParameterImages::remove()
{
    DuplicationParameters committed;
    committed.values = QStringList{"A", "B", "C", "D"};
    ParameterImages list(committed);
    ScriptedMessagePort port;
    QVERIFY(!list.Delete({}, port));
    QCOMPARE(port.texts(), QStringList{"パラメータイメージリストが選択されていません。"});
    QVERIFY(list.Delete({0, 2, 3}, port));
    QCOMPARE(list.images(), QStringList{"B"});
}

void tst_ParameterImages::commit_data()
{
    QTest::addColumn<QStringList>("images");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("empty list commits no parameters") << QStringList{} << QString();
    QTest::newRow("empty image refused only here") << QStringList{"A", "", "B"}
                                                   << QStringLiteral("パラメータにスペースは使えません。");
    QTest::newRow("blanks accepted") << QStringList{" ", "A"} << QString();
    QTest::newRow("duplicates refused only here") << QStringList{"B", "A", "B"}
                                                  << QStringLiteral("パラメータが重複しています。");
    QTest::newRow("duplicate with a case variant between") << QStringList{"ab", "AB", "ab"}
                                                           << QStringLiteral("パラメータが重複しています。");
    QTest::newRow("letter case alone differs") << QStringList{"ab", "AB"} << QString();
    QStringList hundred, hundredOne;
    for (int i = 0; i < 101; ++i)
        (i < 100 ? hundred : hundredOne).append(QString::number(1000 + i));
    hundredOne = hundred + hundredOne;
    QTest::newRow("100 images") << hundred << QString();
    QTest::newRow("101 images") << hundredOne << QStringLiteral("パラメータの数が多すぎます。MAX100まで！");
    QTest::newRow("slash leaves the folder")
        << QStringList{"A", "../x"} << QStringLiteral("パラメータ「../x」は \"/\" を含むため、ファイル名に使えません。");
    QTest::newRow("dot dot") << QStringList{".."} << QStringLiteral("パラメータ「..」はファイル名に使えません。");
    QTest::newRow("dot") << QStringList{"."} << QStringLiteral("パラメータ「.」はファイル名に使えません。");
    QTest::newRow("dots inside a name are fine") << QStringList{"...", "a..b", ".x"} << QString();
    QTest::newRow("NUL") << QStringList{QStringLiteral("a") + QChar(0) + QStringLiteral("b")}
                         << QStringLiteral("パラメータ「a<NUL>b」は NUL 文字を含むため、ファイル名に使えません。");
    QTest::newRow("work-area separator")
        << QStringList{"a:@:b"} << QStringLiteral("パラメータ「a:@:b」は \":@:\" を含むため、使えません。");
}

void tst_ParameterImages::commit()
{
    QFETCH(QStringList, images);
    QFETCH(QString, refusal);
    ParameterImages list{DuplicationParameters{}};
    ScriptedMessagePort port;
    for (QString image : std::as_const(images)) {
        // Add refuses what the commit must catch; a card takes anything.
        QTemporaryDir tmp;
        QFile f(tmp.path() + "/c");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(image.toUtf8() + "\r\n");
        f.close();
        QVERIFY(list.Read_Card(f.fileName(), port));
    }
    DuplicationParameters params;
    params.values = QStringList{QStringLiteral("before")};
    QCOMPARE(list.Commit(params, port), refusal.isEmpty());
    QCOMPARE(port.texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
    if (refusal.isEmpty()) {
        QCOMPARE(params.values, list.images());
        QCOMPARE(int(params.Param_Count()), images.size());
    } else {
        QCOMPARE(params.values, QStringList{"before"});
        QCOMPARE(port.shown.first().icon, MessagePort::Icon::Exclamation);
        QCOMPARE(port.shown.first().caption, kMessageCaption);
    }
}

void tst_ParameterImages::sortedOrder()
{
    DuplicationParameters committed;
    committed.values = QStringList{"b", "C", "A", "a"};
    ParameterImages list(committed);
    QCOMPARE(list.images(), (QStringList{"A", "a", "b", "C"}));
}

QTEST_GUILESS_MAIN(tst_ParameterImages)
#include "tst_parameterimages.moc"
