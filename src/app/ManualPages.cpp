#include "app/ManualPages.h"

#include "app/CommandLine.h"
#include "edit/BatchReplace.h"
#include "edit/BatchUndo.h"
#include "search/BatchCommandLine.h"
#include "search/BatchSearch.h"
#include "template/BatchDuplicate.h"

#ifndef QUAV_VERSION
#error "QUAV_VERSION comes from the project version in CMakeLists.txt"
#endif

QList<BatchCommandText> ManualPages::commands()
{
    return {CommandLine::text(), BatchSearch::text(), BatchReplace::text(), BatchDuplicate::text(),
            BatchUndo::text()};
}

std::optional<QString> ManualPages::page(const QString &page)
{
    const QList<BatchCommandText> all = commands();
    QStringList names;
    for (const BatchCommandText &c : all)
        names.append(c.page);
    for (const BatchCommandText &c : all) {
        if (c.page != page)
            continue;
        QStringList others = names;
        others.removeOne(page);
        return c.manPage(QStringLiteral(QUAV_VERSION), others);
    }
    return std::nullopt;
}

QString ManualPages::bashCompletion()
{
    return BatchCommandText::bashCompletion(QStringLiteral("quav"), commands());
}

std::optional<int> ManualPages::answer(const QStringList &args)
{
    std::optional<QString> text;
    if (args.size() == 2 && args.front() == QLatin1String("--man"))
        text = page(args.back());
    else if (args.size() == 2 && args.front() == QLatin1String("--completion") && args.back() == QLatin1String("bash"))
        text = bashCompletion();
    else
        return std::nullopt;
    if (!text)
        return BatchOutput::fail("quav", QStringLiteral("そのマニュアルページはありません: ") + args.back());
    return BatchOutput::print("quav", *text);
}
