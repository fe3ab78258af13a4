#pragma once

// Message, input, file and print dialogs behind one seam: Qt's dialogs in the
// program, a scripted double in tests that answers from a queue and records every
// dialog shown.

#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;
class StoredSettings;
class QWidget;

class Dialogs {
public:
    enum class Icon { None, Information, Question, Warning, Critical };
    // OkCancelWithCancelDefault: for what cannot be undone, Enter answers Cancel.
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, OkCancelWithCancelDefault };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Dialogs() = default;

    virtual Answer message(QWidget *parent, const QString &title, const QString &text, Icon icon,
                           Buttons buttons) = 0;
    // nullopt on Cancel.
    virtual std::optional<QString> input(QWidget *parent, const QString &title,
                                         const QString &prompt, const QString &initial) = 0;
    // filter in Qt form ("Data File[*.dat] (*.dat);;All type[*.*] (*)"); empty on Cancel.
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &filter) = 0;
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &filter) = 0;
    // Several files at once; empty on Cancel. By default the one file openFileName() gives.
    virtual QStringList openFileNames(QWidget *parent, const QString &title, const QString &filter);
    // Lets the user choose a printer and copies; false on Cancel.
    virtual bool print(QWidget *parent, QPrinter &printer) = 0;

    // A text of link/Messages.h in the user's language (message boxes show them so); any
    // other text as it is.
    static QString sharedMessage(const QString &text);
    // File dialogs show their title and filter in the user's language; callers pass the
    // English, which names the dialog in the settings.

    // Shorthands for the common message boxes.
    void inform(QWidget *parent, const QString &text, Icon icon = Icon::Information,
                const QString &title = QString());
    bool confirm(QWidget *parent, const QString &text, Icon icon = Icon::Question,
                 const QString &title = QString());
};

class QtDialogs final : public Dialogs {
public:
    // With settings, each file dialog opens in the folder it showed last.
    void setSettings(StoredSettings *settings) { settings_ = settings; }

    Answer message(QWidget *parent, const QString &title, const QString &text, Icon icon,
                   Buttons buttons) override;
    std::optional<QString> input(QWidget *parent, const QString &title, const QString &prompt,
                                 const QString &initial) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &filter) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &filter) override;
    QStringList openFileNames(QWidget *parent, const QString &title,
                              const QString &filter) override;
    bool print(QWidget *parent, QPrinter &printer) override;

private:
    // The dialog's name in the settings: its window's and its own title.
    static QString dialogKey(QWidget *parent, const QString &title);
    QString startFolder(QWidget *parent, const QString &title) const;
    // Keeps the folder of the first chosen file; nothing on Cancel.
    void keepFolder(QWidget *parent, const QString &title, const QStringList &chosen);

    StoredSettings *settings_ = nullptr;
};
