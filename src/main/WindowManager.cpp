#include "main/WindowManager.h"

#include "link/Messages.h"
#include "link/Meter.h"
#include "main/AppState.h"
#include "main/WindowPlacement.h"
#include "ui/Dialogs.h"
#include "ui/KeepInLibraryBox.h"
#include "ui/MeterWindow.h"
#include "ui/ScreenFit.h"
#include "ui/StandardShortcuts.h"
#include "ui/StoredSettings.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace {

bool closing(const QWidget *window)
{
    const auto *meterWindow = qobject_cast<const MeterWindow *>(window);
    return meterWindow && meterWindow->closing();
}

} // namespace

WindowManager::WindowManager(QWidget &mainWindow, Meter &meter, AppState &state, Dialogs &dialogs,
                             QObject *parent)
    : QObject(parent), main_(mainWindow), meter_(meter), state_(state), dialogs_(dialogs)
{
}

WindowManager::~WindowManager()
{
    for (const QPointer<QWidget> &window : std::as_const(windows_))
        delete window.data();
}

QWidget *WindowManager::window(const QString &name) const
{
    for (const QPointer<QWidget> &window : windows_) {
        if (window && window->objectName() == name && !closing(window))
            return window;
    }
    return nullptr;
}

QWidget *WindowManager::open(const Spec &spec)
{
    if (!spec.create || (spec.openFlag && *spec.openFlag))
        return nullptr;
    if (QWidget *existing = window(QLatin1String(spec.name))) {
        if (!spec.reopen) {
            existing->show();
            existing->raise();
            existing->activateWindow();
            return existing;
        }
        existing->close();
    }
    // The switch to dBA presses MODE: never in the middle of another command's traffic.
    if (spec.dba != Dba::Any && !meter_.state().display.DbaMode && meterBusy()) {
        dialogs_.inform(&main_, Messages::kMeterBusy);
        return nullptr;
    }
    switch (spec.dba) {
    case Dba::Prompt:
        if (!dbaPrompt())
            return nullptr;
        break;
    case Dba::Select:
        if (!meter_.state().display.DbaMode)
            meter_.selectDbaDisplay();
        break;
    case Dba::Any:
        break;
    }
    QWidget *created = spec.create();
    if (!created)
        return nullptr;
    track(created, spec);
    place(created, spec.placement);
    restoreGeometry(created);
    created->show();
    created->raise();
    return created;
}

void WindowManager::track(QWidget *window, const Spec &spec)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->installEventFilter(this);
    addStandardShortcuts(window);
    windows_.removeAll(nullptr);
    windows_.append(window);
    if (auto *meterWindow = qobject_cast<MeterWindow *>(window))
        meterWindow->setBusyCheck([this] { return meterBusy(); });
    for (KeepInLibraryBox *box : window->findChildren<KeepInLibraryBox *>())
        connect(box, &KeepInLibraryBox::keepRequested, this, &WindowManager::keepRequested);
    if (bool *flag = spec.openFlag) {
        *flag = true;
        // The flag goes when the window closes, or at the latest when it is deleted.
        const auto clear = [flag] { *flag = false; };
        if (auto *meterWindow = qobject_cast<MeterWindow *>(window))
            connect(meterWindow, &MeterWindow::closed, this, clear);
        connect(window, &QObject::destroyed, this, clear);
    }
}

void WindowManager::place(QWidget *window, Placement placement) const
{
    const QScreen *screen = main_.screen() ? main_.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // A window not shown yet has no frame: it gets the main window's title bar and borders.
    const QSize decoration =
        main_.isVisible() ? main_.frameGeometry().size() - main_.size() : QSize(0, 0);
    const QRect available = screen->availableGeometry();
    QSize size = window->isVisible() ? window->frameGeometry().size() : QSize();
    if (!size.isValid()) {
        QSize client = window->testAttribute(Qt::WA_Resized)
                           ? window->size()
                           : window->sizeHint().expandedTo(window->minimumSizeHint());
        // A window that opens larger than the screen loses its buttons off the edge: it
        // opens as large as the screen lets it, down to what its controls need.
        const QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize());
        const QSize fitted = WindowPlacement::fitted(available, client, decoration, minimum);
        if (fitted != client) {
            window->resize(fitted);
            client = fitted;
        }
        size = client + decoration;
    }
    QList<QPoint> occupied;
    QList<QRect> openFrames;
    for (const QPointer<QWidget> &open : windows_) {
        if (open && open != window && open->isVisible()) {
            occupied << open->pos();
            openFrames << open->frameGeometry();
        }
    }
    if (window != &main_ && main_.isVisible())
        occupied << main_.pos();
    if (placement == Placement::BesideMain && window != &main_) {
        // Beside the windows open where there is room, else by the rule, over some of them.
        const std::optional<QPoint> free =
            WindowPlacement::freeSpot(available, main_.frameGeometry(), size, openFrames);
        window->move(
            free ? *free
                 : WindowPlacement::besideMain(available, main_.frameGeometry(), size, occupied));
    } else {
        window->move(
            placement == Placement::BesideMain
                ? WindowPlacement::besideMain(available, main_.frameGeometry(), size, occupied)
                : WindowPlacement::topLeft(available, size, occupied));
    }
}

void WindowManager::setSettings(StoredSettings *settings)
{
    settings_ = settings;
    main_.installEventFilter(this);
    restoreGeometry(&main_);
}

void WindowManager::restoreGeometry(QWidget *window) const
{
    if (!settings_)
        return;
    const std::optional<QRect> kept = settings_->windowGeometry(window->objectName());
    if (!kept)
        return;
    QList<QRect> screens;
    // The primary screen first: a window on a screen that is gone comes back there.
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        screens << primary->availableGeometry();
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    QRect geometry = *kept;
    // A window of fixed size keeps its own size: only its place is restored.
    if (window->minimumSize() == window->maximumSize())
        geometry.setSize(window->size());
    // A place kept while the main window was smaller (in another language, say) would put
    // the window over it: the place the rule gave stays, only the size comes back.
    if (window != &main_ && main_.isVisible() && geometry.intersects(main_.frameGeometry())) {
        window->resize(keepOnScreen(geometry, screens).size());
        return;
    }
    window->setGeometry(keepOnScreen(geometry, screens));
}

bool WindowManager::eventFilter(QObject *watched, QEvent *event)
{
    if (settings_ && event->type() == QEvent::Close && watched->isWidgetType()) {
        const auto *window = static_cast<QWidget *>(watched);
        if (!window->objectName().isEmpty() && !window->isMinimized() && !window->isMaximized())
            settings_->setWindowGeometry(window->objectName(), window->geometry());
    }
    return QObject::eventFilter(watched, event);
}

bool WindowManager::dbaPrompt()
{
    if (meter_.state().display.DbaMode)
        return true;
    if (meterBusy()) {
        dialogs_.inform(&main_, Messages::kMeterBusy);
        return false;
    }
    if (dialogs_.confirm(&main_, Messages::kNotDbaMode))
        meter_.selectDbaDisplay();
    meter_.wait(0.2);
    return true;
}

bool WindowManager::meterBusy() const
{
    if (state_.logger.DownloadBusy || (mainBusy_ && mainBusy_()))
        return true;
    for (const QPointer<QWidget> &window : windows_) {
        const auto *meterWindow = qobject_cast<const MeterWindow *>(window.data());
        if (meterWindow && meterWindow->commandRunning())
            return true;
    }
    return false;
}

void WindowManager::closeAll()
{
    const QList<QPointer<QWidget>> windows = windows_;
    for (const QPointer<QWidget> &window : windows) {
        if (window)
            window->close();
    }
}
