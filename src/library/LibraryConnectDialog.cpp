#include "library/LibraryConnectDialog.h"

#include "library/LibraryLocation.h"
#include "ui/Dialogs.h"
#include "ui/MeterWindow.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kServerExample = QStringLiteral("postgresql://user@host:5432/dbname");

} // namespace

LibraryConnectDialog::LibraryConnectDialog(const QString &current, Connect connect,
                                           Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), connect_(std::move(connect)), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("LibraryConnectDialog"));
    setWindowTitle(tr("Connect to a Library"));
    using Named = MeterWindow;
    defaultChoice_ =
        Named::named(new QRadioButton(tr("The library on this computer"), this), "defaultChoice");
    fileChoice_ = Named::named(new QRadioButton(tr("Another library file"), this), "fileChoice");
    serverChoice_ = Named::named(
        new QRadioButton(tr("A PostgreSQL database shared by a team"), this), "serverChoice");
    auto *defaultPath = new QLabel(LibraryLocation::defaultPath(), this);
    defaultPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fileEdit_ = Named::named(new QLineEdit(this), "fileEdit", tr("Library file"),
                             tr("A SQLite library file; made when it does not exist"));
    browseButton_ = Named::named(new QPushButton(tr("Browse..."), this), "browseButton");
    serverEdit_ = Named::named(new QLineEdit(this), "serverEdit", tr("Server address"),
                               QStringLiteral("postgresql://[user@]host[:port]/dbname"));
    serverEdit_->setPlaceholderText(kServerExample);
    auto *passwordNote =
        new QLabel(tr("The password goes in ~/.pgpass (host:port:dbname:user:password), "
                      "never here."),
                   this);
    passwordNote->setWordWrap(true);
    errorLabel_ = Named::named(new QLabel(this), "errorLabel");
    errorLabel_->setWordWrap(true);
    errorLabel_->setStyleSheet(QStringLiteral("color: #b00020"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *choices = new QGridLayout;
    choices->setColumnMinimumWidth(0, 20);
    choices->addWidget(defaultChoice_, 0, 0, 1, 3);
    choices->addWidget(defaultPath, 1, 1, 1, 2);
    choices->addWidget(fileChoice_, 2, 0, 1, 3);
    choices->addWidget(fileEdit_, 3, 1);
    choices->addWidget(browseButton_, 3, 2);
    choices->addWidget(serverChoice_, 4, 0, 1, 3);
    choices->addWidget(serverEdit_, 5, 1, 1, 2);
    choices->addWidget(passwordNote, 6, 1, 1, 2);
    choices->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(errorLabel_);
    layout->addWidget(buttons);
    resize(520, sizeHint().height());

    QString error;
    const LibraryLocation location = LibraryLocation::parse(current, error);
    if (current.isEmpty() || !error.isEmpty()) {
        defaultChoice_->setChecked(true);
    } else if (location.kind() == LibraryLocation::Kind::SQLite) {
        fileChoice_->setChecked(true);
        fileEdit_->setText(location.path());
    } else {
        serverChoice_->setChecked(true);
        serverEdit_->setText(location.text());
    }
    for (QRadioButton *choice : {defaultChoice_, fileChoice_, serverChoice_})
        QObject::connect(choice, &QRadioButton::toggled, this, &LibraryConnectDialog::updateState);
    QObject::connect(browseButton_, &QPushButton::clicked, this, [this] {
        const QString path = dialogs_.saveFileName(
            this, QStringLiteral("Library file"),
            QStringLiteral("Library[*.sqlite] (*.sqlite);;All type[*.*] (*)"));
        if (!path.isEmpty())
            fileEdit_->setText(path);
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, this, &LibraryConnectDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, this, &LibraryConnectDialog::reject);
    updateState();
}

void LibraryConnectDialog::updateState()
{
    fileEdit_->setEnabled(fileChoice_->isChecked());
    browseButton_->setEnabled(fileChoice_->isChecked());
    serverEdit_->setEnabled(serverChoice_->isChecked());
}

QString LibraryConnectDialog::choice() const
{
    if (fileChoice_->isChecked())
        return fileEdit_->text().trimmed();
    if (serverChoice_->isChecked())
        return serverEdit_->text().trimmed();
    return QString();
}

void LibraryConnectDialog::accept()
{
    const QString text = choice();
    if (!defaultChoice_->isChecked()) {
        QString error;
        LibraryLocation::parse(text, error);
        if (!error.isEmpty()) {
            errorLabel_->setText(error);
            return;
        }
    }
    errorLabel_->setText(tr("Connecting..."));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString error = connect_(text);
    QApplication::restoreOverrideCursor();
    errorLabel_->setText(error);
    if (error.isEmpty())
        QDialog::accept();
}
