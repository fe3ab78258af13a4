#pragma once

// The Dialogs double for tests: answers from queues (defaults when a queue is empty:
// OK, Cancel for input and where Cancel is the default, no file, printing accepted) and records
// every dialog shown.

#include "ui/Dialogs.h"

#include <QList>
#include <QQueue>

#include <functional>

class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        QString kind; // "message", "input", "save", "open", "print"
        QString title;
        QString text; // message text, input prompt, file filter
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
    };

    Answer message(QWidget *parent, const QString &title, const QString &text, Icon icon,
                   Buttons buttons) override;
    std::optional<QString> input(QWidget *parent, const QString &title, const QString &prompt,
                                 const QString &initial) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &filter) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &filter) override;
    bool print(QWidget *parent, QPrinter &printer) override;

    QQueue<Answer> answers;
    QQueue<std::optional<QString>> inputs;
    QQueue<QString> fileNames;
    QQueue<bool> printAnswers;
    // Runs when a print dialog is accepted, to set up the printer (PDF output, copies).
    std::function<void(QPrinter &)> preparePrinter;

    QList<Shown> shown;
    QStringList texts() const; // the text of every dialog shown, in order
};
