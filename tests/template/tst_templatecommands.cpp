#include "ScriptedMessagePort.h"

#include "base/Workbench.h"
#include "edit/SaveForm.h"
#include "template/NewFileSave.h"
#include "template/ParameterForm.h"
#include "template/TemplateDuplicationForm.h"
#include "template/TemplateReadForm.h"
#include "template/WorkAreaTemplateStore.h"
#include "workarea/LineFormat.h"
#include "workarea/LineIndex.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

// The three template commands over the real work area, and the store they
// add files through.
class tst_TemplateCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void wholeRoad();
    void appendsAfterSearchResults();
    void readTemplateSavesUnasked();
    void fullDisplayListAddsNothing_data();
    void fullDisplayListAddsNothing();
    void madeFileUsedAsSource();
    void searchedFileAsSourceKeepsItsBytes();
    void refusedCommitKeepsParamCount();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);
    QStringList entriesOf(const QString &path) const;

    QTemporaryDir *dir = nullptr;
    Workbench *wb = nullptr;
    ScriptedMessagePort port;
};

void tst_TemplateCommands::init()
{
    dir = new QTemporaryDir;
    wb = new Workbench;
    port = ScriptedMessagePort();
    wb->messages = &port;
}

void tst_TemplateCommands::cleanup()
{
    delete wb;
    delete dir;
}

QString tst_TemplateCommands::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = dir->filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QStringList tst_TemplateCommands::entriesOf(const QString &path) const
{
    return WorkAreaTemplateStore(wb->work).storedEntries(path);
}

void tst_TemplateCommands::wholeRoad()
{
    const QString form = writeFile(QStringLiteral("FORM.TXT"), "ID=XX\r\n\r\nxx XX end\r\n");
    const QString card = writeFile(QStringLiteral("card.txt"), "B02\nA01\n");

    QVERIFY(TemplateReadForm::Hinagata_Read(*wb, {QFile::encodeName(form)}, false));
    QCOMPARE(wb->work.Search_Hit_List().count(), 2); // column header and the file's header
    QVERIFY(wb->work.Search_Hit_List().text(1).startsWith(QStringLiteral("ADD____FILE = ") + form));
    QCOMPARE(entriesOf(form),
             QStringList({form + ":@:000001.000:@:ID=XX", form + ":@:000002.000:@:", form + ":@:000003.000:@:xx XX end"}));
    QCOMPARE(wb->work.fileOrigins().at(0).size, qint64(20));
    QCOMPARE(wb->work.Result_Flag, qint16(1));
    QCOMPARE(wb->work.Hozon_Flag, qint16(0));

    ParameterForm images(wb->parameters);
    QVERIFY(images.readCard(card, port));
    QVERIFY(images.commitTo(*wb));
    QCOMPARE(wb->Param_Count, 2);
    QVERIFY(wb->board.isEnabled(Command::HINA_FUKUSEI));

    const auto summary = TemplateDuplicationForm::Hinagata_Fukusei(*wb, TemplateDuplicationForm::sourceFiles(wb->work),
                                                            QStringLiteral("XX"), 1);
    const QString a01 = dir->filePath(QStringLiteral("FORM_A01.TXT"));
    const QString b02 = dir->filePath(QStringLiteral("FORM_B02.TXT"));
    QCOMPARE(summary.newPaths, QStringList({a01, b02}));
    QCOMPARE(entriesOf(a01), QStringList({a01 + ":@:000001.000:@:ID=A01", a01 + ":@:000002.000:@:",
                                          a01 + ":@:000003.000:@:xx A01 end"}));
    QVERIFY(wb->work.Search_Hit_List().text(2).startsWith(QStringLiteral("MAKE___FILE = ") + a01));
    const int i = wb->work.Search_Hit_File_List().indexOf(a01);
    QCOMPARE(wb->work.Search_Hit_File_Change().data(i), 1);
    QCOMPARE(wb->work.fileOrigins().at(i).size, qint64(-1));
    QCOMPARE(wb->work.Hozon_Flag, qint16(1));
    QVERIFY(wb->board.isEnabled(Command::HOZON));

    QVERIFY(NewFileSave::saveNewFile(wb->work, i, false).written());
    QFile saved(a01);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("ID=A01\r\n\r\nxx A01 end\r\n"));
    // A second save of a new file finds the name taken.
    QCOMPARE(NewFileSave::saveNewFile(wb->work, i, false).outcome, SaveResult::Outcome::AlreadyExists);
}

void tst_TemplateCommands::appendsAfterSearchResults()
{
    WorkArea &w = wb->work;
    w.appendDisplayLine(LineFormat::kColumnHeader);
    QVERIFY(w.admitFile(QStringLiteral("/s/Z.TXT"), {}, {QStringLiteral("SEARCH_FILE = /s/Z.TXT")},
                         {QStringLiteral("/s/Z.TXT:@:000001.000:@:hit")})
            >= 0);
    w.Result_Flag = 1;

    const QString form = writeFile(QStringLiteral("A.TXT"), "one\n");
    QVERIFY(TemplateReadForm::Hinagata_Read(*wb, {QFile::encodeName(form)}, false));
    QCOMPARE(w.Search_Hit_List().count(), 3); // no second column header
    QCOMPARE(entriesOf(QStringLiteral("/s/Z.TXT")), QStringList{QStringLiteral("/s/Z.TXT:@:000001.000:@:hit")});
    QCOMPARE(entriesOf(form), QStringList{form + QStringLiteral(":@:000001.000:@:one")});
}

// The stamp kept at read time is the file's own, to the nanosecond: saving
// the untouched file finds nobody else changed it.
void tst_TemplateCommands::readTemplateSavesUnasked()
{
    const QString form = writeFile(QStringLiteral("A.TXT"), "one\r\n");
    const struct timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 123456789}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(form).constData(), times, 0), 0);
    QVERIFY(TemplateReadForm::Hinagata_Read(*wb, {QFile::encodeName(form)}, false));
    QStringList entries;
    const SaveResult saved = FileSave::save(SaveForm::requestFor(wb->work, 0, entries));
    QCOMPARE(saved.message, QString());
    QVERIFY(saved.written());
}

void tst_TemplateCommands::fullDisplayListAddsNothing_data()
{
    QTest::addColumn<int>("displayRoom");
    QTest::addColumn<bool>("added");
    QTest::newRow("room for the header") << 1 << true;
    QTest::newRow("display list full") << 0 << false;
}

void tst_TemplateCommands::fullDisplayListAddsNothing()
{
    QFETCH(int, displayRoom);
    QFETCH(bool, added);
    WorkArea &w = wb->work;
    while (w.displayRoom(displayRoom + 1))
        w.appendDisplayLine(QStringLiteral("line"));
    const int shown = w.Search_Hit_List().count();
    AddedFile file{QStringLiteral("/t/F.TXT"), QStringLiteral("ADD____FILE = /t/F.TXT"),
                   {QStringLiteral("/t/F.TXT:@:000001.000:@:a")}, false, {}, 0, {}, {}, {}};
    WorkAreaTemplateStore store(w);
    QCOMPARE(store.addFile(std::move(file)), added);
    QCOMPARE(w.Search_Hit_File_List().count(), added ? 1 : 0);
    QCOMPARE(w.Search_Hit_File_Change().count(), added ? 1 : 0);
    QCOMPARE(w.fileOrigins().size(), added ? 1 : 0);
    QCOMPARE(w.Search_Hit_All_Line_List().count(), added ? 1 : 0);
    QCOMPARE(w.Search_Hit_List().count(), shown + (added ? 1 : 0));
    QCOMPARE(w.Mojisuu_Count_List().count(), w.Search_Hit_List().count());
}

void tst_TemplateCommands::madeFileUsedAsSource()
{
    const QString form = writeFile(QStringLiteral("F.TXT"), "XX\n");
    QVERIFY(TemplateReadForm::Hinagata_Read(*wb, {QFile::encodeName(form)}, false));
    wb->parameters.values = {QStringLiteral("YY")};
    TemplateDuplicationForm::Hinagata_Fukusei(*wb, {form}, QStringLiteral("XX"), 1);
    const QString made = dir->filePath(QStringLiteral("F_YY.TXT"));
    wb->parameters.values = {QStringLiteral("ZZ")};
    const auto summary = TemplateDuplicationForm::Hinagata_Fukusei(*wb, {made}, QStringLiteral("YY"), 2);
    const QString second = made + QStringLiteral("_ZZ");
    QCOMPARE(summary.newPaths, QStringList{second});
    QCOMPARE(entriesOf(second), QStringList{second + QStringLiteral(":@:000001.000:@:ZZ")});
    // Two generations on, still the template's LF.
    QVERIFY(NewFileSave::saveNewFile(wb->work, wb->work.Search_Hit_File_List().indexOf(second), false).written());
    QFile saved(second);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("ZZ\n"));
}

// A file found by a search keeps no bytes: a duplication reads them again,
// unless the file changed on disk since it was read.
void tst_TemplateCommands::searchedFileAsSourceKeepsItsBytes()
{
    const QByteArray bytes = "\x87\x9A XX\nend";
    const QString path = writeFile(QStringLiteral("S.TXT"), bytes);
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    WorkArea &w = wb->work;
    w.appendDisplayLine(LineFormat::kColumnHeader);
    FileOrigin origin{QFile::encodeName(path), qint64(st.st_size),
                      qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    QVERIFY(w.admitFile(path, origin, {LineFormat::kSearchPrefix + path},
                        {path + QStringLiteral(":@:000001.000:@:∵ XX"), path + QStringLiteral(":@:000002.000:@:end")})
            >= 0);
    LineIndex::Build_Line_Index(w);
    wb->parameters.values = {QStringLiteral("P")};
    TemplateDuplicationForm::Hinagata_Fukusei(*wb, {path}, QStringLiteral("XX"), 1);
    QCOMPARE(w.fileOrigins().at(w.Search_Hit_File_List().indexOf(dir->filePath("S_P.TXT"))).sourceBytes, bytes);
    writeFile(QStringLiteral("S.TXT"), "changed meanwhile\n");
    TemplateDuplicationForm::Hinagata_Fukusei(*wb, {path}, QStringLiteral("XX"), 2);
    QCOMPARE(w.fileOrigins().at(w.Search_Hit_File_List().indexOf(path + "_P")).sourceBytes, QByteArray());
}

void tst_TemplateCommands::refusedCommitKeepsParamCount()
{
    wb->parameters.values = {QStringLiteral("A")};
    wb->Param_Count = 1;
    ParameterForm images(wb->parameters);
    QString typed = QStringLiteral("..");
    images.Add(typed, port);
    QVERIFY(!images.commitTo(*wb));
    QCOMPARE(wb->Param_Count, 1);
    QCOMPARE(wb->parameters.values, QStringList{QStringLiteral("A")});
}

QTEST_GUILESS_MAIN(tst_TemplateCommands)
#include "tst_templatecommands.moc"
