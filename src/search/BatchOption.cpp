#include "search/BatchOption.h"

#include "base/Settings.h"
#include "search/SearchWord.h"
#include "workarea/LineFormat.h"

namespace {

constexpr unsigned bits(std::initializer_list<BatchCommand> commands)
{
    unsigned out = 0;
    for (BatchCommand c : commands)
        out |= unsigned(c);
    return out;
}

const unsigned kSearching = bits({BatchCommand::Search, BatchCommand::Replace});
const unsigned kSaving = bits({BatchCommand::Replace, BatchCommand::Duplicate});

// A value that must not be empty; none at the end of the command line.
std::optional<QString> needed(BatchArguments &a, QString *error)
{
    const std::optional<QString> v = a.value();
    if (!v || v->isEmpty()) {
        *error = a.name() + QStringLiteral(" には値が必要です。");
        return std::nullopt;
    }
    return v;
}

// A flag: one choice set to `value`.
template <auto member, auto value>
QString set(BatchArguments &, BatchChoices &c)
{
    c.*member = value;
    return QString();
}

template <auto member, auto value>
QString setSearch(BatchArguments &, BatchChoices &c)
{
    c.search.*member = value;
    return QString();
}

// A value that must not be empty, as text.
template <auto member>
QString takeText(BatchArguments &a, BatchChoices &c)
{
    QString error;
    if (const std::optional<QString> v = needed(a, &error))
        c.*member = *v;
    return error;
}

QString takeIdentifiers(BatchArguments &a, BatchChoices &c)
{
    QString error;
    const std::optional<QString> v = needed(a, &error);
    if (!v)
        return error;
    QStringList ids;
    for (const QString &part : v->split(QLatin1Char(','))) {
        const QString trimmed = SearchWord::trimSpaces(part);
        const QString id = LineFormat::Ucase(trimmed);
        if (id.isEmpty())
            continue;
        if (id.contains(QLatin1Char('.')) || id.size() > 3)
            return QStringLiteral("識別子は3文字以内で、\".\" を含められません: ") + trimmed;
        if (!ids.contains(id))
            ids.append(id);
    }
    if (ids.isEmpty())
        return QStringLiteral("--ext に識別子がありません。");
    if (size_t(ids.size()) > Settings::kIdentifiers)
        return QStringLiteral("識別子は%1個までです。").arg(Settings::kIdentifiers);
    c.search.ext = ids;
    return QString();
}

QString takeStream(BatchArguments &a, BatchChoices &c)
{
    const HitStream::What what = a.is(QLatin1StringView("-l")) ? HitStream::What::Files : HitStream::What::Lines;
    if (c.stream && *c.stream != what)
        return QStringLiteral("-l と -n は同時に指定できません。");
    c.stream = what;
    return QString();
}

QList<BatchOption> table()
{
    using C = BatchOption::Completes;
    const unsigned search = unsigned(BatchCommand::Search);
    const unsigned window = unsigned(BatchCommand::Window);
    return {
        {QStringLiteral("--with"), {}, QStringLiteral("文字列"), unsigned(BatchCommand::Replace),
         QStringLiteral("置換後の文字列（'' なら検索文字列を削除）"), C::Nothing, {},
         [](BatchArguments &a, BatchChoices &c) {
             // An empty replacement is allowed: it deletes.
             c.with = a.value();
             return c.with ? QString() : QStringLiteral("--with には値が必要です。");
         }},
        {QStringLiteral("--dir"), {}, QStringLiteral("フォルダ"), kSearching,
         QStringLiteral("検索するフォルダ（既定: カレントフォルダ）"), C::Folders, {},
         [](BatchArguments &a, BatchChoices &c) {
             QString error;
             if (needed(a, &error))
                 c.search.dir = a.valueBytes();
             return error;
         }},
        {QStringLiteral("--ext"), {}, QStringLiteral("TXT,CSV,..."), kSearching,
         QStringLiteral("検索する識別子、カンマ区切り、%1個まで（大文字にして比較）\n（既定: 登録識別子全て）")
             .arg(Settings::kIdentifiers),
         C::Nothing, {}, takeIdentifiers},
        {QStringLiteral("--case"), {}, {}, kSearching,
         QStringLiteral("英大文字・小文字を区別する（既定: 区別しない）"), C::Nothing, {},
         setSearch<&BatchSearchOptions::caseSensitive, true>},
        {QStringLiteral("--subdirs"), {}, {}, kSearching, QStringLiteral("サブフォルダも検索する"), C::Nothing, {},
         setSearch<&BatchSearchOptions::subDirs, true>},
        {QStringLiteral("--no-subdirs"), {}, {}, kSearching,
         QStringLiteral("サブフォルダは検索しない（既定: 保存された設定）"), C::Nothing, {},
         setSearch<&BatchSearchOptions::subDirs, false>},
        {QStringLiteral("--encoding"), {}, QStringLiteral("auto|cp932"), kSearching | unsigned(BatchCommand::Duplicate),
         QStringLiteral("auto: ファイル（雛形）ごとに BOM と UTF-8 かどうかで文字コードを判定、\n"
                        "cp932: すべてシフトJIS として読む（既定: 保存された設定）"),
         C::Choices, QStringLiteral("auto cp932"),
         [](BatchArguments &a, BatchChoices &c) {
             const std::optional<QString> v = a.value();
             EncodingChoice choice;
             if (!v || !TextEncodings::parseChoice(*v, &choice))
                 return QStringLiteral("--encoding には auto か cp932 を指定してください。");
             c.search.encoding = choice;
             return QString();
         }},
        {QStringLiteral("--timestamps"), {}, {}, search, QStringLiteral("ファイル行に更新日時とサイズを付ける"),
         C::Nothing, {},
         set<&BatchChoices::timestamps, true>},
        {QStringLiteral("--no-timestamps"), {}, {}, search, QStringLiteral("付けない（既定: 保存された設定）"),
         C::Nothing, {},
         set<&BatchChoices::timestamps, false>},
        {QStringLiteral("--out"), {}, QStringLiteral("ファイル"), search,
         QStringLiteral("結果ファイルを書く（Shift-JIS、CR LF、\":@:\" は空白3つ）\n"
                        "省略時は同じ行を標準出力へ UTF-8 で出力（ファイル行のパスは省略せずに）\n"
                        "（UTF-8 でないファイル名・フォルダ名はディスク上のバイト列のまま。-l、-n も同じ）"),
         C::Files, {},
         takeText<&BatchChoices::out>},
        {QStringLiteral("--rtf"), {}, QStringLiteral("ファイル"), search, QStringLiteral("一覧表示用の RTF 文書も書く"),
         C::Files, {},
         takeText<&BatchChoices::rtf>},
        {QStringLiteral("-n"), {}, {}, search,
         QStringLiteral("ヒットした行ごとに「パス:行番号:行」を標準出力へ出力する（grep -n と同じ形式、\n"
                        "行は UTF-8、すべてのファイルのすべてのヒット行、ワークエリアの上限なし）"),
         C::Nothing, {}, takeStream},
        {QStringLiteral("-l"), {}, {}, search,
         QStringLiteral("ヒットしたファイルのパスを1行に1つ標準出力へ出力する\n"
                        "（各ファイルは最初のヒットまでしか読まない）"),
         C::Nothing, {}, takeStream},
        {QStringLiteral("--params"), {}, QStringLiteral("ファイル"), unsigned(BatchCommand::Duplicate),
         QStringLiteral("パラメータカード（1行に1つ、最大100行。空行・重複・\"/\" を含むものは不可）"), C::Files, {},
         [](BatchArguments &a, BatchChoices &c) {
             if (!a.value())
                 return QStringLiteral("--params にパラメータカードのファイルを指定してください。");
             c.params = a.valueBytes();
             return QString();
         }},
        {QStringLiteral("--search"), {}, QStringLiteral("文字列"), unsigned(BatchCommand::Duplicate),
         QStringLiteral("雛形の中でパラメータに置き換える文字列（大文字・小文字を区別）"), C::Nothing, {},
         [](BatchArguments &a, BatchChoices &c) {
             const std::optional<QString> v = a.value();
             if (!v)
                 return QStringLiteral("--search に検索文字列を指定してください。");
             c.searchText = *v;
             return QString();
         }},
        {QStringLiteral("--pattern"), {}, QStringLiteral("1|2|3"), unsigned(BatchCommand::Duplicate),
         QStringLiteral("新しいファイルの名前（既定 1）\n"
                        "  1  名前_パラメータ.拡張子（名前に \".\" がなければ 2 と同じ）\n"
                        "  2  名前.拡張子_パラメータ\n"
                        "  3  雛形と同じフォルダのパラメータという名前（雛形は1つだけ）"),
         C::Choices, QStringLiteral("1 2 3"),
         [](BatchArguments &a, BatchChoices &c) {
             const std::optional<QString> v = a.value();
             if (!v || (*v != QLatin1String("1") && *v != QLatin1String("2") && *v != QLatin1String("3")))
                 return QStringLiteral("--pattern は 1、2、3 のどれかです。");
             c.pattern = v->toInt();
             return QString();
         }},
        {QStringLiteral("--force"), {}, {}, unsigned(BatchCommand::Duplicate),
         QStringLiteral("既にあるファイルを上書きする（指定しなければ、そのファイルは書かず、ほかは書く）"),
         C::Nothing, {},
         set<&BatchChoices::force, true>},
        {QStringLiteral("--list"), {}, {}, unsigned(BatchCommand::Undo),
         QStringLiteral("保存の一覧（ID、時刻、状態、ファイル数、コマンド）を表示する"), C::Nothing, {},
         set<&BatchChoices::list, true>},
        // The id is the word after the options: "--keep ID".
        {QStringLiteral("--keep"), {}, {}, unsigned(BatchCommand::Undo),
         QStringLiteral("中断された保存（ID で指定）で書かれた内容をそのまま残す（あとで取り消すこともできる）"),
         C::Nothing, {},
         set<&BatchChoices::keep, true>},
        {QStringLiteral("--dry-run"), {}, {}, kSaving | unsigned(BatchCommand::Undo),
         QStringLiteral("何も書かずに、書き込むファイルのパスを表示する"), C::Nothing, {},
         set<&BatchChoices::dryRun, true>},
        {QStringLiteral("--no-undo"), {}, {}, kSaving,
         QStringLiteral("取り消し用の記録を残さずに保存する（quav undo で戻せない）"), C::Nothing, {},
         set<&BatchChoices::noUndo, true>},
        {QStringLiteral("--dump"), {}, {}, window,
         QStringLiteral("ツールバーに作業エリアのダンプ用ボタンを出す（開発用）"), C::Nothing, {},
         set<&BatchChoices::dumpButton, true>},
        {QStringLiteral("--help"), QStringLiteral("-h"), {}, ~0u, QStringLiteral("この説明を表示して終了する"),
         C::Nothing, {},
         set<&BatchChoices::help, true>},
        {QStringLiteral("--version"), {}, {}, window, QStringLiteral("バージョンを表示して終了する"), C::Nothing, {},
         set<&BatchChoices::version, true>},
    };
}

} // namespace

const QList<BatchOption> &BatchOption::all()
{
    static const QList<BatchOption> options = table();
    return options;
}

const BatchOption *BatchOption::find(BatchCommand command, QStringView written)
{
    for (const BatchOption &o : all())
        if (o.serves(command) && (o.name == written || (!o.alias.isEmpty() && o.alias == written)))
            return &o;
    return nullptr;
}

QString BatchOption::parse(BatchCommand command, BatchArguments &a, BatchChoices &c)
{
    while (a.next()) {
        const BatchOption *o = find(command, a.name());
        // A flag written with "=VALUE" is no option of ours.
        if (!o || (o->isFlag() && a.written() != a.name()))
            return QStringLiteral("不明なオプションです: ") + a.written();
        if (const QString error = o->apply(a, c); !error.isEmpty())
            return error;
    }
    return QString();
}
