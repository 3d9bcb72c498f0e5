#include "platform/DirectoryListing.h"

#include "platform/NativeName.h"
#include "platform/TextCase.h"

#include <QDir>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <vector>
#include <sys/stat.h>

bool DirectoryListing::lessByListingOrder(const QString &a, const QString &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ua = TextCase::upperUnit(a.at(i).unicode());
        const char16_t ub = TextCase::upperUnit(b.at(i).unicode());
        if (ua != ub)
            return ua < ub;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

QString DirectoryListing::withSeparator(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool DirectoryListing::list(const QString &folder, QList<DirEntry> &entries, QString *error, bool fileDetails)
{
    return listNative(NativeName::encode(folder), entries, error, fileDetails);
}

bool DirectoryListing::listNative(const QByteArray &folder, QList<DirEntry> &entries, QString *error,
                                  bool fileDetails)
{
    entries.clear();
    DIR *dir = ::opendir(folder.constData());
    if (!dir) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // Entries are looked up relative to the open folder: a full path per
    // entry would be resolved from the root each time.
    const int fd = ::dirfd(dir);
    while (dirent *d = ::readdir(dir)) {
        if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0)
            continue;
        DirEntry e;
        e.nativeName = QByteArray(d->d_name);
        e.name = NativeName::decode(e.nativeName);
        e.upperName = TextCase::upperUnits(e.name);
        e.hidden = d->d_name[0] == '.';
        if (!fileDetails && d->d_type == DT_REG) {
            e.regularFile = true;
            entries.append(std::move(e));
            continue;
        }
        struct stat st;
        if (::fstatat(fd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            e.system = true;
        } else if (S_ISLNK(st.st_mode)) {
            e.system = true;
            // A link is never entered as a folder; a link to a file is a file
            // that can be read, but it keeps the system attribute.
            struct stat target;
            if (::fstatat(fd, d->d_name, &target, 0) == 0 && S_ISREG(target.st_mode)) {
                e.regularFile = true;
                e.size = target.st_size;
                e.modified = QDateTime::fromSecsSinceEpoch(target.st_mtime);
            }
            e.readOnly = !(st.st_mode & S_IWUSR);
        } else {
            e.directory = S_ISDIR(st.st_mode);
            e.regularFile = S_ISREG(st.st_mode);
            e.system = !e.directory && !e.regularFile;
            e.readOnly = !(st.st_mode & S_IWUSR);
            e.size = st.st_size;
            e.modified = QDateTime::fromSecsSinceEpoch(st.st_mtime);
        }
        entries.append(std::move(e));
    }
    ::closedir(dir);
    // The same order as lessByListingOrder, with each name upper-cased once
    // rather than in every comparison. Two names that show alike (a UTF-8
    // name and a Shift-JIS one that decodes to it) stand in byte order.
    // Pointers are sorted and the entries moved once into place: a folder of
    // many files costs a few comparisons per entry, each of short names.
    auto units = [](const QString &s) {
        return std::u16string_view(reinterpret_cast<const char16_t *>(s.utf16()), size_t(s.size()));
    };
    std::vector<DirEntry *> order;
    order.reserve(size_t(entries.size()));
    for (DirEntry &e : entries)
        order.push_back(&e);
    std::sort(order.begin(), order.end(), [&](const DirEntry *a, const DirEntry *b) {
        if (const int c = units(a->upperName).compare(units(b->upperName)))
            return c < 0;
        if (const int c = units(a->name).compare(units(b->name)))
            return c < 0;
        return a->nativeName < b->nativeName;
    });
    QList<DirEntry> sorted;
    sorted.reserve(entries.size());
    for (DirEntry *e : order)
        sorted.append(std::move(*e));
    entries = std::move(sorted);
    return true;
}
