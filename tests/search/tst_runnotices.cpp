#include "ScriptedMessagePort.h"

#include "base/StatusPanels.h"
#include "search/RunNotices.h"

#include <QTest>

using Kind = RunNotices::Kind;
using Boxes = RunNotices::Boxes;
Q_DECLARE_METATYPE(Boxes)

class tst_RunNotices : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void boxes_data();
    void boxes();
    void summaryText_data();
    void summaryText();
    void closingMessage_data();
    void closingMessage();
};

namespace {

// "o" an already-open refusal, "f" an overflow, in run order.
void refuseAll(RunNotices &notices, const QString &order)
{
    int n = 0;
    for (const QChar c : order) {
        const Kind kind = c == QLatin1Char('o') ? Kind::AlreadyOpen : Kind::Overflow;
        const QString text = QStringLiteral("%1 %2").arg(c).arg(++n);
        notices.refuse(kind, [text] { return text; }, QStringLiteral("検索"));
    }
}

QStringList skippedFiles(int n)
{
    QStringList out;
    for (int i = 1; i <= n; ++i)
        out.append(QStringLiteral("/d/f%1.txt\r\nファイルを開けません。（Permission denied）").arg(i));
    return out;
}

} // namespace

void tst_RunNotices::boxes_data()
{
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("unshown");
    QTest::addColumn<QString>("panel");
    QTest::newRow("first of each kind")
        << Boxes::FirstOfEachKind << "fffoof" << QStringList{"f 1", "o 4"} << 4 << "追加中止 =6ﾌｧｲﾙ";
    QTest::newRow("a single refusal") << Boxes::FirstOfEachKind << "o" << QStringList{"o 1"} << 0
                                      << "追加中止 =1ﾌｧｲﾙ";
    QTest::newRow("batch: every one") << Boxes::Every << "ffo" << QStringList{"f 1", "f 2", "o 3"} << 0 << "";
}

void tst_RunNotices::boxes()
{
    QFETCH(Boxes, boxes);
    QFETCH(QString, order);
    QFETCH(QStringList, shown);
    QFETCH(int, unshown);
    QFETCH(QString, panel);
    ScriptedMessagePort port;
    StatusPanels status;
    RunNotices notices(port, &status, boxes);
    refuseAll(notices, order);
    QCOMPARE(port.texts(), shown);
    for (const auto &s : std::as_const(port.shown)) {
        QCOMPARE(s.caption, QStringLiteral("検索"));
        QCOMPARE(s.icon, MessagePort::Icon::Exclamation);
    }
    QCOMPARE(notices.unshown(), unshown);
    QCOMPARE(notices.refused(Kind::AlreadyOpen) + notices.refused(Kind::Overflow), int(order.size()));
    QCOMPARE(status.text(StatusPanels::kHitSu), panel);
}

void tst_RunNotices::summaryText_data()
{
    QTest::addColumn<int>("alreadyOpen");
    QTest::addColumn<int>("overflow");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<QStringList>("lines");
    const QString head = QStringLiteral("追加しなかったファイルがあります。");
    const QString open = QStringLiteral("既に開かれているファイル（追加中止）：%1件");
    const QString over = QStringLiteral("Over Flow（追加中止）：%1件");
    const QString unread = QStringLiteral("読み込めなかった、またはスキップしたファイル・フォルダ：%1件");
    auto entry = [](int i) { return QStringLiteral("　/d/f%1.txt　ファイルを開けません。（Permission denied）").arg(i); };
    QTest::newRow("overflows only") << 0 << 2299 << 0 << QStringList{head, over.arg(2299)};
    QTest::newRow("both kinds") << 12 << 3 << 0 << QStringList{head, open.arg(12), over.arg(3)};
    QTest::newRow("one skipped file, named on one line")
        << 0 << 0 << 1 << QStringList{head, unread.arg(1), entry(1)};
    QStringList twenty{head, over.arg(1), unread.arg(20)};
    for (int i = 1; i <= 20; ++i)
        twenty.append(entry(i));
    QTest::newRow("twenty skipped: all named") << 0 << 1 << 20 << twenty;
    QStringList many = twenty;
    many[2] = unread.arg(25);
    many.append(QStringLiteral("　ほか 5件"));
    QTest::newRow("twenty-five skipped: twenty named, the rest counted") << 0 << 1 << 25 << many;
}

void tst_RunNotices::summaryText()
{
    QFETCH(int, alreadyOpen);
    QFETCH(int, overflow);
    QFETCH(int, skipped);
    QFETCH(QStringList, lines);
    QCOMPARE(RunNotices::summaryText(alreadyOpen, overflow, skippedFiles(skipped)).split(QStringLiteral("\r\n")),
             lines);
}

void tst_RunNotices::closingMessage_data()
{
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<QString>("order");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<bool>("summary");
    QTest::newRow("nothing refused") << Boxes::FirstOfEachKind << "" << 0 << false;
    // Its box has told all there is.
    QTest::newRow("one refusal of each kind") << Boxes::FirstOfEachKind << "of" << 0 << false;
    QTest::newRow("refusals not shown") << Boxes::FirstOfEachKind << "ff" << 0 << true;
    QTest::newRow("a skipped file") << Boxes::FirstOfEachKind << "" << 1 << true;
    QTest::newRow("batch") << Boxes::Every << "fff" << 3 << false;
}

void tst_RunNotices::closingMessage()
{
    QFETCH(Boxes, boxes);
    QFETCH(QString, order);
    QFETCH(int, skipped);
    QFETCH(bool, summary);
    ScriptedMessagePort port;
    RunNotices notices(port, nullptr, boxes);
    refuseAll(notices, order);
    QCOMPARE(!notices.closingMessage(skippedFiles(skipped)).isEmpty(), summary);
}

QTEST_GUILESS_MAIN(tst_RunNotices)
#include "tst_runnotices.moc"
