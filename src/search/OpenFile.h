#pragma once

#include <QByteArray>
#include <QString>

// A file read from its start into a buffer, in as many steps as its reader
// needs: the prefilter reads the head first and stops there when the head
// already decides; the rest is read only when the whole file is wanted.
// Closed with the object.
class OpenFile
{
public:
    OpenFile() = default;
    ~OpenFile() { close(); }
    OpenFile(const OpenFile &) = delete;
    OpenFile &operator=(const OpenFile &) = delete;

    // By the path's bytes as on disk; shown is what messages show. false
    // with a Japanese reason ("<shown> CR LF ファイルを開けません。（…）").
    bool openNative(const QByteArray &path, const QString &shown, QString *error);
    // The same, for a name (its bytes) in an open folder: no path lookup from
    // the root.
    bool openAt(int folderFd, const QByteArray &name, const QString &shown, QString *error)
    {
        return openAt(folderFd, name, QString(), shown, error);
    }
    // shownFolder + shownName is what messages show: joined only for one.
    bool openAt(int folderFd, const QByteArray &name, const QString &shownFolder, const QString &shownName,
                QString *error);
    void close();

    // Appends to buffer until it holds at least `upTo` bytes (-1: to the end
    // of the file). The reader may have emptied the buffer between calls:
    // what is appended continues where the last call stopped. The buffer's
    // capacity is kept between files. false with a Japanese reason when a
    // read fails.
    bool readMore(QByteArray &buffer, qsizetype upTo, QString *error);

    // Reading goes on at `offset` bytes from the file's start. false with a
    // Japanese reason when the file cannot be read there.
    bool skipTo(qint64 offset, QString *error);

    // The whole file is in the buffer.
    bool atEnd() const { return m_atEnd; }

    // Size in bytes and last-modified time (since 1970) when it was opened.
    // The time is left a number: turning it into a local time consults the
    // time zone file on every call.
    qint64 size() const { return m_expected < 0 ? 0 : m_expected; }
    qint64 modifiedSecs() const { return m_modified; }
    qint64 modifiedNsecs() const { return m_modifiedNsecs; }

private:
    int m_fd = -1;
    qint64 m_expected = -1; // size when opened; reading stops there without a further call
    qint64 m_offset = 0;    // bytes read so far
    qint64 m_modified = 0;
    qint64 m_modifiedNsecs = 0;
    bool m_atEnd = false;
    QString m_shownFolder;
    QString m_shownName;
};
