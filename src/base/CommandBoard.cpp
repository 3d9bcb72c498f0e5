#include "base/CommandBoard.h"

const std::array<QString, CommandBoard::kCount> &CommandBoard::keys()
{
    static const std::array<QString, kCount> k = {
        QStringLiteral("DRIVE"),       QStringLiteral("FOLDER"),       QStringLiteral("NONE1"),
        QStringLiteral("HOZON"),       QStringLiteral("SEARCH_SAVE"),  QStringLiteral("SEARCH"),
        QStringLiteral("FILE_DELETE"), QStringLiteral("SORT"),         QStringLiteral("CHANGE"),
        QStringLiteral("UPDATE"),      QStringLiteral("CLEAR"),        QStringLiteral("CLIP"),
        QStringLiteral("PARAMETER"),   QStringLiteral("HINAGATA"),     QStringLiteral("HINA_FUKUSEI"),
        QStringLiteral("STOP"),        QStringLiteral("DISP_SEARCH"),  QStringLiteral("DISP"),
        QStringLiteral("TIME"),        QStringLiteral("SETTEI"),       QStringLiteral("END"),
    };
    return k;
}

int CommandBoard::indexOf(const QString &key)
{
    const auto &k = keys();
    for (int i = 0; i < kCount; ++i)
        if (k[size_t(i)] == key)
            return i;
    return -1;
}

CommandBoard::CommandBoard()
{
    m_enabled.fill(true);
    m_visible.fill(true);
}

bool CommandBoard::isEnabled(const QString &key) const
{
    const int i = indexOf(key);
    return i >= 0 && m_enabled[size_t(i)];
}

bool CommandBoard::isVisible(const QString &key) const
{
    const int i = indexOf(key);
    return i >= 0 && m_visible[size_t(i)];
}

void CommandBoard::setEnabled(const QString &key, bool enabled)
{
    const int i = indexOf(key);
    Q_ASSERT_X(i >= 0, "CommandBoard", "unknown command key");
    if (i < 0 || m_enabled[size_t(i)] == enabled)
        return;
    m_enabled[size_t(i)] = enabled;
    Q_EMIT changed(key);
}

void CommandBoard::setVisible(const QString &key, bool visible)
{
    const int i = indexOf(key);
    if (i < 0 || m_visible[size_t(i)] == visible)
        return;
    m_visible[size_t(i)] = visible;
    Q_EMIT changed(key);
}

void CommandBoard::enable(std::initializer_list<const char *> list)
{
    for (const char *k : list)
        setEnabled(QString::fromLatin1(k), true);
}

void CommandBoard::disable(std::initializer_list<const char *> list)
{
    for (const char *k : list)
        setEnabled(QString::fromLatin1(k), false);
}

void CommandBoard::Enter_Busy()
{
    for (int i = 0; i < kCount; ++i)
        m_saved[size_t(i)] = m_enabled[size_t(i)] ? 1 : 0;
    for (const QString &key : keys())
        setEnabled(key, false);
}

void CommandBoard::Leave_Busy()
{
    for (int i = 0; i < kCount; ++i)
        if (m_saved[size_t(i)] == 1)
            setEnabled(keys()[size_t(i)], true);
}

void CommandBoard::Apply_Startup()
{
    enable({"DRIVE", "FOLDER", "SEARCH", "CLEAR", "HINAGATA", "TIME", "SETTEI", "END"});
    disable({"HOZON", "SEARCH_SAVE", "FILE_DELETE", "SORT", "CHANGE", "UPDATE", "CLIP", "PARAMETER",
             "HINA_FUKUSEI", "STOP", "DISP_SEARCH", "DISP", "NONE1"});
    setVisible(QStringLiteral("NONE1"), false);
}
