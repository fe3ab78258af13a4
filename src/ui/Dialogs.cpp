#include "ui/Dialogs.h"

#include "ui/StoredSettings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>

void Dialogs::inform(QWidget *parent, const QString &text, Icon icon, const QString &title)
{
    message(parent, title, text, icon, Buttons::Ok);
}

bool Dialogs::confirm(QWidget *parent, const QString &text, Icon icon, const QString &title)
{
    return message(parent, title, text, icon, Buttons::OkCancel) == Answer::Ok;
}

QStringList Dialogs::openFileNames(QWidget *parent, const QString &title, const QString &filter)
{
    const QString name = openFileName(parent, title, filter);
    return name.isEmpty() ? QStringList() : QStringList{name};
}

namespace {

QMessageBox::Icon toQt(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::Ok:
        return QMessageBox::Ok;
    case Dialogs::Buttons::OkCancel:
    case Dialogs::Buttons::OkCancelWithCancelDefault:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Dialogs::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Dialogs::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// Room in a title bar beside the title: the window icon and the close button, and the
// other buttons a window manager may add.
constexpr int kTitleBarControls = 120;

// The width a message box needs for its title bar to show `title` whole. Title bars
// mostly show the title in a bold face.
int titleBarWidth(const QString &title, const QFont &font)
{
    QFont bold = font;
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(title) + kTitleBarControls;
}

// The texts several windows show (link/Messages.h), in the user's language. The windows
// and the command line pass them in English; the message box translates them.
[[maybe_unused]] const char *const kSharedMessages[] = {
    QT_TRANSLATE_NOOP("Messages", "Key locked!"),
    QT_TRANSLATE_NOOP("Messages", "Invalid, try again!"),
    QT_TRANSLATE_NOOP("Messages", "Not dBA mode, continue? "),
    QT_TRANSLATE_NOOP("Messages", "No device available !"),
    QT_TRANSLATE_NOOP("Messages",
                      "The meter is busy with another command. Try again when it has finished."),
};

// The file dialogs' titles and filter entries, translated where the dialog is shown: the
// English title stays the dialog's name in the settings (the folder it showed last), so
// that the folder is remembered whatever the language.
[[maybe_unused]] const char *const kFileDialogTexts[] = {
    QT_TRANSLATE_NOOP("Dialogs", "Save As"),
    QT_TRANSLATE_NOOP("Dialogs", "Open"),
    QT_TRANSLATE_NOOP("Dialogs", "Open File"),
    QT_TRANSLATE_NOOP("Dialogs", "View File"),
    QT_TRANSLATE_NOOP("Dialogs", "Export PDF"),
    QT_TRANSLATE_NOOP("Dialogs", "Save As PDF"),
    QT_TRANSLATE_NOOP("Dialogs", "Import into the library"),
    QT_TRANSLATE_NOOP("Dialogs", "Library file"),
    QT_TRANSLATE_NOOP("Dialogs", "Add a data file as a sample"),
    QT_TRANSLATE_NOOP("Dialogs", "Data File[*.dat] (*.dat)"),
    QT_TRANSLATE_NOOP("Dialogs", "All type[*.*] (*)"),
    QT_TRANSLATE_NOOP("Dialogs", "Bank type[*.bnk] (*.bnk)"),
    QT_TRANSLATE_NOOP("Dialogs", "Avg type[*.avg] (*.avg)"),
    QT_TRANSLATE_NOOP("Dialogs", "Measurement files (*.dat *.bnk *.avg)"),
    QT_TRANSLATE_NOOP("Dialogs", "Library[*.sqlite] (*.sqlite)"),
};

QString translated(const char *context, const QString &text)
{
    return QCoreApplication::translate(context, text.toUtf8().constData());
}

// A filter with each of its entries translated; the patterns stay as they are.
QString translatedFilter(const QString &filter)
{
    QStringList entries = filter.split(QStringLiteral(";;"));
    for (QString &entry : entries)
        entry = translated("Dialogs", entry);
    return entries.join(QStringLiteral(";;"));
}

} // namespace

QString Dialogs::sharedMessage(const QString &text)
{
    return translated("Messages", text);
}

Dialogs::Answer QtDialogs::message(QWidget *parent, const QString &title, const QString &text,
                                   Icon icon, Buttons buttons)
{
    // Message texts end their lines with CR (and CR LF); Qt breaks lines at LF.
    QString shown = sharedMessage(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(toQt(icon), title.isEmpty() ? QApplication::applicationDisplayName() : title,
                    shown, toQt(buttons), parent);
    if (buttons == Buttons::OkCancelWithCancelDefault)
        box.setDefaultButton(QMessageBox::Cancel);
    // A short text gives a narrow box whose title bar cuts the title to "D... er"; the box
    // is made as wide as the title with room for the title bar's icon and buttons.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        grid->addItem(new QSpacerItem(titleBarWidth(box.windowTitle(), box.font()), 0,
                                      QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtDialogs::input(QWidget *parent, const QString &title,
                                        const QString &prompt, const QString &initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(
        parent, title.isEmpty() ? QApplication::applicationDisplayName() : title, prompt,
        QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtDialogs::saveFileName(QWidget *parent, const QString &title, const QString &filter)
{
    QFileDialog dialog(parent, translated("Dialogs", title), startFolder(parent, title),
                       translatedFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without an extension gets the first filter's ("*.dat" gives ".dat"), so
    // that the file shows up under that filter when it is opened again.
    static const QRegularExpression extension(QStringLiteral("\\*\\.(\\w+)"));
    if (const QRegularExpressionMatch match = extension.match(filter); match.hasMatch())
        dialog.setDefaultSuffix(match.captured(1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    keepFolder(parent, title, dialog.selectedFiles());
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::openFileName(QWidget *parent, const QString &title, const QString &filter)
{
    const QString name = QFileDialog::getOpenFileName(
        parent, translated("Dialogs", title), startFolder(parent, title), translatedFilter(filter));
    keepFolder(parent, title, {name});
    return name;
}

QStringList QtDialogs::openFileNames(QWidget *parent, const QString &title, const QString &filter)
{
    const QStringList names = QFileDialog::getOpenFileNames(
        parent, translated("Dialogs", title), startFolder(parent, title), translatedFilter(filter));
    keepFolder(parent, title, names);
    return names;
}

QString QtDialogs::dialogKey(QWidget *parent, const QString &title)
{
    const QString window = parent ? parent->window()->objectName() : QString();
    return (window.isEmpty() ? QStringLiteral("program") : window) + QLatin1Char('.') + title;
}

QString QtDialogs::startFolder(QWidget *parent, const QString &title) const
{
    return settings_ ? settings_->lastFolder(dialogKey(parent, title)) : QString();
}

void QtDialogs::keepFolder(QWidget *parent, const QString &title, const QStringList &chosen)
{
    if (settings_ && !chosen.isEmpty() && !chosen.constFirst().isEmpty())
        settings_->setLastFolder(dialogKey(parent, title),
                                 QFileInfo(chosen.constFirst()).absolutePath());
}

bool QtDialogs::print(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}
