#include "ui/StandardShortcuts.h"

#include <QAction>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QWidget>

namespace {

struct Command {
    QKeySequence::StandardKey key;
    // The objectNames the command has in our windows, menu entries first.
    QStringList names;
};

bool keyTaken(const QWidget *window, const QKeySequence &key)
{
    for (const QAction *action : window->findChildren<QAction *>()) {
        if (action->shortcuts().contains(key))
            return true;
    }
    for (const QShortcut *shortcut : window->findChildren<QShortcut *>()) {
        if (shortcut->key() == key)
            return true;
    }
    return false;
}

bool giveKey(QWidget *window, const QString &name, const QKeySequence &key)
{
    if (auto *action = window->findChild<QAction *>(name)) {
        action->setShortcut(key);
        // Entries of a toolbar or menu act while any part of their window has the focus.
        action->setShortcutContext(Qt::WindowShortcut);
        if (!action->associatedObjects().isEmpty())
            return true;
        window->addAction(action);
        return true;
    }
    if (auto *button = window->findChild<QPushButton *>(name)) {
        auto *shortcut = new QShortcut(key, window);
        QObject::connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled() && button->isVisible())
                button->click();
        });
        return true;
    }
    return false;
}

} // namespace

void addStandardShortcuts(QWidget *window)
{
    static const Command commands[] = {
        {QKeySequence::Open,
         {QStringLiteral("openAction"), QStringLiteral("Open"), QStringLiteral("Open File"),
          QStringLiteral("openButton")}},
        {QKeySequence::Save,
         {QStringLiteral("saveAction"), QStringLiteral("Save"), QStringLiteral("saveButton")}},
        {QKeySequence::Print,
         {QStringLiteral("printAction"), QStringLiteral("Print"), QStringLiteral("printButton"),
          // A window whose printing goes through the report it previews.
          QStringLiteral("reportButton")}},
    };
    for (const Command &command : commands) {
        const QKeySequence key(command.key);
        if (keyTaken(window, key))
            continue;
        for (const QString &name : command.names) {
            if (giveKey(window, name, key))
                break;
        }
    }
    // A shortcut, not a key handler: the fields that filter what is typed would swallow the
    // key first. A cell being edited and an open list still take their Esc, as they ask for it
    // before shortcuts are looked at.
    const QKeySequence escape(Qt::Key_Escape);
    if (!keyTaken(window, escape)) {
        auto *close = new QShortcut(escape, window);
        close->setObjectName(QStringLiteral("closeShortcut"));
        QObject::connect(close, &QShortcut::activated, window, &QWidget::close);
    }
}
