#include "platform/Prompts.h"

void ScriptedPrompts::message(const QString& text, const QString& title)
{
    shown.append({QStringLiteral("message"), text, title});
}

bool ScriptedPrompts::askYesNo(const QString& text, const QString& title)
{
    shown.append({QStringLiteral("yesno"), text, title});
    return nextAnswer(Answer::No) == Answer::Yes;
}

bool ScriptedPrompts::askYesNoWarning(const QString& text, const QString& title)
{
    shown.append({QStringLiteral("yesnowarning"), text, title});
    return nextAnswer(Answer::No) == Answer::Yes;
}

Prompts::Answer ScriptedPrompts::askYesNoCancel(const QString& text, const QString& title)
{
    shown.append({QStringLiteral("yesnocancel"), text, title});
    return nextAnswer(Answer::Cancel);
}

Prompts::Answer ScriptedPrompts::askRetryCancel(const QString& text, const QString& title)
{
    shown.append({QStringLiteral("retrycancel"), text, title});
    return nextAnswer(Answer::Cancel);
}

std::optional<QString> ScriptedPrompts::input(const QString& prompt, const QString& title,
                                              const QString&)
{
    shown.append({QStringLiteral("input"), prompt, title});
    if (texts.isEmpty())
        return std::nullopt;
    return texts.takeFirst();
}

std::optional<QString> ScriptedPrompts::password(const QString& prompt, const QString& title)
{
    shown.append({QStringLiteral("password"), prompt, title});
    if (texts.isEmpty())
        return std::nullopt;
    return texts.takeFirst();
}

QString ScriptedPrompts::chooseFolder(const QString& title, const QString&)
{
    shown.append({QStringLiteral("folder"), QString(), title});
    return nextText();
}

QString ScriptedPrompts::chooseOpenFile(const QString& title, const QString&, const QString&)
{
    shown.append({QStringLiteral("open"), QString(), title});
    return nextText();
}

QString ScriptedPrompts::chooseSaveFile(const QString& title, const QString&, const QString&,
                                        Overwrite overwrite)
{
    shown.append({QStringLiteral("save"), QString(), title});
    saveOverwrites.append(overwrite);
    return nextText();
}

QStringList ScriptedPrompts::shownTexts() const
{
    QStringList result;
    for (const Shown& s : shown)
        result << s.text;
    return result;
}

Prompts::Answer ScriptedPrompts::nextAnswer(Answer fallback)
{
    return answers.isEmpty() ? fallback : answers.takeFirst();
}

QString ScriptedPrompts::nextText()
{
    return texts.isEmpty() ? QString() : texts.takeFirst();
}
