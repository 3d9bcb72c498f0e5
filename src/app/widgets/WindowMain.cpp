#include "base/Workbench.h"
#include "app/widgets/KIHON.h"
#include "search/BatchSearch.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

// The window program. "quav" starts it for everything but a batch search;
// given "search" it runs the batch search as well, without a display.
int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "search") == 0) {
        QCoreApplication app(argc, argv);
        return BatchSearch::run(app.arguments().mid(2), true);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quav"));

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
    window.show();
    return QApplication::exec();
}
