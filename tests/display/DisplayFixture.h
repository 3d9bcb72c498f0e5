#pragma once

#include "base/Workbench.h"
#include "display/RtfReader.h"
#include "platform/MessagePort.h"
#include "platform/RichViewPort.h"
#include "workarea/LineFormat.h"
#include "workarea/LineIndex.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

// A rich view for core tests: loads documents with the program's reader and
// keeps caret and selection as the real view does (paragraph break = 2).
class FakeRichView : public RichViewPort
{
public:
    RtfDocument doc;
    QStringList loaded; // paths, in load order
    int anchor = 0, active = 0;
    bool shown = true, enabled = true, focused = false;
    int refreshes = 0;

    bool loadRtf(const QString &path) override
    {
        if (!RtfReader::readFile(path, doc))
            return false;
        loaded.append(path);
        anchor = active = 0;
        return true;
    }
    void clearText() override { doc = RtfDocument(); anchor = active = 0; }
    QString plainText() const override { return doc.plainText(); }
    int caret() const override { return std::min(anchor, active); }
    void setCaret(int p) override { anchor = active = std::clamp(p, 0, int(plainText().size())); }
    void selectToLineEnd() override
    {
        const QString t = plainText();
        int e = caret();
        while (e < t.size() && t[e] != QLatin1Char('\r') && t[e] != QLatin1Char('\n'))
            ++e;
        anchor = caret();
        active = e;
    }
    int find(const QString &text, int from) override
    {
        const int p = int(plainText().indexOf(text, from, Qt::CaseInsensitive));
        if (p >= 0) {
            anchor = p;
            active = p + int(text.size());
        }
        return p;
    }
    QString selectedText() const override { return plainText().mid(caret(), std::abs(active - anchor)); }
    void setShown(bool s) override { shown = s; }
    bool isShown() const override { return shown; }
    void setViewEnabled(bool e) override { enabled = e; }
    void refresh() override { ++refreshes; }
    void focus() override { focused = true; }
};

struct TestFile
{
    QString path;      // as on disk
    QStringList lines; // every line of the file
    QString prefix = LineFormat::kSearchPrefix;
};

// Fills a work area as a search would: column header, then per file its
// header and one hit line per line containing word; all lines stored.
inline void fillWorkArea(Workbench &wb, const QList<TestFile> &files, const QString &word)
{
    WorkArea &w = wb.work;
    w.Search_Word = word;
    if (w.Search_Hit_List().isEmpty())
        w.appendDisplayLine(LineFormat::kColumnHeader);
    for (const TestFile &f : files) {
        const QString key = f.path;
        QStringList entries;
        for (int i = 0; i < f.lines.size(); ++i)
            entries.append(key + LineFormat::kSeparator + LineFormat::Line_No_10(i + 1) + LineFormat::kSeparator + f.lines[i]);
        QStringList display{LineFormat::fileHeader(f.prefix, key, QString())};
        for (int i = 0; i < f.lines.size(); ++i)
            if (!word.isEmpty() && f.lines[i].contains(word, w.Compare_Mode == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive))
                display.append(LineFormat::Line_No_6(i + 1) + QLatin1Char(':') + f.lines[i]);
        QVERIFY(w.admitFile(key, {}, display, std::move(entries)) >= 0);
    }
    LineIndex::Build_Line_Index(w);
}

// Colours as stored: red in the low byte.
inline void setColours(Workbench &wb, bool on)
{
    wb.settings.File_Name_Color = 0xFF0000;  // blue
    wb.settings.Line_No_Color = 0x008000;    // green
    wb.settings.Hit_Color = 0x0000FF;        // red
    wb.settings.Color_Set_Flg = on ? 1 : 0;
}

// Views and messages of a core test: documents in dir, the search folder
// "/data", colouring on.
inline void attachPorts(Workbench &wb, const QTemporaryDir &dir, RichViewPort &list, RichViewPort &detail,
                        MessagePort &messages)
{
    wb.display.documentFolder = dir.path();
    wb.listView = &list;
    wb.detailView = &detail;
    wb.messages = &messages;
    wb.work.Search_Path = QStringLiteral("/data");
    setColours(wb, true);
}
