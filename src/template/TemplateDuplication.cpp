#include "template/TemplateDuplication.h"

#include "edit/TextReplace.h"
#include "platform/Cp932.h"
#include "platform/EventPump.h"
#include "platform/MessagePort.h"
#include "platform/ProgressPort.h"
#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

const QString TemplateDuplication::kCaption = QStringLiteral("雛形複製");
const QString TemplateDuplication::kLineErrorCaption = QStringLiteral("雛形複製処理");
const QString TemplateDuplication::kNoParameters = QStringLiteral("複製のためのパラメータが設定されていません。");
const QString TemplateDuplication::kNoSource = QStringLiteral("対象ファイルが選択されていません。");
const QString TemplateDuplication::kNoSearchText = QStringLiteral("検索文字列が設定されていません。");
const QString TemplateDuplication::kOneSourceOnly =
    QStringLiteral("生成ファイル名に＃＃＃を選択したときは、\r\n対象ファイルは、１つしか選択できません。");
const QString TemplateDuplication::kAlreadyOpen =
    QStringLiteral("同じファイルが既に開かれています。\r\nこのファイルの複製は中止します。");
const QString TemplateDuplication::kOverflow =
    QStringLiteral("で複製中に、Over Flow しました。\r\n対象データが多すぎます。雛形複製は中止しました。");
const QString TemplateDuplication::kLineError = QStringLiteral("実行時のエラーを検出しました。\r\n複製失敗");

namespace {

QString overflowText(const QString &source, const QString &parameter)
{
    return source + QStringLiteral("を") + parameter + TemplateDuplication::kOverflow;
}

// Whether the last part of a path as on disk is a UTF-8 name: a made file's
// name is written in the encoding of its source's name.
bool namedInUtf8(const QByteArray &nativePath)
{
    return NativeName::isUtf8(QByteArrayView(nativePath).sliced(nativePath.lastIndexOf('/') + 1));
}

} // namespace

ReplaceInLineFunction TemplateDuplication::lineReplacer()
{
    return &TextReplace::ReplaceInLine;
}

QStringList TemplateDuplication::patternItems()
{
    return {QStringLiteral("＊＿＃＃＃．＊"), QStringLiteral("＊．＊＿＃＃＃"), QStringLiteral("＃＃＃")};
}

QString TemplateDuplication::newFileName(const QString &source, const QString &parameter, int pattern)
{
    const qsizetype slash = source.lastIndexOf(QLatin1Char('/'));
    if (pattern == ParameterOnly)
        return source.left(slash + 1) + parameter;
    if (pattern != AfterName) {
        const qsizetype dot = source.lastIndexOf(QLatin1Char('.'));
        if (dot > slash)
            return source.left(dot) + QLatin1Char('_') + parameter + source.mid(dot);
    }
    return source + QLatin1Char('_') + parameter;
}

QByteArray TemplateDuplication::newNativePath(const QByteArray &sourceNative, const QString &newPath)
{
    const qsizetype slash = sourceNative.lastIndexOf('/');
    const QString name = newPath.mid(newPath.lastIndexOf(QLatin1Char('/')) + 1);
    const QByteArray native
        = sourceNative.left(slash + 1) + (namedInUtf8(sourceNative) ? name.toUtf8() : Cp932::encode(name));
    return native == NativeName::encode(newPath) ? QByteArray() : native;
}

QString TemplateDuplication::madeHeader(const QString &newPath, const QString &source)
{
    return LineFormat::kMakePrefix + newPath + LineFormat::kSeparator + QStringLiteral(" <-- ") + source;
}

bool TemplateDuplication::checkOpen(int paramCount, MessagePort &port)
{
    if (paramCount > 0)
        return true;
    port.show(kNoParameters, kCaption, MessagePort::Icon::Exclamation);
    return false;
}

bool TemplateDuplication::checkRun(int selectedSources, const QString &searchText, int pattern, MessagePort &port)
{
    QString refusal;
    if (selectedSources <= 0)
        refusal = kNoSource;
    else if (searchText.isEmpty())
        refusal = kNoSearchText;
    else if (pattern == ParameterOnly && selectedSources != 1)
        refusal = kOneSourceOnly;
    if (refusal.isEmpty())
        return true;
    port.show(refusal, kCaption, MessagePort::Icon::Exclamation);
    return false;
}

TemplateDuplication::Made TemplateDuplication::Make_File_Seisei(const QString &parameter,
                                                                const QString &searchText,
                                                                const QString &source, int pattern,
                                                                const TemplateStore &store,
                                                                const ReplaceInLineFunction &replace)
{
    Made out;
    const QString newPath = newFileName(source, parameter, pattern);
    if (store.isOpen(newPath)) {
        out.status = Status::AlreadyOpen;
        out.message = newPath + QStringLiteral("\r\n") + kAlreadyOpen;
        return out;
    }
    const TextEncoding encoding = store.encodingOf(source);
    const QByteArray sourceNative = store.nativePath(source);
    if (const QString unmapped = Cp932::unmappedCharacters(parameter); !unmapped.isEmpty()) {
        const bool shiftJisText = encoding == TextEncoding::Cp932;
        if (shiftJisText || !namedInUtf8(sourceNative)) {
            out.status = Status::Unsavable;
            out.message = newPath + QStringLiteral("\r\nパラメータにシフトJISで表せない文字が含まれています。（")
                + unmapped + QStringLiteral("）\r\n雛形")
                + (shiftJisText ? QStringLiteral("がシフトJISのファイル") : QStringLiteral("の名前がシフトJIS"))
                + QStringLiteral("のため、このファイルは作りません。");
            return out;
        }
    }
    const QStringList sourceEntries = store.storedEntries(source);
    if (sourceEntries.size() + store.storedLines() > WorkArea::kAdmissionLimit) {
        out.status = Status::Overflow;
        out.message = overflowText(source, parameter);
        return out;
    }

    const qint16 method = TextReplace::methodFor(searchText, parameter);
    QStringList entries;
    entries.reserve(sourceEntries.size());
    for (const QString &entry : sourceEntries) {
        const qsizetype sep = entry.indexOf(LineFormat::kSeparator);
        if (sep < 0) {
            ++out.lineErrors;
            continue;
        }
        QString line = newPath + entry.mid(sep);
        QString output;
        qint16 changed = 0;
        if (replace(TextReplace::kStoredLine, method, line, searchText, TextReplace::kExactCase, parameter, output,
                    changed) != TextReplace::kDone) {
            ++out.lineErrors;
            continue;
        }
        entries.append(output);
    }

    out.status = Status::Made;
    out.file.path = newPath;
    out.file.header = madeHeader(newPath, source);
    out.file.entries = std::move(entries);
    out.file.changed = true;
    // Its lines keep their numbers, so a save finds each one's bytes there.
    out.file.bytes = store.sourceBytes(source);
    out.file.encoding = encoding;
    out.file.nativePath = newNativePath(sourceNative, newPath);
    return out;
}

TemplateDuplication::Summary TemplateDuplication::Run(const QStringList &parameters, const QStringList &sources,
                                                      const QString &searchText, int pattern,
                                                      TemplateStore &store, MessagePort &port,
                                                      const ReplaceInLineFunction &replace,
                                                      const TemplateRunPorts &ports)
{
    Summary summary;
    if (!checkRun(int(sources.size()), searchText, pattern, port)) {
        summary.refused = true;
        return summary;
    }
    if (ports.progress) {
        ports.progress->setRange(0, int(parameters.size() * sources.size()));
        ports.progress->setValue(0);
        ports.progress->setShown(true);
    }
    RunNotices notices(port, ports.status, ports.boxes);
    QStringList unsavable;
    int done = 0;
    for (const QString &parameter : parameters) {
        for (const QString &source : sources) {
            if (ports.stopped())
                break;
            Made made = Make_File_Seisei(parameter, searchText, source, pattern, store, replace);
            switch (made.status) {
            case Status::AlreadyOpen:
                ++summary.alreadyOpen;
                notices.refuse(RunNotices::Kind::AlreadyOpen, [&] { return made.message; }, kCaption);
                break;
            case Status::Overflow:
                ++summary.overflow;
                notices.refuse(RunNotices::Kind::Overflow, [&] { return made.message; }, kCaption);
                break;
            case Status::Unsavable:
                ++summary.unsavable;
                if (ports.boxes == RunNotices::Boxes::Every)
                    port.show(made.message, kCaption, MessagePort::Icon::Exclamation);
                else
                    unsavable.append(made.message);
                break;
            case Status::Made: {
                // One message for the file, not one per line: the routine
                // refuses a line only for arguments that are the same for
                // every line.
                if (made.lineErrors > 0)
                    port.show(kLineError, kLineErrorCaption, MessagePort::Icon::Critical);
                const QString path = made.file.path;
                if (store.addFile(std::move(made.file))) {
                    ++summary.made;
                    summary.newPaths.append(path);
                } else {
                    ++summary.overflow;
                    notices.refuse(RunNotices::Kind::Overflow, [&] { return overflowText(source, parameter); },
                                   kCaption);
                }
                break;
            }
            }
            if (ports.progress)
                ports.progress->setValue(++done);
            if (ports.pump)
                ports.pump->yield();
        }
    }
    const QString closing = notices.closingMessage(unsavable);
    if (!closing.isEmpty())
        port.show(closing, kCaption, MessagePort::Icon::Exclamation);
    return summary;
}
