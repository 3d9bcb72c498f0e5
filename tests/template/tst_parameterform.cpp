#include "ScriptedMessagePort.h"

#include "template/ParameterForm.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "../search/SearchTree.h"

class tst_ParameterForm : public QObject
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
};

namespace {

// A card named in Shift-JIS ("札.txt"), read by the bytes of its name.
QByteArray writeCard(const QTemporaryDir &tmp, const QByteArray &bytes)
{
    const QByteArray path = QFile::encodeName(tmp.path()) + "/\x8e\x44.txt";
    return SearchTree::writeBytesAt(path, bytes) ? path : QByteArray();
}

ParameterForm imagesOf(const QStringList &values)
{
    DuplicationParameters p;
    p.values = values;
    return ParameterForm(p);
}

} // namespace

void tst_ParameterForm::card_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("added");
    QTest::addColumn<bool>("cut");
    QByteArray hundred;
    for (int i = 0; i < 100; ++i)
        hundred += "P" + QByteArray::number(100 + i) + "\r\n";
    QTest::newRow("100 lines, no message") << hundred << 100 << false;
    QTest::newRow("101 lines keep 100") << hundred + "P999\r\n" << 100 << true;
    QTest::newRow("101st line empty") << hundred + "\r\n" << 100 << true;
    QTest::newRow("empty card") << QByteArray() << 0 << false;
}

void tst_ParameterForm::card()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, added);
    QFETCH(bool, cut);
    QTemporaryDir tmp;
    ParameterForm list = imagesOf({QStringLiteral("ZZZ")});
    QCOMPARE(list.commitCaption(), QStringLiteral("キャンセル"));
    ScriptedMessagePort port;
    QVERIFY(list.readCard(writeCard(tmp, bytes), port));
    QCOMPARE(list.count(), 1 + added);
    QCOMPARE(port.texts(), cut ? QStringList{"パラメータは１００枚までです。以降のイメージは読み捨てました。"} : QStringList());
    QCOMPARE(list.commitCaption(), QStringLiteral("設定完了"));
}

void tst_ParameterForm::readTwiceThenCommit()
{
    QTemporaryDir tmp;
    const QByteArray path = writeCard(tmp, " A01 \r\nB02\r\n   \r\n");
    ParameterForm list = imagesOf({});
    ScriptedMessagePort port;
    QVERIFY(list.readCard(path, port));
    DuplicationParameters params;
    QVERIFY(list.Commit(params, port));
    // Each line unchanged, blanks and all, in the list's order.
    QCOMPARE(params.values, (QStringList{"   ", " A01 ", "B02"}));
    QVERIFY(list.readCard(path, port));
    QVERIFY(!list.Commit(params, port));
    QCOMPARE(port.texts(), QStringList{"パラメータが重複しています。"});
    QCOMPARE(params.Param_Count(), 3);
}

void tst_ParameterForm::unreadableCard()
{
    ParameterForm list = imagesOf({QStringLiteral("A01")});
    ScriptedMessagePort port;
    QVERIFY(!list.readCard(QStringLiteral("/nonexistent/card.txt"), port));
    QVERIFY(!list.readCard(QString(), port));
    QCOMPARE(list.images(), QStringList{"A01"});
    QCOMPARE(port.shown.size(), 2);
    QVERIFY(port.shown.at(0).text.startsWith(QStringLiteral("/nonexistent/card.txt\r\n")));
    QCOMPARE(port.shown.at(1).text, QStringLiteral("リストが選択されていません。"));
    QCOMPARE(list.commitCaption(), QStringLiteral("キャンセル"));
}

void tst_ParameterForm::add_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("trimmed, and the box shows it") << "  B02 " << "B02" << QString();
    QTest::newRow("blanks only") << QStringLiteral(" \u3000 ") << "" << QStringLiteral("追加イメージが入力されていません。");
    QTest::newRow("already there") << " A01" << "A01" << QStringLiteral("パラメータイメージが重複しています。");
    QTest::newRow("other letter case is another value") << "a01" << "a01" << QString();
    QTest::newRow("spaces trimmed, tabs kept") << "\tB02 " << "\tB02" << QString();
    QTest::newRow("line break at the end") << "B02\r\n" << "B02\r\n" << QStringLiteral("追加イメージに改行は使えません。");
    QTest::newRow("line break pasted inside") << "B02\nC03" << "B02\nC03" << QStringLiteral("追加イメージに改行は使えません。");
    QTest::newRow("no Shift-JIS form: only a Shift-JIS template refuses it")
        << QStringLiteral("x\u00e9") << QStringLiteral("x\u00e9") << QString();
}

void tst_ParameterForm::add()
{
    QFETCH(QString, typed);
    QFETCH(QString, boxAfter);
    QFETCH(QString, refusal);
    ParameterForm list = imagesOf({QStringLiteral("A01")});
    ScriptedMessagePort port;
    QCOMPARE(list.Add(typed, port), refusal.isEmpty());
    QCOMPARE(typed, boxAfter);
    QCOMPARE(list.images().contains(boxAfter), refusal.isEmpty() || boxAfter == QLatin1String("A01"));
    QCOMPARE(list.count(), refusal.isEmpty() ? 2 : 1);
    QCOMPARE(port.texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
}

void tst_ParameterForm::remove()
{
    ParameterForm list = imagesOf({"A", "B", "C", "D"});
    ScriptedMessagePort port;
    QVERIFY(!list.Delete({}, port));
    QCOMPARE(port.texts(), QStringList{"パラメータイメージリストが選択されていません。"});
    QVERIFY(list.Delete({0, 2, 3}, port));
    QCOMPARE(list.images(), QStringList{"B"});
}

void tst_ParameterForm::commit_data()
{
    QTest::addColumn<QStringList>("images");
    QTest::addColumn<QString>("refusal");
    QStringList hundred;
    for (int i = 0; i < 100; ++i)
        hundred.append(QString::number(1000 + i));
    QTest::newRow("empty list commits no parameters") << QStringList{} << QString();
    QTest::newRow("empty image") << QStringList{"A", "", "B"} << QStringLiteral("パラメータにスペースは使えません。");
    QTest::newRow("blanks accepted") << QStringList{" ", "A"} << QString();
    QTest::newRow("duplicate, a case variant between") << QStringList{"ab", "AB", "ab"}
                                                       << QStringLiteral("パラメータが重複しています。");
    QTest::newRow("100 images") << hundred << QString();
    QTest::newRow("101 images") << hundred + QStringList{"X"} << QStringLiteral("パラメータの数が多すぎます。MAX100まで！");
    QTest::newRow("slash") << QStringList{"A", "../x"}
                           << QStringLiteral("パラメータ「../x」は \"/\" を含むため、ファイル名に使えません。");
    QTest::newRow("dot dot") << QStringList{".."} << QStringLiteral("パラメータ「..」はファイル名に使えません。");
    QTest::newRow("dot") << QStringList{"."} << QStringLiteral("パラメータ「.」はファイル名に使えません。");
    QTest::newRow("dots within a name") << QStringList{"...", ".x"} << QString();
    QTest::newRow("NUL") << QStringList{QStringLiteral("a") + QChar(0)}
                         << QStringLiteral("パラメータ「a<NUL>」は NUL 文字を含むため、ファイル名に使えません。");
    QTest::newRow("work-area separator") << QStringList{"a:@:b"}
                                         << QStringLiteral("パラメータ「a:@:b」は \":@:\" を含むため、使えません。");
}

void tst_ParameterForm::commit()
{
    QFETCH(QStringList, images);
    QFETCH(QString, refusal);
    const ParameterForm list = imagesOf(images);
    ScriptedMessagePort port;
    DuplicationParameters params;
    params.values = QStringList{QStringLiteral("before")};
    QCOMPARE(list.Commit(params, port), refusal.isEmpty());
    QCOMPARE(port.texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
    QCOMPARE(params.values, refusal.isEmpty() ? list.images() : QStringList{"before"});
}

QTEST_GUILESS_MAIN(tst_ParameterForm)
#include "tst_parameterform.moc"
