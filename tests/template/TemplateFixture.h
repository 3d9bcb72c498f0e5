#pragma once

#include "template/TemplateStore.h"
#include "workarea/LineFormat.h"

#include <QList>
#include <QString>
#include <QStringList>

// The work area as template read and duplication see it, held in plain lists.
class MemoryTemplateStore : public TemplateStore
{
public:
    QList<AddedFile> files; // in the order added
    qint64 otherLines = 0;  // all-lines entries of files not held here
    int fileRoom = -1;      // files that may still join; -1 for no limit

    bool isOpen(const QString &path) const override { return indexOf(path) >= 0; }
    qint64 storedLines() const override
    {
        qint64 n = otherLines;
        for (const AddedFile &f : files)
            n += f.entries.size();
        return n;
    }
    QStringList storedEntries(const QString &path) const override
    {
        const int i = indexOf(path);
        return i < 0 ? QStringList() : files.at(i).entries;
    }
    bool addFile(AddedFile &&file) override
    {
        if (fileRoom == 0)
            return false;
        if (fileRoom > 0)
            --fileRoom;
        files.append(std::move(file));
        return true;
    }

    int indexOf(const QString &path) const
    {
        for (int i = 0; i < files.size(); ++i)
            if (files.at(i).path == path)
                return i;
        return -1;
    }
    QStringList paths() const
    {
        QStringList out;
        for (const AddedFile &f : files)
            out.append(f.path);
        return out;
    }
};

// A replace routine for stored lines with the contract of the editing
// dialog's: the key and line number protected, occurrences replaced left to
// right, replaced text never searched again. Records the last call.
struct RecordingReplace
{
    int lastMethod = 0;
    int lastCompare = -1;
    int calls = 0;
    int failOnCall = 0; // 1-based call that reports an error; 0 for none

    int operator()(int kind, int method, QString &line, const QString &search, int compare,
                   const QString &replacement, QString &output, int &changed)
    {
        ++calls;
        lastMethod = method;
        lastCompare = compare;
        if (calls == failOnCall || kind != 2 || search.isEmpty())
            return 91;
        const qsizetype p1 = line.indexOf(LineFormat::kSeparator);
        const qsizetype p2 = line.indexOf(LineFormat::kSeparator, p1 + 3);
        const QString prefix = line.left(p2 + 3);
        QString text = line.mid(p2 + 3);
        const Qt::CaseSensitivity cs = compare == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive;
        changed = 0;
        qsizetype h = text.indexOf(search, 0, cs);
        while (h >= 0) {
            if (method == 1)
                text.replace(h, std::min(search.size(), text.size() - h), replacement.left(search.size()));
            else
                text.replace(h, search.size(), replacement);
            changed = 1;
            const qsizetype next = h + replacement.size();
            h = next > text.size() ? -1 : text.indexOf(search, next, cs);
        }
        line = text;
        output = prefix + text;
        return 0;
    }
};
