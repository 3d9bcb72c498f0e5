#include "app/CommandLine.h"
#include "app/ManualPages.h"
#include "edit/BatchReplace.h"
#include "edit/BatchUndo.h"
#include "search/BatchSearch.h"
#include "template/BatchDuplicate.h"

#include <QCoreApplication>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

// The window program sits beside this one.
std::string windowProgram(const char *argv0)
{
    std::string self;
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n > 0)
        self.assign(buffer, size_t(n));
    else
        self = argv0;
    const size_t slash = self.rfind('/');
    return (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) + "quav-window";
}

} // namespace

// "quav search ..." and "quav replace ..." run in this program, which links QtCore
// only: a script's search loads no GUI library, saving a few milliseconds on
// every call. Anything else is the window, started in place of this process
// (same arguments, same folder, same environment).
int main(int argc, char **argv)
{
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "search" || command == "replace" || command == "duplicate" || command == "undo") {
        // A save that a crash cut short is told of before any other command runs.
        const QString notice = BatchUndo::interruptedNotice();
        if (!notice.isEmpty())
            std::fputs(notice.toUtf8().constData(), stderr);
        // The batch commands take their arguments as bytes, as given before
        // Qt reads them: a file name need not be UTF-8.
        QList<QByteArray> batchArgs;
        for (int i = 2; i < argc; ++i)
            batchArgs.append(QByteArray(argv[i]));
        QCoreApplication app(argc, argv);
        if (command == "undo")
            return BatchUndo::run(app.arguments().mid(2));
        if (command == "search")
            return BatchSearch::run(batchArgs, true);
        if (command == "replace")
            return BatchReplace::run(batchArgs);
        return BatchDuplicate::run(batchArgs);
    }
    const QStringList args = CommandLine::Arguments(argc, argv);
    // Hidden: the build makes the manual pages and the completion with these.
    if (const std::optional<int> status = ManualPages::answer(args))
        return *status;
    if (CommandLine::answerEarly(CommandLine::Parse(args)))
        return 0;
    const std::string window = windowProgram(argv[0]);
    ::execv(window.c_str(), argv);
    const std::string text = "quav: " + window + " を起動できません。（" + std::strerror(errno) + "）\n";
    std::fputs(text.c_str(), stderr);
    return 2;
}
