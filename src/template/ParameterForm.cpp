#include "template/ParameterForm.h"

#include "base/Workbench.h"
#include "platform/Cp932.h"
#include "platform/LineBreak.h"
#include "platform/MessagePort.h"
#include "platform/NativeName.h"
#include "platform/TextFile.h"
#include "search/OpenFile.h"
#include "search/SearchWord.h"
#include "workarea/LineFormat.h"

#include <algorithm>

const QString ParameterForm::kCaption = QStringLiteral("複製用パラメータ読み込み");
const QString ParameterForm::kCancelCaption = QStringLiteral("キャンセル");
const QString ParameterForm::kCompleteCaption = QStringLiteral("設定完了");
const QString ParameterForm::kNoSelection = QStringLiteral("リストが選択されていません。");
const QString ParameterForm::kCardTooLong =
    QStringLiteral("パラメータは１００枚までです。以降のイメージは読み捨てました。");
const QString ParameterForm::kNothingTyped = QStringLiteral("追加イメージが入力されていません。");
const QString ParameterForm::kImageDuplicate = QStringLiteral("パラメータイメージが重複しています。");
const QString ParameterForm::kNothingChosen = QStringLiteral("パラメータイメージリストが選択されていません。");
const QString ParameterForm::kTooMany = QStringLiteral("パラメータの数が多すぎます。MAX100まで！");
const QString ParameterForm::kEmptyImage = QStringLiteral("パラメータにスペースは使えません。");
const QString ParameterForm::kDuplicate = QStringLiteral("パラメータが重複しています。");

ParameterForm::ParameterForm(const DuplicationParameters &committed)
{
    for (const QString &value : committed.values)
        m_images.add(value);
}

QStringList ParameterForm::cardLines(const QByteArray &bytes, bool *cut)
{
    QStringList lines;
    if (cut)
        *cut = false;
    if (bytes.isEmpty())
        return lines;
    const QList<QByteArrayView> raw = TextFile::splitLines(bytes);
    const qsizetype taken = std::min<qsizetype>(raw.size(), DuplicationParameters::kMax);
    for (qsizetype i = 0; i < taken; ++i)
        lines.append(Cp932::decode(raw.at(i)));
    if (cut)
        *cut = raw.size() > taken;
    return lines;
}

bool ParameterForm::readCard(const QString &path, MessagePort &port)
{
    return readCard(path.isEmpty() ? QByteArray() : NativeName::encode(path), port);
}

bool ParameterForm::readCard(const QByteArray &nativePath, MessagePort &port)
{
    if (nativePath.isEmpty()) {
        port.show(kNoSelection, kCaption, MessagePort::Icon::Exclamation);
        return false;
    }
    OpenFile file;
    QByteArray bytes;
    QString error;
    if (!file.openNative(nativePath, NativeName::decodePath(nativePath), &error) || !file.readMore(bytes, -1, &error)) {
        port.show(error, kCaption, MessagePort::Icon::Critical);
        return false;
    }
    bool cut = false;
    const QStringList lines = cardLines(bytes, &cut);
    for (const QString &line : lines)
        m_images.add(line);
    if (cut)
        port.show(kCardTooLong, kCaption, MessagePort::Icon::Critical);
    m_changed = true;
    return true;
}

bool ParameterForm::Add(QString &typed, MessagePort &port)
{
    typed = SearchWord::trimSpaces(typed);
    if (typed.isEmpty()) {
        port.show(kNothingTyped, kCaption, MessagePort::Icon::Exclamation);
        return false;
    }
    if (const QString refusal = LineBreak::Refusal(QStringLiteral("追加イメージ"), typed); !refusal.isEmpty()) {
        port.show(refusal, kCaption, MessagePort::Icon::Exclamation);
        return false;
    }
    if (m_images.texts().contains(typed)) {
        port.show(kImageDuplicate, kCaption, MessagePort::Icon::Exclamation);
        return false;
    }
    m_images.add(typed);
    m_changed = true;
    return true;
}

bool ParameterForm::Delete(const QList<int> &rows, MessagePort &port)
{
    QList<int> chosen;
    for (int row : rows)
        if (row >= 0 && row < m_images.count() && !chosen.contains(row))
            chosen.append(row);
    if (chosen.isEmpty()) {
        port.show(kNothingChosen, kCaption, MessagePort::Icon::Exclamation);
        return false;
    }
    // From the last row to the first, so that the rows still to go keep
    // their places.
    std::sort(chosen.begin(), chosen.end(), std::greater<int>());
    for (int row : std::as_const(chosen))
        m_images.remove(row);
    m_changed = true;
    return true;
}

QString ParameterForm::unusableInFileName(const QString &value)
{
    if (value == QLatin1String(".") || value == QLatin1String(".."))
        return QStringLiteral("パラメータ「") + value + QStringLiteral("」はファイル名に使えません。");
    if (value.contains(QLatin1Char('/')))
        return QStringLiteral("パラメータ「") + value
            + QStringLiteral("」は \"/\" を含むため、ファイル名に使えません。");
    if (value.contains(QChar(0))) {
        QString shown = value;
        shown.replace(QChar(0), QStringLiteral("<NUL>"));
        return QStringLiteral("パラメータ「") + shown
            + QStringLiteral("」は NUL 文字を含むため、ファイル名に使えません。");
    }
    if (value.contains(LineFormat::kSeparator))
        return QStringLiteral("パラメータ「") + value + QStringLiteral("」は \":@:\" を含むため、使えません。");
    return QString();
}

bool ParameterForm::Commit(DuplicationParameters &parameters, MessagePort &port) const
{
    if (m_images.count() > DuplicationParameters::kMax) {
        port.show(kTooMany, kCaption, MessagePort::Icon::Exclamation);
        return false;
    }
    // Exactly equal images stand next to each other in the sorted list, so
    // comparing each with the one above finds every duplicate.
    const QStringList images = m_images.texts();
    for (qsizetype i = 0; i < images.size(); ++i) {
        const QString &image = images.at(i);
        QString refusal;
        if (image.isEmpty())
            refusal = kEmptyImage;
        else if (i > 0 && image == images.at(i - 1))
            refusal = kDuplicate;
        else
            refusal = unusableInFileName(image);
        if (!refusal.isEmpty()) {
            port.show(refusal, kCaption, MessagePort::Icon::Exclamation);
            return false;
        }
    }
    parameters.values = images;
    return true;
}

bool ParameterForm::commitTo(Workbench &wb) const
{
    if (!Commit(wb.parameters, *wb.messages))
        return false;
    wb.Param_Count = wb.parameters.Param_Count();
    wb.board.parametersChanged(wb.Param_Count);
    wb.MENU_SETTEI();
    return true;
}
