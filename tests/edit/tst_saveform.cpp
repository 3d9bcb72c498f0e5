#include "ScriptedMessagePort.h"
#include "StoredRequest.h"
#include "WorkAreaChecks.h"
#include "WorkAreaTestAccess.h"

#include "base/Workbench.h"
#include "edit/ReplacePass.h"
#include "edit/SaveForm.h"
#include "platform/Cp932.h"
#include "platform/FileReplacer.h"
#include "platform/UndoStore.h"
#include "search/SearchRun.h"
#include "workarea/LineFormat.h"
#include "workarea/LineIndex.h"
#include "CommandBoardTestAccess.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArrayLiteral("<missing>");
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// STOP pressed while the window is served for the n-th time; the status
// bar's file panel as it was then.
class StopOnYield : public NullEventPump
{
public:
    StopOnYield(Workbench &wb, int at) : m_wb(wb), m_at(at) {}
    void yield() override
    {
        if (++m_calls != m_at)
            return;
        m_wb.work.Search_Running = 0;
        statusAtStop = m_wb.status.text(StatusPanels::kPath);
    }
    QString statusAtStop;

private:
    Workbench &m_wb;
    int m_at;
    int m_calls = 0;
};

// Puts each question or message among the steps of the writes.
struct StepsPort : ScriptedMessagePort
{
    QStringList steps;
    Answer show(const QString &text, const QString &caption, Icon icon, Buttons buttons) override
    {
        steps.append(QStringLiteral("asked"));
        return ScriptedMessagePort::show(text, caption, icon, buttons);
    }
};

} // namespace

// The save dialog's algorithm over a work area of files on disk, each read as
// a search would read it: "first", "second", ... with a change flag.
class tst_SaveForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void questionsAndWrites_data();
    void questionsAndWrites();
    void nothingSelectedStaysOpen();
    void preselection();
    void failedFileKeepsFlagOthersWritten();
    void stopEndsTheSaveBetweenFiles_data();
    void stopEndsTheSaveBetweenFiles();
    void preparedTogetherAskedBetween();
    void changedOnDisk_data();
    void changedOnDisk();
    void secondSaveAsksNothing();
    void linesAsStored();
    void fileWithoutLinesNotEmptied();
    void wholeRoad();

private:
    // Adds a file of the given lines (CR LF) and change flag to the work
    // area; its stored lines are what was read.
    QString addFile(const QString &name, const QStringList &lines, int flag);
    void storeText(int file, int line, const QString &text);

    QTemporaryDir m_tmp;
    QString m_root;
    std::unique_ptr<Workbench> m_wb;
    ScriptedMessagePort m_messages;
};

void tst_SaveForm::init()
{
    m_wb = std::make_unique<Workbench>();
    m_messages = ScriptedMessagePort();
    m_wb->messages = &m_messages;
    static int n = 0;
    m_root = m_tmp.path() + QStringLiteral("/case") + QString::number(++n);
    QDir().mkpath(m_root);
}

QString tst_SaveForm::addFile(const QString &name, const QStringList &lines, int flag)
{
    const QString path = m_root + QLatin1Char('/') + name;
    QByteArray bytes;
    for (const QString &l : lines)
        bytes += Cp932::encode(l) + "\r\n";
    put(path, bytes);
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    WorkArea &w = m_wb->work;
    QStringList entries;
    for (int k = 0; k < lines.size(); ++k)
        entries.append(path + LineFormat::kSeparator + LineFormat::Line_No_10(k + 1) + LineFormat::kSeparator
                       + lines.at(k));
    if (w.Search_Hit_List().isEmpty())
        w.appendDisplayLine(LineFormat::kColumnHeader);
    const FileOrigin origin{QFile::encodeName(path), qint64(st.st_size),
                            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    const QString header = LineFormat::fileHeader(LineFormat::kSearchPrefix, path, QString());
    const int i = w.admitFile(path, origin, {header}, std::move(entries), flag != 0);
    if (i < 0)
        return QString();
    LineIndex::Build_Line_Index(w);
    if (flag)
        w.Hozon_Flag = 1;
    return path;
}

void tst_SaveForm::storeText(int file, int line, const QString &text)
{
    WorkArea &w = m_wb->work;
    const QString key = w.File_Key(file);
    const int k = w.Search_Hit_File_List().data(file) + line - 1;
    QCOMPARE(LineFormat::Entry_Key(w.Search_Hit_All_Line_List().text(k)), key);
    QVERIFY(w.replaceStoredLine(k, key + LineFormat::kSeparator + LineFormat::Line_No_10(line)
                                         + LineFormat::kSeparator + text));
}

void tst_SaveForm::questionsAndWrites_data()
{
    // Three files a, b, c; flags and selection per file; answers in order;
    // how many questions come; which files reach the disk; HOZON afterwards.
    QTest::addColumn<QList<int>>("flags");
    QTest::addColumn<QList<bool>>("selected");
    QTest::addColumn<QList<MessagePort::Answer>>("answers");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QList<bool>>("written");
    QTest::addColumn<bool>("hozon");
    using A = MessagePort::Answer;
    QTest::newRow("changed files only: no question")
        << QList<int>{1, 0, 1} << QList<bool>{true, false, true} << QList<A>{} << 0
        << QList<bool>{true, false, true} << false;
    QTest::newRow("one unchanged alone: only its own question, No")
        << QList<int>{0, 1, 1} << QList<bool>{true, false, false} << QList<A>{A::No} << 1
        << QList<bool>{false, false, false} << true;
    QTest::newRow("one unchanged alone: Yes writes it")
        << QList<int>{0, 1, 1} << QList<bool>{true, false, false} << QList<A>{A::Yes} << 1
        << QList<bool>{true, false, false} << true;
    QTest::newRow("three with one unchanged: batch Yes writes all")
        << QList<int>{1, 0, 1} << QList<bool>{true, true, true} << QList<A>{A::Yes} << 1
        << QList<bool>{true, true, true} << false;
    QTest::newRow("three with one unchanged: batch No asks once")
        << QList<int>{1, 0, 1} << QList<bool>{true, true, true} << QList<A>{A::No, A::No} << 2
        << QList<bool>{true, false, true} << false;
    QTest::newRow("some of the changed saved: HOZON stays")
        << QList<int>{1, 1, 0} << QList<bool>{false, true, false} << QList<A>{} << 0
        << QList<bool>{false, true, false} << true;
}

void tst_SaveForm::questionsAndWrites()
{
    QFETCH(QList<int>, flags);
    QFETCH(QList<bool>, selected);
    QFETCH(QList<MessagePort::Answer>, answers);
    QFETCH(int, questions);
    QFETCH(QList<bool>, written);
    QFETCH(bool, hozon);

    QStringList paths;
    for (int f = 0; f < 3; ++f) {
        paths.append(addFile(QStringLiteral("%1.txt").arg(QChar(u'a' + f)), {QStringLiteral("one"), QStringLiteral("two")},
                             flags.at(f)));
        // The stored text differs from the disk, so a write shows.
        storeText(f, 2, QStringLiteral("二"));
    }
    CommandBoardTestAccess::setEnabled(m_wb->board, Command::HOZON, true);
    for (MessagePort::Answer a : answers)
        m_messages.answers.enqueue(a);

    const SaveForm::Outcome out = SaveForm::Cmd_Jikkou(*m_wb, selected);
    QVERIFY(out.closes);
    QCOMPARE(m_messages.shown.size(), questions);
    for (const auto &s : m_messages.shown) {
        QCOMPARE(s.caption, SaveForm::kCaption);
        QCOMPARE(s.icon, MessagePort::Icon::Exclamation);
        QCOMPARE(s.buttons, MessagePort::Buttons::YesNo);
    }
    for (int f = 0; f < 3; ++f) {
        const QByteArray expected = written.at(f) ? QByteArray("one\r\n") + Cp932::encode(QStringLiteral("二")) + "\r\n"
                                                  : QByteArray("one\r\ntwo\r\n");
        QCOMPARE(bytesOf(paths.at(f)), expected);
        const bool stillChanged = flags.at(f) == 1 && !written.at(f);
        QCOMPARE(m_wb->work.Search_Hit_File_Change().data(f), stillChanged ? 1 : 0);
    }
    QCOMPARE(m_wb->work.Hozon_Flag, qint16(hozon ? 1 : 0));
    QCOMPARE(m_wb->board.isEnabled(Command::HOZON), hozon);
}

void tst_SaveForm::nothingSelectedStaysOpen()
{
    const QString path = addFile(QStringLiteral("a.txt"), {QStringLiteral("x")}, 1);
    storeText(0, 1, QStringLiteral("y"));
    const SaveForm::Outcome out = SaveForm::Cmd_Jikkou(*m_wb, {false});
    QVERIFY(!out.closes);
    QCOMPARE(m_messages.texts(), QStringList{QStringLiteral("対象ファイルリストが１件も選択されていません。")});
    QCOMPARE(bytesOf(path), QByteArray("x\r\n"));
    QCOMPARE(m_wb->work.Search_Hit_File_Change().data(0), 1);
}

void tst_SaveForm::preselection()
{
    addFile(QStringLiteral("b.txt"), {QStringLiteral("x")}, 0);
    addFile(QStringLiteral("a.txt"), {QStringLiteral("x")}, 1);
    addFile(QStringLiteral("c.txt"), {QStringLiteral("x")}, 1);
    QList<bool> selected;
    QStringList texts;
    for (const SaveForm::Item &item : SaveForm::Form_Load(m_wb->work)) {
        selected.append(item.selected);
        texts.append(item.text.mid(m_root.size() + 1));
    }
    QCOMPARE(texts, QStringList({"a.txt", "b.txt", "c.txt"}));
    QCOMPARE(selected, QList<bool>({true, false, true}));
}

void tst_SaveForm::failedFileKeepsFlagOthersWritten()
{
    const QString a = addFile(QStringLiteral("a.txt"), {QStringLiteral("x")}, 1);
    const QString b = addFile(QStringLiteral("b.txt"), {QStringLiteral("x")}, 1);
    storeText(0, 1, QStringLiteral("y"));
    storeText(1, 1, QStringLiteral("y"));
    QVERIFY(::chmod(QFile::encodeName(a).constData(), 0444) == 0);
    const SaveForm::Outcome out = SaveForm::Cmd_Jikkou(*m_wb, {true, true});
    QVERIFY(out.closes);
    QCOMPARE(out.failed, 1);
    QCOMPARE(out.written, 1);
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.at(0).icon, MessagePort::Icon::Critical);
    QVERIFY(m_messages.shown.at(0).text.startsWith(a));
    QCOMPARE(bytesOf(a), QByteArray("x\r\n"));
    QCOMPARE(bytesOf(b), QByteArray("y\r\n"));
    QCOMPARE(m_wb->work.Search_Hit_File_Change().data(0), 1);
    QCOMPARE(m_wb->work.Search_Hit_File_Change().data(1), 0);
    QCOMPARE(m_wb->work.Hozon_Flag, qint16(1));
}

void tst_SaveForm::stopEndsTheSaveBetweenFiles_data()
{
    // Four changed files; STOP at the n-th turn of the window (one before
    // each file, more while a file waits for another save's lock): the files
    // before it are written and journalled, the rest keep their flags.
    QTest::addColumn<int>("stopAt");
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("locked"); // the file another save holds; -1: none
    QTest::newRow("before the first file") << 1 << 0 << -1;
    QTest::newRow("after the second file") << 3 << 2 << -1;
    QTest::newRow("never") << 0 << 4 << -1;
    QTest::newRow("while the third file waits for another save") << 5 << 2 << 2;
}

void tst_SaveForm::stopEndsTheSaveBetweenFiles()
{
    QFETCH(int, stopAt);
    QFETCH(int, written);
    QFETCH(int, locked);
    QStringList paths;
    for (int f = 0; f < 4; ++f) {
        paths.append(addFile(QStringLiteral("%1.txt").arg(f), {QStringLiteral("x")}, 1));
        storeText(f, 1, QStringLiteral("y"));
    }
    // A lock of another open file, as another save takes it.
    const int held = locked < 0 ? -1 : ::open(QFile::encodeName(paths.at(locked)).constData(), O_RDONLY);
    if (locked >= 0)
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
    const qsizetype batchesBefore = UndoStore::list().size();
    StopOnYield pump(*m_wb, stopAt);
    m_wb->pump = &pump;
    const SaveForm::Outcome out = SaveForm::Cmd_Jikkou(*m_wb, {true, true, true, true});
    m_wb->pump = nullptr;
    m_wb->detachPorts();
    if (held >= 0)
        ::close(held);
    if (locked >= 0) {
        QCOMPARE(pump.statusAtStop, QStringLiteral("ほかの保存の終了を待っています: ") + paths.at(locked));
        QCOMPARE(m_messages.shown.size(), 1);
        QVERIFY2(m_messages.shown.at(0).text.contains(paths.at(locked) + QStringLiteral("\r\nほかの保存の終了を待つのを中止しました。")),
                 qPrintable(m_messages.shown.at(0).text));
    }
    QVERIFY(out.closes);
    QCOMPARE(out.stopped, written < 4);
    QCOMPARE(out.written, written);
    for (int f = 0; f < 4; ++f) {
        QCOMPARE(bytesOf(paths.at(f)), f < written ? QByteArray("y\r\n") : QByteArray("x\r\n"));
        QCOMPARE(m_wb->work.Search_Hit_File_Change().data(f), f < written ? 0 : 1);
    }
    QCOMPARE(m_wb->work.Hozon_Flag, qint16(written < 4 ? 1 : 0));
    QCOMPARE(m_wb->board.isEnabled(Command::HOZON), written < 4);
    QVERIFY(!m_wb->board.isBusy());
    QVERIFY(!m_wb->board.isEnabled(Command::STOP));
    // The journal holds exactly the files written, and the batch is done.
    const QList<UndoStore::Batch> batches = UndoStore::list();
    QCOMPARE(batches.size(), batchesBefore + (written > 0 ? 1 : 0));
    if (written > 0) {
        QCOMPARE(batches.last().manifest.files.size(), qsizetype(written));
        QCOMPARE(batches.last().manifest.state, UndoManifest::State::Done);
    }
}

void tst_SaveForm::preparedTogetherAskedBetween()
{
    // Changed, changed, unchanged, changed; the unchanged file is asked about
    // alone (No to all, then Yes). The files are made durable together and
    // renamed afterwards, and no question comes while one waits for that.
    StepsPort port;
    m_wb->messages = &port;
    port.answerWith({MessagePort::Answer::No, MessagePort::Answer::Yes});
    QStringList paths;
    for (int f = 0; f < 4; ++f) {
        paths.append(addFile(QStringLiteral("%1.txt").arg(f), {QStringLiteral("x")}, f == 2 ? 0 : 1));
        storeText(f, 1, QStringLiteral("y"));
    }
    FileReplacer::testStep = [&](const char *step) { port.steps.append(QString::fromLatin1(step)); };
    const SaveForm::Outcome out = SaveForm::Cmd_Jikkou(*m_wb, {true, true, true, true});
    FileReplacer::testStep = nullptr;
    m_wb->detachPorts();
    QCOMPARE(out.written, 4);
    const QStringList two{"kept", "kept", "before-rename", "renamed", "before-rename", "renamed"};
    QCOMPARE(port.steps, QStringList{"asked"} + two + QStringList{"asked"} + two);
    for (const QString &path : paths)
        QCOMPARE(bytesOf(path), QByteArray("y\r\n"));
}

void tst_SaveForm::changedOnDisk_data()
{
    QTest::addColumn<QList<MessagePort::Answer>>("answers");
    QTest::addColumn<bool>("overwritten");
    QTest::addColumn<bool>("removed"); // the file removed instead of changed
    QTest::newRow("no answer is No") << QList<MessagePort::Answer>{} << false << false;
    QTest::newRow("No keeps the newer file") << QList<MessagePort::Answer>{MessagePort::Answer::No} << false << false;
    QTest::newRow("Yes overwrites") << QList<MessagePort::Answer>{MessagePort::Answer::Yes} << true << false;
    QTest::newRow("removed, No") << QList<MessagePort::Answer>{MessagePort::Answer::No} << false << true;
    QTest::newRow("removed, Yes writes it again") << QList<MessagePort::Answer>{MessagePort::Answer::Yes} << true
                                                  << true;
}

void tst_SaveForm::changedOnDisk()
{
    QFETCH(QList<MessagePort::Answer>, answers);
    QFETCH(bool, overwritten);
    QFETCH(bool, removed);
    const QString a = addFile(QStringLiteral("a.txt"), {QStringLiteral("x")}, 1);
    storeText(0, 1, QStringLiteral("y"));
    if (removed)
        QVERIFY(QFile::remove(a));
    else
        put(a, "someone else's\n");
    m_messages.answers.append(answers);
    SaveForm::Cmd_Jikkou(*m_wb, {true});
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.at(0).buttons, MessagePort::Buttons::YesNoDefaultNo);
    QCOMPARE(m_messages.shown.at(0).text,
             a + (removed ? QStringLiteral("\r\nこのファイルは読み込んだ後に削除されています。\r\n保存し直しますか？")
                          : QStringLiteral("\r\nこのファイルは読み込んだ後に変更されています。\r\n上書き保存しますか？")));
    if (removed)
        QCOMPARE(bytesOf(a), overwritten ? QByteArray("y\r\n") : QByteArray("<missing>"));
    else
        QCOMPARE(bytesOf(a), overwritten ? QByteArray("y\n") : QByteArray("someone else's\n"));
    QCOMPARE(m_wb->work.Search_Hit_File_Change().data(0), overwritten ? 0 : 1);
}

void tst_SaveForm::secondSaveAsksNothing()
{
    // A saved file's stamp becomes its origin: saving it again after another
    // change is not taken for someone else's change.
    const QString a = addFile(QStringLiteral("a.txt"), {QStringLiteral("x")}, 1);
    storeText(0, 1, QStringLiteral("y"));
    SaveForm::Cmd_Jikkou(*m_wb, {true});
    storeText(0, 1, QStringLiteral("zz"));
    m_wb->work.setFileChanged(0, true);
    SaveForm::Cmd_Jikkou(*m_wb, {true});
    QCOMPARE(m_messages.texts(), QStringList());
    QCOMPARE(bytesOf(a), QByteArray("zz\r\n"));
}

void tst_SaveForm::linesAsStored()
{
    // ":@:" inside a line belongs to its text; an inserted line (fraction)
    // goes between its neighbours, without its number.
    const QString a = addFile(QStringLiteral("a.txt"), {QStringLiteral("p:@:q"), QStringLiteral("end")}, 1);
    WorkArea &w = m_wb->work;
    QStringList entries = w.Search_Hit_All_Line_List().texts();
    entries.insert(1, a + LineFormat::kSeparator + QStringLiteral("000001.500") + LineFormat::kSeparator
                          + QStringLiteral("新しい行"));
    QVERIFY(w.replaceFileLines(0, entries));
    QVERIFY_CONSISTENT(w);
    SaveForm::Cmd_Jikkou(*m_wb, {true});
    QCOMPARE(m_messages.texts(), QStringList());
    QCOMPARE(bytesOf(a), QByteArray("p:@:q\r\n") + Cp932::encode(QStringLiteral("新しい行")) + "\r\nend\r\n");
}

void tst_SaveForm::fileWithoutLinesNotEmptied()
{
    const QString a = addFile(QStringLiteral("a.txt"), {QStringLiteral("keep")}, 1);
    WorkAreaTestAccess::allLines(m_wb->work).clear();
    LineIndex::Build_Line_Index(m_wb->work);
    const SaveForm::Outcome out = SaveForm::Cmd_Jikkou(*m_wb, {true});
    QCOMPARE(out.failed, 1);
    QCOMPARE(bytesOf(a), QByteArray("keep\r\n"));
    QCOMPARE(m_wb->work.Search_Hit_File_Change().data(0), 1);
}

void tst_SaveForm::wholeRoad()
{
    // Search, replace in the stored lines, save, and read the file back: an LF
    // file with a byte that is not code page 932 keeps both.
    const QString path = m_root + QStringLiteral("/memo.txt");
    const QByteArray before = QByteArray("alpha\n") + Cp932::encode(QStringLiteral("検索語です")) + "\n\x80raw\n";
    put(path, before);
    Settings &s = m_wb->settings;
    s.SIKIBETU.fill(QString());
    s.SIKIBETU[0] = QStringLiteral("TXT");
    s.SIKIBETU_ALL_FLG = 1;
    s.SUB_DIR_FLG = 1;
    s.FILE_OUT = 0;
    WorkArea &w = m_wb->work;
    w.Search_Word = QStringLiteral("検索語");
    w.Search_Running = 1;
    w.Search_Path = m_root;
    w.Current_Dir = m_root + QLatin1Char('/');
    SearchRun::scanHelpers = 0;
    SearchRun::Search_Execute(*m_wb, storedRequest(*m_wb));
    QCOMPARE(w.Search_Hit_File_List().count(), 1);

    ReplacePass pass(QStringLiteral("検索語"), QStringLiteral("置換後の語"), 0);
    const QList<StoredChange> changes = pass.storedPass(w.Search_Hit_All_Line_List().texts(), w.Search_Hit_File_List().data(0),
                                                         w.Search_Hit_All_Line_List().count() - 1);
    QCOMPARE(changes.size(), 1);
    for (const StoredChange &c : changes)
        QVERIFY(w.replaceStoredLine(c.index, c.entry));
    w.setFileChanged(0, true);
    w.Hozon_Flag = 1;

    QList<bool> selected;
    for (const SaveForm::Item &item : SaveForm::Form_Load(w))
        selected.append(item.selected);
    QVERIFY(SaveForm::Cmd_Jikkou(*m_wb, selected).closes);
    QCOMPARE(m_messages.texts(), QStringList());
    QCOMPARE(bytesOf(path), QByteArray("alpha\n") + Cp932::encode(QStringLiteral("置換後の語です")) + "\n\x80raw\n");
    QCOMPARE(w.Hozon_Flag, qint16(0));
}

QTEST_GUILESS_MAIN(tst_SaveForm)
#include "tst_saveform.moc"
