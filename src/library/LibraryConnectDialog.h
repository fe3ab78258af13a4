#pragma once

// Library > "Connect...": which library the program uses. The library on this computer (the
// default file), another library file, or a PostgreSQL server's database. OK connects at once
// and stays open with the reason when that fails; the program then remembers the choice.
// No password is asked for or kept: it belongs in ~/.pgpass.

#include <QDialog>

#include <functional>

class Dialogs;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class LibraryConnectDialog : public QDialog {
    Q_OBJECT
public:
    // Connects to a library given as text (empty: the default file); empty on success,
    // else the reason.
    using Connect = std::function<QString(const QString &text)>;

    // `current`: the text of the library in use now (empty for the default).
    LibraryConnectDialog(const QString &current, Connect connect, Dialogs &dialogs,
                         QWidget *parent = nullptr);

    // The text of the choice made in the controls (empty for the default file).
    QString choice() const;
    // OK: checks and connects; closes only when that worked.
    void accept() override;

    QRadioButton *defaultChoice_ = nullptr;
    QRadioButton *fileChoice_ = nullptr;
    QRadioButton *serverChoice_ = nullptr;
    QLineEdit *fileEdit_ = nullptr;
    QPushButton *browseButton_ = nullptr;
    QLineEdit *serverEdit_ = nullptr;
    QLabel *errorLabel_ = nullptr;

private:
    void updateState();

    Connect connect_;
    Dialogs &dialogs_;
};
