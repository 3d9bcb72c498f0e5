#include "platform/Cp932.h"
#include "search/ResultExport.h"
#include "search/widgets/QUAV_Search_Save.h"

#include "DialogFixture.h"
#include "WorkAreaTestAccess.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

class tst_ResultExport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void output_data();
    void output();
    void exportFormat();
    void unwritableFile();
    void dialogRoad();

private:
    static void fill(WorkArea &w)
    {
        w.appendDisplayLine(QStringLiteral("  行番号:内容"));
        // A display block alone, without its file's lines.
        WorkAreaTestAccess::appendDisplayLine(w, QStringLiteral("SEARCH_FILE = /d/A.TXT:@:2024/03/01 10:00:00  120ﾊﾞｲﾄ"));
        w.appendDisplayLine(QStringLiteral("000012:x:@:y:@:z"));
    }
    static QStringList readLines(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {QStringLiteral("<missing>")};
        const QByteArray bytes = f.readAll();
        if (!bytes.endsWith("\r\n"))
            return {QStringLiteral("<no CR LF at the end>")};
        QStringList out;
        for (const QByteArray &line : bytes.chopped(1).split('\n'))
            out.append(line.endsWith('\r') ? Cp932::decode(line.chopped(1)) : QStringLiteral("<bare LF>"));
        return out;
    }
};

void tst_ResultExport::output_data()
{
    QTest::addColumn<int>("fileOut");
    QTest::addColumn<QString>("typed");      // "A", "B" (files in the test folder) or as is
    QTest::addColumn<bool>("makeDefault");
    QTest::addColumn<bool>("emptyWorkArea");
    QTest::addColumn<QString>("written");    // which file has the result afterwards
    QTest::addColumn<QString>("fileOutName"); // FILE_OUT_NAME afterwards, in memory and stored
    QTest::addColumn<QString>("message");     // %A and %B: the files' paths
    QTest::addColumn<bool>("closes");

    QTest::newRow("default box off: the typed path is not used")
        << 1 << "B" << false << false << "A" << "A"
        << "%Aへ結果を出力しました。\r\n入力されたパス（%B）は、「デフォルト出力ファイルとして登録する」にチェックがないため使っていません。"
        << true;
    QTest::newRow("default box on: the typed path becomes the default and gets the output")
        << 1 << "B" << true << false << "B" << "B" << "%Bへ結果を出力しました。" << true;
    QTest::newRow("automatic saving off: only the settings are stored")
        << 0 << "B" << true << false << "" << "B" << ResultExport::kNotWritten << true;
    QTest::newRow("nothing to write") << 1 << "A" << false << true << "" << "A" << ResultExport::kNoData << true;
    QTest::newRow("empty path") << 1 << "" << true << false << "" << "A" << ResultExport::kNoPath << false;
    QTest::newRow("blanks only") << 1 << "   " << true << false << "" << "A" << ResultExport::kNoPath << false;
}

void tst_ResultExport::output()
{
    QFETCH(int, fileOut);
    QFETCH(QString, typed);
    QFETCH(bool, makeDefault);
    QFETCH(bool, emptyWorkArea);
    QFETCH(QString, written);
    QFETCH(QString, fileOutName);
    QFETCH(QString, message);
    QFETCH(bool, closes);
    DialogFixture f;
    auto file = [&](const QString &name) {
        return name == QLatin1String("A") || name == QLatin1String("B") ? f.dir.filePath(name + QStringLiteral(".txt"))
                                                                          : name;
    };
    f.wb.settings.FILE_OUT = fileOut;
    f.wb.settings.FILE_OUT_NAME = file(QStringLiteral("A"));
    if (!emptyWorkArea)
        fill(f.wb.work);
    message.replace(QStringLiteral("%A"), file(QStringLiteral("A"))).replace(QStringLiteral("%B"), file(QStringLiteral("B")));

    const ResultExport::Result r = ResultExport::Output(f.wb, file(typed), makeDefault);
    QCOMPARE(r.closesDialog(), closes);
    QCOMPARE(f.port.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    for (const QString &name : {QStringLiteral("A"), QStringLiteral("B")})
        QCOMPARE(QFile::exists(file(name)), name == written);
    QCOMPARE(f.wb.settings.FILE_OUT_NAME, file(fileOutName));
    QCOMPARE(f.reread().string(QStringLiteral("EXECUTE"), QStringLiteral("FILE_OUT_NAME")).value_or(QString()),
             closes ? file(fileOutName) : QString());
}

void tst_ResultExport::exportFormat()
{
    DialogFixture f;
    fill(f.wb.work);
    const QString path = f.dir.filePath(QStringLiteral("out.txt"));
    QVERIFY(ResultExport::Export(f.wb.work, path).ok());
    const QStringList lines = readLines(path);
    QCOMPARE(lines.size(), 3);
    // Every line keeps the length of its display line; only the first ":@:"
    // turns into three spaces.
    for (int i = 0; i < 3; ++i)
        QCOMPARE(lines[i].size(), f.wb.work.Search_Hit_List().text(i).size());
    QVERIFY(lines[1].startsWith(QStringLiteral("SEARCH_FILE = /d/A.TXT   2024/03/01")));
    QVERIFY(lines[2].startsWith(QStringLiteral("000012:x   y:@:z")));

    // A second export replaces the first; nothing is appended.
    f.wb.work.clearAll();
    f.wb.work.appendDisplayLine(QStringLiteral("only"));
    QVERIFY(ResultExport::Export(f.wb.work, path).ok());
    QCOMPARE(readLines(path).size(), 1);
    QVERIFY(readLines(path)[0].startsWith(QStringLiteral("only")));
}

void tst_ResultExport::unwritableFile()
{
    DialogFixture f;
    fill(f.wb.work);
    const QString path = f.dir.filePath(QStringLiteral("no/such/folder/out.txt"));
    f.wb.settings.FILE_OUT = 1;
    f.wb.settings.FILE_OUT_NAME = path;
    QPointer<QUAV_Search_Save> d = new QUAV_Search_Save(f.wb);
    d->openFrom(&f.main);
    d->Cmd_Out->click();
    QCOMPARE(f.port.shown.size(), 1);
    QVERIFY(f.port.shown[0].text.contains(path));
    QCOMPARE(f.port.shown[0].caption, ResultExport::kCaption);
    QCOMPARE(f.port.shown[0].icon, MessagePort::Icon::Critical);
    // The dialog stays for another path; the work area is as it was.
    QVERIFY(!d.isNull() && d->isVisible() && d->Cmd_Out->isEnabled());
    QVERIFY(!f.main.isEnabled());
    QCOMPARE(f.wb.work.Search_Hit_List().count(), 3);
    QVERIFY(!QFile::exists(path));
}

void tst_ResultExport::dialogRoad()
{
    DialogFixture f;
    fill(f.wb.work);
    const QString stored = f.dir.filePath(QStringLiteral("stored.txt"));
    f.wb.settings.FILE_OUT = 0;
    f.wb.settings.FILE_OUT_NAME = stored;
    QPointer<QUAV_Search_Save> d = new QUAV_Search_Save(f.wb);
    d->openFrom(&f.main);
    QCOMPARE(d->Text_Path->text(), stored);
    QVERIFY(!d->Check1->isChecked() && !d->Check2->isChecked() && !d->Cmd_Settei->isEnabled());

    // Browsing and cancelling brings back the default path.
    d->Text_Path->setText(QStringLiteral("/typed.txt"));
    QString offered;
    d->pickFile = [&](const QString &initial) {
        offered = initial;
        return QString();
    };
    d->Cmd_Sansyo->click();
    QCOMPARE(offered, stored);
    QCOMPARE(d->Text_Path->text(), stored);

    // Ticking automatic saving does nothing until it is applied.
    QTest::mouseClick(d->Check1, Qt::LeftButton, {}, QPoint(6, d->Check1->height() / 2));
    QVERIFY(d->Check1->isChecked() && d->Cmd_Settei->isEnabled());
    QCOMPARE(f.wb.settings.FILE_OUT, 0);
    d->Cmd_Settei->click();
    QVERIFY(!d->Cmd_Settei->isEnabled());
    QCOMPARE(f.wb.settings.FILE_OUT, 1);
    QCOMPARE(f.reread().number(QStringLiteral("EXECUTE"), QStringLiteral("FILE_OUT")), 1);

    d->Cmd_Out->click();
    f.settle();
    QVERIFY(d.isNull());
    QVERIFY(f.main.isEnabled());
    QCOMPARE(f.port.texts(), QStringList{stored + QStringLiteral("へ結果を出力しました。")});
    QCOMPARE(readLines(stored).size(), 3);
}

QTEST_MAIN(tst_ResultExport)
#include "tst_resultexport.moc"
