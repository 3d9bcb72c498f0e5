#include "search/BatchSearch.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char **argv)
{
    // The batch search needs no display: decided before any widget exists.
    if (argc > 1 && qstrcmp(argv[1], "search") == 0) {
        QCoreApplication app(argc, argv);
        return BatchSearch::run(app.arguments().mid(2));
    }
    QApplication app(argc, argv);
    return 0;
}
