#include "search/widgets/QUAV_SEARCH_SETTEI.h"
#include "DialogControls.h"
#include "search/widgets/QUAV_Search_Sikibetu_Hensyu.h"

#include "DialogFixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using Answer = MessagePort::Answer;

class tst_IdentifierForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void add_data();
    void add();
    void deleteNonAdjacent();
    void deleteWithoutSelection();
    void storeCompacted();
    void cancelKeepsList();

private:
    static QStringList listed(const QUAV_Search_Sikibetu_Hensyu &d);
};

QStringList tst_IdentifierForm::listed(const QUAV_Search_Sikibetu_Hensyu &d)
{
    QStringList out;
    for (int i = 0; i < control<QListWidget>(&d, "List1")->count(); ++i)
        out << control<QListWidget>(&d, "List1")->item(i)->text();
    return out;
}

static QStringList twenty()
{
    QStringList l;
    for (int i = 0; i < 19; ++i)
        l << QStringLiteral("E%1").arg(i);
    return l << QStringLiteral("TXT");
}

void tst_IdentifierForm::add_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("textAfter");

    const QList<Answer> none;
    QTest::newRow("trimmed and upper-cased") << QStringList{"CSV"} << "  txt " << none << QString()
                                             << QStringList{"CSV", "TXT"} << "TXT";
    QTest::newRow("full-width spaces trimmed") << QStringList() << QStringLiteral("　csv　") << none << QString()
                                               << QStringList{"CSV"} << "CSV";
    QTest::newRow("empty") << QStringList() << "   " << none << "識別子が入力されていません。" << QStringList()
                           << "";
    QTest::newRow("point refused, text stays") << QStringList() << ".txt" << none << "．の入力は不要です。"
                                               << QStringList() << ".TXT";
    QTest::newRow("lower-case duplicate") << QStringList{"TXT"} << "txt" << none << "アイテムが重複しています。"
                                          << QStringList{"TXT"} << "TXT";
    QTest::newRow("duplicate reported before the count") << twenty() << "TXT" << none
                                                         << "アイテムが重複しています。" << twenty() << "TXT";
    QTest::newRow("twenty-first refused") << twenty() << "DOC" << none << "アイテムが多すぎます(MAX20件です)。"
                                          << twenty() << "DOC";
    QTest::newRow("asterisk refused, text emptied") << QStringList() << "*" << none
                                                    << "*は特殊文字扱いであり登録できません。" << QStringList()
                                                    << "";
    QTest::newRow("point checked before asterisk") << QStringList() << "*.txt" << none << "．の入力は不要です。"
                                                   << QStringList() << "*.TXT";
    QTest::newRow("long identifier, Yes") << QStringList{"TXT"} << "html" << QList<Answer>{Answer::Yes}
                                          << "通常識別子は３文字までです。\r\nよろしいですか？"
                                          << QStringList{"TXT", "HTML"} << "HTML";
    QTest::newRow("long identifier, No") << QStringList{"TXT"} << "HTML" << QList<Answer>{Answer::No}
                                         << "通常識別子は３文字までです。\r\nよろしいですか？" << QStringList{"TXT"}
                                         << "";
}

void tst_IdentifierForm::add()
{
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    QFETCH(QList<Answer>, answers);
    QFETCH(QString, message);
    QFETCH(QStringList, after);
    QFETCH(QString, textAfter);

    DialogFixture f;
    for (int i = 0; i < before.size(); ++i)
        f.wb.settings.SIKIBETU[size_t(i)] = before.at(i);
    for (Answer a : answers)
        f.port.answers.enqueue(a);
    auto *d = new QUAV_Search_Sikibetu_Hensyu(f.wb);
    d->openFrom(&f.main);
    control<QLineEdit>(d, "Text1")->setText(typed);
    QTest::mouseClick(control<QPushButton>(d, "Cmd_Tuika"), Qt::LeftButton);

    if (message.isEmpty()) {
        QVERIFY(f.port.shown.isEmpty());
    } else {
        QCOMPARE(f.port.texts(), QStringList{message});
        QCOMPARE(f.port.shown[0].caption, QStringLiteral("識別子　編集"));
        QCOMPARE(f.port.shown[0].icon, MessagePort::Icon::Exclamation);
    }
    QCOMPARE(listed(*d), after);
    QCOMPARE(control<QLineEdit>(d, "Text1")->text(), textAfter);
    QVERIFY(control<QPushButton>(d, "Cmd_Tuika")->isEnabled() && control<QPushButton>(d, "Cmd_End")->isEnabled());
    // Nothing reaches the settings before the store button.
    QCOMPARE(f.wb.settings.SIKIBETU[size_t(before.size())], QString());
}

void tst_IdentifierForm::deleteNonAdjacent()
{
    DialogFixture f;
    const QStringList ids{"A", "B", "C", "D", "E"};
    for (int i = 0; i < ids.size(); ++i)
        f.wb.settings.SIKIBETU[size_t(i)] = ids.at(i);
    auto *d = new QUAV_Search_Sikibetu_Hensyu(f.wb);
    d->openFrom(&f.main);
    control<QListWidget>(d, "List1")->item(3)->setSelected(true);
    control<QListWidget>(d, "List1")->item(1)->setSelected(true);
    QTest::mouseClick(control<QPushButton>(d, "Cmd_Sakujyo"), Qt::LeftButton);
    QVERIFY(f.port.shown.isEmpty());
    QCOMPARE(listed(*d), (QStringList{"A", "C", "E"}));
}

void tst_IdentifierForm::deleteWithoutSelection()
{
    DialogFixture f;
    f.wb.settings.SIKIBETU[0] = QStringLiteral("TXT");
    auto *d = new QUAV_Search_Sikibetu_Hensyu(f.wb);
    d->openFrom(&f.main);
    QTest::mouseClick(control<QPushButton>(d, "Cmd_Sakujyo"), Qt::LeftButton);
    QCOMPARE(f.port.texts(), QStringList{QStringLiteral("識別子リストが選択されていません。")});
    QCOMPARE(listed(*d), QStringList{QStringLiteral("TXT")});
}

void tst_IdentifierForm::storeCompacted()
{
    DialogFixture f;
    auto &ids = f.wb.settings.SIKIBETU;
    ids.fill(QString());
    ids[0] = QStringLiteral("TXT");
    ids[3] = QStringLiteral("CSV");
    ids[7] = QStringLiteral("LOG");
    f.wb.settings.DEFAULT_SIKIBETU = 2;
    QPointer<QUAV_Search_Sikibetu_Hensyu> d = new QUAV_Search_Sikibetu_Hensyu(f.wb);
    d->openFrom(&f.main);
    QVERIFY(!f.main.isEnabled());
    QCOMPARE(listed(*d), (QStringList{"TXT", "CSV", "LOG"}));
    control<QListWidget>(d, "List1")->item(0)->setSelected(true);
    d->Cmd_Sakujyo_Click();
    control<QLineEdit>(d, "Text1")->setText(QStringLiteral("md"));
    d->Cmd_Tuika_Click();
    QTest::mouseClick(control<QPushButton>(d, "Cmd_End"), Qt::LeftButton);
    f.settle();
    QVERIFY(d.isNull());
    QVERIFY(f.main.isEnabled());
    QCOMPARE(ids[0], QStringLiteral("CSV"));
    QCOMPARE(ids[1], QStringLiteral("LOG"));
    QCOMPARE(ids[2], QStringLiteral("MD"));
    for (size_t i = 3; i < ids.size(); ++i)
        QVERIFY(ids[i].isEmpty());
    // The default is an index and stays one: it now names the identifier
    // that moved into its place.
    QCOMPARE(f.wb.settings.DEFAULT_SIKIBETU, 2);
    const SettingsStore disk = f.reread();
    QCOMPARE(disk.string(QStringLiteral("SEARCH_SIKIBETU"), QStringLiteral("SIKIBETU02")).value_or(QString()),
             QStringLiteral("MD"));
    QCOMPARE(disk.string(QStringLiteral("SEARCH_SIKIBETU"), QStringLiteral("SIKIBETU07")).value_or(QStringLiteral("?")),
             QString());
}

void tst_IdentifierForm::cancelKeepsList()
{
    DialogFixture f;
    f.wb.settings.SIKIBETU.fill(QString());
    f.wb.settings.SIKIBETU[0] = QStringLiteral("TXT");
    QPointer<QUAV_Search_Sikibetu_Hensyu> d = new QUAV_Search_Sikibetu_Hensyu(f.wb);
    d->openFrom(&f.main);
    control<QLineEdit>(d, "Text1")->setText(QStringLiteral("CSV"));
    d->Cmd_Tuika_Click();
    QTest::keyClick(d, Qt::Key_Escape);
    f.settle();
    QVERIFY(d.isNull());
    QVERIFY(f.main.isEnabled());
    QCOMPARE(f.wb.settings.SIKIBETU[1], QString());
    QCOMPARE(f.reread().string(QStringLiteral("SEARCH_SIKIBETU"), QStringLiteral("SIKIBETU01")).value_or(QString()),
             QStringLiteral("CSV")); // the factory list, untouched
}

QTEST_MAIN(tst_IdentifierForm)
#include "tst_identifierform.moc"
