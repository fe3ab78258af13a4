// The main window's Help menu: the user guide (the installed README, shown as HTML) and
// what the program is.

#include "main/MainWindow.h"

#include "ui/Dialogs.h"

#include <ProgramVersion.h>
#include <qcustomplot.h>

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QTextBrowser>
#include <QUrl>

namespace {

const QString kUserGuideName = QStringLiteral("UserGuide");

// Where the documentation is installed: beside the program first (a package unpacked
// anywhere), then where this build installs it.
QStringList documentationFolders()
{
    return {QDir::cleanPath(QCoreApplication::applicationDirPath() +
                            QStringLiteral("/../share/doc/dosemeter")),
            QStringLiteral(DOSEMETER_DOC_DIR)};
}

} // namespace

void MainWindow::buildHelp()
{
    helpMenu_ = menuBar()->addMenu(tr("&Help"));
    helpMenu_->setObjectName(QStringLiteral("helpMenu"));
    userGuideAction_ = helpMenu_->addAction(tr("User Guide"));
    userGuideAction_->setObjectName(QStringLiteral("userGuideAction"));
    userGuideAction_->setShortcut(QKeySequence::HelpContents);
    helpMenu_->addSeparator();
    aboutAction_ = helpMenu_->addAction(tr("About Dose Meter"));
    aboutAction_->setObjectName(QStringLiteral("aboutAction"));
    connect(userGuideAction_, &QAction::triggered, this, &MainWindow::showUserGuide);
    connect(aboutAction_, &QAction::triggered, this, [this] {
        dialogs_.inform(this, aboutText(), Dialogs::Icon::Information, tr("About Dose Meter"));
    });
}

QString MainWindow::userGuidePath(const QStringList &candidates)
{
    for (const QString &folder : candidates) {
        if (QFileInfo(folder + QStringLiteral("/README.md")).isFile())
            return folder + QStringLiteral("/README.md");
        if (QFileInfo(folder + QStringLiteral("/docs")).isDir())
            return folder + QStringLiteral("/docs");
    }
    return QString();
}

QString MainWindow::aboutText()
{
    return tr("Dose Meter %1\n\n"
              "The desktop program of a personal noise dosimeter.\n\n"
              "Licence: GNU General Public License, version 3 or later.\n\n"
              "Qt %2 (built with %3)\n"
              "QCustomPlot %4")
        .arg(QString::fromLatin1(kProgramVersion), QString::fromLatin1(qVersion()),
             QStringLiteral(QT_VERSION_STR), QStringLiteral(QCUSTOMPLOT_VERSION_STR));
}

void MainWindow::showUserGuide()
{
    const QString path = userGuidePath(documentationFolders());
    if (path.isEmpty()) {
        dialogs_.inform(this,
                        tr("The user guide is not installed (looked in %1).")
                            .arg(documentationFolders().join(QStringLiteral(", "))),
                        Dialogs::Icon::Warning);
        return;
    }
    if (QFileInfo(path).isDir()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        return;
    }
    auto *guide = findChild<QTextBrowser *>(kUserGuideName);
    if (!guide) {
        guide = new QTextBrowser(this);
        guide->setWindowFlag(Qt::Window);
        guide->setAttribute(Qt::WA_DeleteOnClose);
        guide->setObjectName(kUserGuideName);
        guide->setWindowTitle(tr("Dose Meter User Guide"));
        guide->setOpenExternalLinks(true);
        // The README's pictures are named relative to it (docs/main-window.png).
        guide->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
        guide->resize(900, 700);
    }
    guide->show();
    guide->raise();
    guide->activateWindow();
}
