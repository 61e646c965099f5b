#include "platform/Mci.h"

#include <QRegularExpression>

QString MciCommand::valueAfter(const QString& keyword) const
{
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        if (words[i].compare(keyword, Qt::CaseInsensitive) == 0)
            return words[i + 1];
    }
    return {};
}

MciCommand ParseMciCommand(const QString& text)
{
    MciCommand command;
    const QString line = text.trimmed();
    const qsizetype verbEnd = line.indexOf(QLatin1Char(' '));
    command.verb = (verbEnd < 0 ? line : line.left(verbEnd)).toLower();
    if (verbEnd < 0)
        return command;
    QString rest = line.mid(verbEnd + 1).trimmed();
    if (rest.startsWith(QLatin1Char('"'))) {
        const qsizetype close = rest.indexOf(QLatin1Char('"'), 1);
        command.device = close < 0 ? rest.mid(1) : rest.mid(1, close - 1);
        rest = close < 0 ? QString() : rest.mid(close + 1);
    } else if (command.verb == QLatin1String("open")) {
        // An unquoted path runs up to the first keyword of the open command.
        static const QRegularExpression keyword(QStringLiteral("\\s+(type|alias|shareable)\\s"),
                                                QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = keyword.match(rest);
        const qsizetype end = m.hasMatch() ? m.capturedStart() : rest.size();
        command.device = rest.left(end);
        rest = rest.mid(end);
    } else {
        const qsizetype end = rest.indexOf(QLatin1Char(' '));
        command.device = end < 0 ? rest : rest.left(end);
        rest = end < 0 ? QString() : rest.mid(end);
    }
    command.words = rest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return command;
}

QString RecordingMci::send(const QString& command, int* error)
{
    sent << command;
    if (error)
        *error = 0;
    return replies.value(command);
}
