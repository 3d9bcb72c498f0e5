#pragma once

#include "template/TemplateRead.h"
#include "template/TemplateStore.h"
#include "workarea/LineFormat.h"

// The work area as template read and duplication see it, in plain lists.
class MemoryTemplateStore : public TemplateStore
{
public:
    QList<AddedFile> files; // in the order added
    qint64 otherLines = 0;  // entries of files not held here
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
        return indexOf(path) < 0 ? QStringList() : files.at(indexOf(path)).entries;
    }
    QByteArray sourceBytes(const QString &path) const override
    {
        return indexOf(path) < 0 ? QByteArray() : files.at(indexOf(path)).bytes;
    }
    TextEncoding encodingOf(const QString &path) const override
    {
        return indexOf(path) < 0 ? TextEncoding::Cp932 : files.at(indexOf(path)).encoding;
    }
    QByteArray nativePath(const QString &path) const override
    {
        const int i = indexOf(path);
        return i < 0 || files.at(i).nativePath.isEmpty() ? NativeName::encode(path) : files.at(i).nativePath;
    }
    bool addFile(AddedFile &&file) override
    {
        if (fileRoom == 0)
            return false;
        fileRoom -= fileRoom > 0;
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
    void addSource(const QString &path, const QStringList &lines)
    {
        files.append(AddedFile{path, {}, TemplateRead::templateEntries(path, lines), false, {}, 0, {}, {}, {}});
    }
};

// A stored-line replace with the editing dialog's contract (key and line
// number protected, left to right, inserted text not searched again); a
// same-length overwrite gives what a splice gives. Records the last call.
struct RecordingReplace
{
    int lastMethod = 0;
    int lastCompare = -1;

    int operator()(qint16 kind, qint16 method, QString &line, const QString &search, qint16 compare,
                   const QString &replacement, QString &output, qint16 &changed)
    {
        lastMethod = method;
        lastCompare = compare;
        if (kind != 2 || search.isEmpty())
            return 91;
        const qsizetype p2 = line.indexOf(LineFormat::kSeparator, line.indexOf(LineFormat::kSeparator) + 3);
        QString text = line.mid(p2 + 3);
        const auto cs = compare == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive;
        changed = 0;
        for (qsizetype h = text.indexOf(search, 0, cs); h >= 0;
             h = text.indexOf(search, h + replacement.size(), cs)) {
            text.replace(h, search.size(), replacement);
            changed = 1;
        }
        output = line.left(p2 + 3) + text;
        line = text;
        return 0;
    }
};
