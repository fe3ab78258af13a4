#include "ui/MeterWindow.h"

#include "link/Messages.h"
#include "link/Meter.h"
#include "ui/Dialogs.h"
#include "ui/Theme.h"

#include <QCloseEvent>
#include <QLayout>

#include <algorithm>

MeterWindow::MeterWindow(Meter &meter, Dialogs &dialogs, const char *name, const QString &caption,
                         QWidget *parent)
    : QWidget(parent, Qt::Window), meter_(meter), dialogs_(dialogs)
{
    setObjectName(QLatin1String(name));
    setWindowTitle(caption);
    setProperty("role", QStringLiteral("window"));
    setStyleSheet(Theme::windowStyleSheet());
}

MeterWindow::~MeterWindow()
{
    if (!closedEmitted_) {
        closedEmitted_ = true;
        emit closed();
    }
}

void MeterWindow::describe(QWidget *control, const QString &accessibleName,
                           const QString &description)
{
    control->setAccessibleName(accessibleName);
    control->setAccessibleDescription(description);
    if (control->toolTip().isEmpty())
        control->setToolTip(description);
}

void MeterWindow::shrinkToContents()
{
    if (QLayout *contents = layout())
        contents->activate();
    const int wanted = std::max(sizeHint().height(), minimumSizeHint().height());
    if (height() > wanted)
        resize(width(), wanted);
}

MeterWindow::Command::Command(MeterWindow &window) : window_(window)
{
    ++window_.commands_;
}

MeterWindow::Command::~Command()
{
    if (--window_.commands_ == 0 && window_.closePending_) {
        window_.closePending_ = false;
        QMetaObject::invokeMethod(&window_, &QWidget::close, Qt::QueuedConnection);
    }
}

bool MeterWindow::mayRunCommand(bool checkKeyLock)
{
    if (checkKeyLock && meter_.state().display.KeysLocked) {
        dialogs_.inform(this, Messages::kKeyLocked, Dialogs::Icon::Critical);
        return false;
    }
    if (meterBusy()) {
        dialogs_.inform(this, Messages::kMeterBusy, Dialogs::Icon::Information);
        return false;
    }
    return true;
}

void MeterWindow::closeEvent(QCloseEvent *event)
{
    closing_ = true;
    if (commands_ > 0) {
        // A command of this window is inside a wait and comes back to it: the window goes
        // out of sight now and closes when the command has ended.
        closePending_ = true;
        hide();
        event->ignore();
        return;
    }
    windowClosing();
    event->accept();
    QWidget::closeEvent(event);
    if (!closedEmitted_) {
        closedEmitted_ = true;
        emit closed();
    }
}
