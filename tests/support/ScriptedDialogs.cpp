#include "support/ScriptedDialogs.h"

Dialogs::Answer ScriptedDialogs::message(QWidget *, const QString &title, const QString &text,
                                         Icon icon, Buttons buttons)
{
    shown.append({QStringLiteral("message"), title, text, icon, buttons});
    if (!answers.isEmpty())
        return answers.dequeue();
    if (buttons == Buttons::OkCancelWithCancelDefault)
        return Answer::Cancel; // as Enter would answer it
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
}

std::optional<QString> ScriptedDialogs::input(QWidget *, const QString &title,
                                              const QString &prompt, const QString &)
{
    shown.append({QStringLiteral("input"), title, prompt, Icon::None, Buttons::OkCancel});
    if (!inputs.isEmpty())
        return inputs.dequeue();
    return std::nullopt;
}

QString ScriptedDialogs::saveFileName(QWidget *, const QString &title, const QString &filter)
{
    shown.append({QStringLiteral("save"), title, filter, Icon::None, Buttons::OkCancel});
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString ScriptedDialogs::openFileName(QWidget *, const QString &title, const QString &filter)
{
    shown.append({QStringLiteral("open"), title, filter, Icon::None, Buttons::OkCancel});
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

bool ScriptedDialogs::print(QWidget *, QPrinter &printer)
{
    shown.append({QStringLiteral("print"), QString(), QString(), Icon::None, Buttons::OkCancel});
    const bool accepted = printAnswers.isEmpty() || printAnswers.dequeue();
    if (accepted && preparePrinter)
        preparePrinter(printer);
    return accepted;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList all;
    for (const Shown &s : shown)
        all << s.text;
    return all;
}
