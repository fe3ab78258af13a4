// The main window's measurement library: the Library menu, the choice of library, the files
// the windows keep and the recording that ended, and a measurement opened from the library
// window in the window its kind opens in.

#include "main/MainWindow.h"

#include "analysis/AssessmentWindow.h"
#include "averaging/AverageWindow.h"
#include "banks/BankWindow.h"
#include "data/DatFile.h"
#include "data/SavedFileWindow.h"
#include "library/LibraryConnectDialog.h"
#include "library/LibraryWindow.h"
#include "main/AppState.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace {

const QString kLibraryWindowName = QStringLiteral("LibraryWindow");

} // namespace

void MainWindow::buildLibrary()
{
    libraryMenu_ = menuBar()->addMenu(tr("&Library"));
    libraryMenu_->setObjectName(QStringLiteral("libraryMenu"));
    const auto action = [this](const char *name, const QString &text) {
        QAction *a = libraryMenu_->addAction(text);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    connectLibraryAction_ = action("connectLibraryAction", tr("Connect..."));
    importFilesAction_ = action("importFilesAction", tr("Import files..."));
    libraryMenu_->addSeparator();
    measurementsAction_ = action("measurementsAction", tr("Measurements"));
    connect(connectLibraryAction_, &QAction::triggered, this, &MainWindow::connectLibrary);
    connect(importFilesAction_, &QAction::triggered, this, [this] {
        measurementsAction_->trigger();
        if (auto *window = windows_.window<LibraryWindow>(kLibraryWindowName))
            window->chooseAndImport();
    });
    connect(&windows_, &WindowManager::keepRequested, this, &MainWindow::keepInLibrary);
}

QString MainWindow::openLibrary()
{
    if (library_.isOpen())
        return QString();
    LibraryLocation location = LibraryLocation::chosen();
    if (!state_.library.location.isEmpty()) {
        QString error;
        location = LibraryLocation::parse(state_.library.location, error);
        if (!error.isEmpty())
            return error;
    }
    return library_.open(location) ? QString() : library_.errorString();
}

bool MainWindow::libraryReady()
{
    const QString error = openLibrary();
    if (!error.isEmpty() && !closing_)
        dialogs_.inform(this, error, Dialogs::Icon::Critical);
    return error.isEmpty();
}

void MainWindow::connectLibrary()
{
    const QString current =
        state_.library.location.isEmpty() ? LibraryLocation::remembered() : state_.library.location;
    auto *dialog = new LibraryConnectDialog(
        current,
        [this](const QString &text) {
            QString error;
            const LibraryLocation location =
                text.isEmpty() ? LibraryLocation::sqlite(LibraryLocation::defaultPath())
                               : LibraryLocation::parse(text, error);
            if (!error.isEmpty())
                return error;
            // Tried apart first: a library that cannot be opened leaves the one in use open.
            Library trial;
            if (!trial.open(location))
                return trial.errorString();
            trial.close();
            if (!library_.open(location))
                return library_.errorString();
            LibraryLocation::remember(text);
            state_.library.location = text;
            statusBar()->showMessage(tr("Library: %1").arg(location.text()));
            if (auto *window = windows_.window<LibraryWindow>(kLibraryWindowName))
                window->refresh();
            return QString();
        },
        dialogs_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void MainWindow::keepInLibrary(const QString &path, const QString &kind, const QString &meter)
{
    const QString name = QFileInfo(path).fileName();
    const auto notKept = [this, &name](const QString &reason) {
        if (!closing_)
            dialogs_.inform(
                this, tr("%1 was saved, but the library could not keep it.\n%2").arg(name, reason),
                Dialogs::Icon::Warning);
    };
    if (const QString error = openLibrary(); !error.isEmpty()) {
        notKept(error);
        return;
    }
    MeasurementReader::Known known;
    known.kind = Measurement::kindFromName(kind);
    known.meter = meter;
    // What the main window knows of the meter's settings holds for what it measured live.
    if (known.kind != Measurement::Kind::Run && known.kind != Measurement::Kind::Banks) {
        const StatusFields &status = meter_.state().status;
        if (status.CriterionLevel > 0)
            known.criterionDb = status.CriterionLevel;
        if (status.ExchangeRate > 0)
            known.exchangeRateDb = status.ExchangeRate;
        if (meter_.state().ThresholdLevel >= 0)
            known.thresholdDb = meter_.state().ThresholdLevel;
        known.response = status.TimeWeightingText;
    }
    const Library::Import result = library_.importFile(path, known);
    switch (result.outcome) {
    case Library::Import::Outcome::Imported:
        statusBar()->showMessage(
            tr("%1 is kept in the library as measurement %2.").arg(name).arg(result.id));
        break;
    case Library::Import::Outcome::Already:
        statusBar()->showMessage(
            tr("%1 was already in the library as measurement %2.").arg(name).arg(result.id));
        break;
    case Library::Import::Outcome::Failed:
        notKept(result.error);
        return;
    }
    if (auto *window = windows_.window<LibraryWindow>(kLibraryWindowName))
        window->refresh();
}

void MainWindow::libraryWindowOpened(LibraryWindow *window)
{
    connect(window, &LibraryWindow::openRequested, this, &MainWindow::openMeasurement);
    connect(window, &LibraryWindow::assessmentRequested, this, &MainWindow::assessMeasurements);
    window->setAssessmentAvailable(true);
}

void MainWindow::assessMeasurements(const QList<Measurement> &measurements,
                                    const QStringList &paths)
{
    ExposureAssessment assessment;
    QList<qint64> ids; // the measurement of each list
    QList<ExcludedSpan> spans;
    QList<ShiftReport::Source> sources;
    for (int i = 0; i < measurements.size(); ++i) {
        const Measurement &measurement = measurements.at(i);
        if (measurement.kind == Measurement::Kind::Banks ||
            measurement.kind == Measurement::Kind::Average) {
            dialogs_.inform(this, tr("Measurement %1 holds no records of levels: an "
                                     "exposure assessment takes runs, recordings and "
                                     "lists.")
                                      .arg(measurement.id));
            return;
        }
        const DatFile::Content content = DatFile::read(paths.at(i));
        if (!content.ok()) {
            dialogs_.inform(this, content.error, Dialogs::Icon::Critical);
            return;
        }
        const QString name =
            QStringLiteral("%1 (%2)").arg(QFileInfo(paths.at(i)).fileName()).arg(measurement.id);
        const int list = assessment.addRecords(name, content.table);
        sources.append({name, content.table, content.notes});
        ids << measurement.id;
        for (const MeasurementSpan &kept :
             library_.excludedSpans(measurement.id).value_or(QList<MeasurementSpan>()))
            spans << ExcludedSpan{list, kept.firstRecord, kept.lastRecord, kept.reason};
    }
    AssessmentWindow *window = analysis_.openAssessment(std::move(assessment), sources);
    if (!window)
        return;
    window->setExcludedSpans(spans);
    connect(window, &AssessmentWindow::excludedSpansChanged, this, [this, window, ids] {
        // The library keeps the spans as the window has them now.
        QList<MeasurementSpan> kept;
        for (const ExcludedSpan &span : window->excludedSpans())
            kept.append({0, ids.at(span.list), span.first, span.last, span.reason});
        if (library_.replaceExcludedSpans(ids, kept) != Library::Change::Done)
            statusBar()->showMessage(library_.errorString());
    });
}

void MainWindow::openMeasurement(const Measurement &measurement, const QString &path)
{
    const char *name = measurement.kind == Measurement::Kind::Average ? "AverageWindow"
                       : measurement.kind == Measurement::Kind::Banks ? "BankWindow"
                                                                      : "SavedFileWindow";
    for (WindowEntry entry : windowEntries()) {
        if (QLatin1String(entry.spec.name) != QLatin1String(name))
            continue;
        entry.before = {}; // the key lock does not keep a file from opening
        if (measurement.kind == Measurement::Kind::Average) {
            auto *window = qobject_cast<AverageWindow *>(runEntry(entry));
            // Open is disabled while a run goes on; a file that cannot be read has said so.
            const QAction *open =
                window ? window->findChild<QAction *>(QStringLiteral("Open")) : nullptr;
            const bool runGoesOn = open && !open->isEnabled();
            if (window && !window->openFile(path) && runGoesOn)
                dialogs_.inform(window, tr("The Average window cannot open a file while a "
                                           "run goes on."));
        } else if (measurement.kind == Measurement::Kind::Banks) {
            if (auto *window = qobject_cast<BankWindow *>(runEntry(entry)))
                window->openFile(path);
        } else {
            // The saved-file view as View File opens it, given this file.
            if (sampler_.recording()) {
                dialogs_.inform(this, tr("A file cannot be viewed while a recording "
                                         "runs."));
                return;
            }
            entry.before = [this, path] {
                viewPath_ = path;
                return true;
            };
            runEntry(entry);
        }
        return;
    }
}
