#include "platform/Cp932.h"
#include "DialogControls.h"
#include "search/ResultExportForm.h"
#include "search/widgets/QUAV_Search_Save.h"

#include "DialogFixture.h"
#include "WorkAreaTestAccess.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class tst_ResultExportForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void output_data();
    void output();
    void exportFormat();
    void unwritableFile();
    void writtenAsASaveWrites_data();
    void writtenAsASaveWrites();
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

void tst_ResultExportForm::output_data()
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
        << 0 << "B" << true << false << "" << "B" << ResultExportForm::kNotWritten << true;
    QTest::newRow("nothing to write") << 1 << "A" << false << true << "" << "A" << ResultExportForm::kNoData << true;
    QTest::newRow("empty path") << 1 << "" << true << false << "" << "A" << ResultExportForm::kNoPath << false;
    QTest::newRow("blanks only") << 1 << "   " << true << false << "" << "A" << ResultExportForm::kNoPath << false;
}

void tst_ResultExportForm::output()
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

    const ResultExportForm::Result r = ResultExportForm::Output(f.wb, file(typed), makeDefault);
    QCOMPARE(r.closesDialog(), closes);
    QCOMPARE(f.port.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    for (const QString &name : {QStringLiteral("A"), QStringLiteral("B")})
        QCOMPARE(QFile::exists(file(name)), name == written);
    QCOMPARE(f.wb.settings.FILE_OUT_NAME, file(fileOutName));
    QCOMPARE(f.reread().string(QStringLiteral("EXECUTE"), QStringLiteral("FILE_OUT_NAME")).value_or(QString()),
             closes ? file(fileOutName) : QString());
}

void tst_ResultExportForm::exportFormat()
{
    DialogFixture f;
    fill(f.wb.work);
    const QString path = f.dir.filePath(QStringLiteral("out.txt"));
    QVERIFY(ResultExportForm::Export(f.wb.work, path).ok());
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
    QVERIFY(ResultExportForm::Export(f.wb.work, path).ok());
    QCOMPARE(readLines(path).size(), 1);
    QVERIFY(readLines(path)[0].startsWith(QStringLiteral("only")));
}

void tst_ResultExportForm::unwritableFile()
{
    DialogFixture f;
    fill(f.wb.work);
    const QString path = f.dir.filePath(QStringLiteral("no/such/folder/out.txt"));
    f.wb.settings.FILE_OUT = 1;
    f.wb.settings.FILE_OUT_NAME = path;
    QPointer<QUAV_Search_Save> d = new QUAV_Search_Save(f.wb);
    d->openFrom(&f.main);
    control<QPushButton>(d, "Cmd_Out")->click();
    QCOMPARE(f.port.shown.size(), 1);
    QVERIFY(f.port.shown[0].text.contains(path));
    QCOMPARE(f.port.shown[0].caption, ResultExportForm::kCaption);
    QCOMPARE(f.port.shown[0].icon, MessagePort::Icon::Critical);
    // The dialog stays for another path; the work area is as it was.
    QVERIFY(!d.isNull() && d->isVisible() && control<QPushButton>(d, "Cmd_Out")->isEnabled());
    QVERIFY(!f.main.isEnabled());
    QCOMPARE(f.wb.work.Search_Hit_List().count(), 3);
    QVERIFY(!QFile::exists(path));
}

enum class Target { ReadOnly, HardLinked, OtherOwner, PlantedLink };

void tst_ResultExportForm::writtenAsASaveWrites_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("written");
    QTest::newRow("a read-only result file is left alone") << int(Target::ReadOnly) << false;
    QTest::newRow("a hard-linked result file keeps its other name") << int(Target::HardLinked) << true;
    QTest::newRow("another user's result file keeps its owner") << int(Target::OtherOwner) << true;
    QTest::newRow("a link planted in a shared folder is not followed") << int(Target::PlantedLink) << false;
}

void tst_ResultExportForm::writtenAsASaveWrites()
{
    QFETCH(int, target);
    QFETCH(bool, written);
    const bool root = ::geteuid() == 0;
    if (!root && (Target(target) == Target::OtherOwner || Target(target) == Target::PlantedLink))
        QSKIP("needs root to act for another user");
    DialogFixture f;
    fill(f.wb.work);
    QString path = f.dir.filePath(QStringLiteral("out.txt"));
    const QByteArray native = QFile::encodeName(path), other = QFile::encodeName(f.dir.filePath(QStringLiteral("other.txt")));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("before\r\n") == 8);
    old.close();
    switch (Target(target)) {
    case Target::ReadOnly:
        QCOMPARE(::chmod(native.constData(), 0444), 0);
        break;
    case Target::HardLinked:
        QCOMPARE(::link(native.constData(), other.constData()), 0);
        break;
    case Target::OtherOwner:
        QCOMPARE(::chown(native.constData(), 4321, 4321), 0);
        break;
    case Target::PlantedLink: {
        const QByteArray shared = QFile::encodeName(f.dir.filePath(QStringLiteral("shared")));
        QVERIFY(::mkdir(shared.constData(), 0777) == 0 && ::chmod(shared.constData(), 01777) == 0);
        QVERIFY(::symlink(native.constData(), QByteArray(shared + "/out.txt").constData()) == 0);
        QCOMPARE(::lchown(QByteArray(shared + "/out.txt").constData(), 4321, 4321), 0);
        path = QFile::decodeName(shared + "/out.txt");
        break;
    }
    }
    const WriteResult r = ResultExportForm::Export(f.wb.work, path);
    QCOMPARE(r.ok(), written);
    QCOMPARE(readLines(QFile::decodeName(native)).size(), written ? 3 : 1);
    struct stat st;
    QCOMPARE(::stat(native.constData(), &st), 0);
    if (Target(target) == Target::HardLinked)
        QCOMPARE(int(st.st_nlink), 2);
    if (Target(target) == Target::OtherOwner)
        QCOMPARE(int(st.st_uid), 4321);
}

void tst_ResultExportForm::dialogRoad()
{
    DialogFixture f;
    fill(f.wb.work);
    const QString stored = f.dir.filePath(QStringLiteral("stored.txt"));
    f.wb.settings.FILE_OUT = 0;
    f.wb.settings.FILE_OUT_NAME = stored;
    QPointer<QUAV_Search_Save> d = new QUAV_Search_Save(f.wb);
    d->openFrom(&f.main);
    QCOMPARE(control<QLineEdit>(d, "Text_Path")->text(), stored);
    QVERIFY(!control<QCheckBox>(d, "Check1")->isChecked() && !control<QCheckBox>(d, "Check2")->isChecked() && !control<QPushButton>(d, "Cmd_Settei")->isEnabled());

    // Browsing and cancelling brings back the default path.
    control<QLineEdit>(d, "Text_Path")->setText(QStringLiteral("/typed.txt"));
    QString offered;
    d->pickFile = [&](const QString &initial) {
        offered = initial;
        return QString();
    };
    control<QPushButton>(d, "Cmd_Sansyo")->click();
    QCOMPARE(offered, stored);
    QCOMPARE(control<QLineEdit>(d, "Text_Path")->text(), stored);

    // Ticking automatic saving does nothing until it is applied.
    QTest::mouseClick(control<QCheckBox>(d, "Check1"), Qt::LeftButton, {}, QPoint(6, control<QCheckBox>(d, "Check1")->height() / 2));
    QVERIFY(control<QCheckBox>(d, "Check1")->isChecked() && control<QPushButton>(d, "Cmd_Settei")->isEnabled());
    QCOMPARE(f.wb.settings.FILE_OUT, 0);
    control<QPushButton>(d, "Cmd_Settei")->click();
    QVERIFY(!control<QPushButton>(d, "Cmd_Settei")->isEnabled());
    QCOMPARE(f.wb.settings.FILE_OUT, 1);
    QCOMPARE(f.reread().number(QStringLiteral("EXECUTE"), QStringLiteral("FILE_OUT")), 1);

    control<QPushButton>(d, "Cmd_Out")->click();
    f.settle();
    QVERIFY(d.isNull());
    QVERIFY(f.main.isEnabled());
    QCOMPARE(f.port.texts(), QStringList{stored + QStringLiteral("へ結果を出力しました。")});
    QCOMPARE(readLines(stored).size(), 3);
}

QTEST_MAIN(tst_ResultExportForm)
#include "tst_resultexportform.moc"
