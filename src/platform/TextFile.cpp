#include "platform/TextFile.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QSaveFile>

QList<QByteArrayView> TextFile::splitLines(QByteArrayView bytes)
{
    QList<QByteArrayView> lines;
    const char *p = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char c = p[i];
        if (c == '\n' || c == '\r') {
            lines.append(bytes.sliced(start, i - start));
            if (c == '\r' && i + 1 < size && p[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < size || lines.isEmpty())
        lines.append(bytes.sliced(start, size - start));
    return lines;
}

bool TextFile::readBytes(const QString &path, QByteArray &bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = path + QStringLiteral("\r\nファイルを開けません。（") + file.errorString() + QStringLiteral("）");
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = path + QStringLiteral("\r\nファイルを読み込めません。（") + file.errorString() + QStringLiteral("）");
        return false;
    }
    return true;
}

bool TextFile::readLines(const QString &path, QStringList &lines, QString *error)
{
    QByteArray bytes;
    if (!readBytes(path, bytes, error))
        return false;
    lines.clear();
    const auto raw = splitLines(bytes);
    lines.reserve(raw.size());
    for (QByteArrayView line : raw)
        lines.append(Cp932::decode(line));
    return true;
}

QByteArray TextFile::encodeLines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines) {
        Cp932::encodeAppend(line, out);
        out.append("\r\n", 2);
    }
    return out;
}

bool TextFile::writeBytes(const QString &path, const QByteArray &bytes, QString *error,
                          std::optional<QFileDevice::Permissions> mode)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || (mode && !file.setPermissions(*mode))) {
        if (error)
            *error = path + QStringLiteral("\r\nファイルに書き込めません。（") + file.errorString() + QStringLiteral("）");
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = path + QStringLiteral("\r\nファイルに書き込めません。（") + file.errorString() + QStringLiteral("）");
        file.cancelWriting();
        return false;
    }
    return true;
}

bool TextFile::writeLines(const QString &path, const QStringList &lines, QString *error)
{
    return writeBytes(path, encodeLines(lines), error);
}
