#include "app/CommandLine.h"
#include "base/Workbench.h"
#include "app/widgets/KIHON.h"
#include "search/BatchSearch.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

// The window program. "quav" starts it for everything but a batch search;
// given "search" it runs the batch search as well, without a display.
int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "search") == 0) {
        QCoreApplication app(argc, argv);
        QList<QByteArray> args; // bytes as given: a file name need not be UTF-8
        for (int i = 2; i < argc; ++i)
            args.append(QByteArray(argv[i]));
        return BatchSearch::run(args, true);
    }
    // Help and version need no display: answered before the toolkit looks
    // for one.
    if (CommandLine::answerEarly(CommandLine::Parse(CommandLine::Arguments(argc, argv))))
        return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quav"));
    QApplication::setApplicationVersion(QStringLiteral(QUAV_VERSION));
    // Lets the desktop match the window to quav.desktop (name and icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("quav"));
    QApplication::setWindowIcon(KIHON::applicationIcon());

    // What is left once the toolkit has taken its own options.
    const CommandLine::Options options = CommandLine::Parse(app.arguments().mid(1));
    if (!options.error.isEmpty()) {
        std::fputs(("quav: " + options.error + QStringLiteral("（--help で使い方を表示します）\n")).toLocal8Bit().constData(),
                   stderr);
        return 2;
    }

    // The interface is Japanese whatever the locale: the standard buttons of
    // message boxes and dialogs too.
    QTranslator qtJapanese;
    if (qtJapanese.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);
    if (QFontDatabase::families().contains(QStringLiteral("IPAPGothic"))) {
        QFont font(QStringLiteral("IPAPGothic"));
        font.setPointSize(10);
        QApplication::setFont(font);
    }

    Workbench wb;
    SettingsStore store;
    wb.store = &store;
    KIHON window(wb);
    window.Form_Load(QDir::currentPath());
    if (options.dumpButton)
        wb.board.offerDump();
    window.show();
    return QApplication::exec();
}
