#include "library/LibraryWindow.h"

#include "library/Library.h"
#include "library/LibraryModel.h"
#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kImportFilter = QStringLiteral(
    "Measurement files (*.dat *.bnk *.avg);;Data File[*.dat] (*.dat);;Bank type[*.bnk] "
    "(*.bnk);;Avg type[*.avg] (*.avg);;All type[*.*] (*)");
// Typing in a filter box reads the library again once the typing pauses this long.
constexpr int kFilterPauseMilliseconds = 150;

} // namespace

LibraryWindow::LibraryWindow(Meter &meter, Library &library, Dialogs &dialogs, QWidget *parent)
    : MeterWindow(meter, dialogs, "LibraryWindow", tr("Measurement Library"), parent),
      library_(library)
{
    model_ = new LibraryModel(library_, this);
    buildControls();
    setAcceptDrops(true);
    connect(model_, &LibraryModel::errorOccurred, this, [this](const QString &message) {
        this->dialogs().inform(this, message, Dialogs::Icon::Critical);
    });
    refresh();
}

LibraryWindow::~LibraryWindow() = default;

void LibraryWindow::buildControls()
{
    const auto textFilter = [this](const char *name, const QString &field,
                                   const QString &description) {
        auto *box = named(new QLineEdit(this), name, field, description);
        box->setPlaceholderText(field);
        box->setClearButtonEnabled(true);
        return box;
    };
    workerFilter_ = textFilter("workerFilter", tr("Worker"),
                               tr("Shows the measurements whose worker holds this text"));
    siteFilter_ = textFilter("siteFilter", tr("Site"),
                             tr("Shows the measurements whose site holds this text"));
    jobFilter_ =
        textFilter("jobFilter", tr("Job"), tr("Shows the measurements whose job holds this text"));
    kindFilter_ = named(new QComboBox(this), "kindFilter", tr("Kind"),
                        tr("Shows the measurements of one kind"));
    kindFilter_->addItem(tr("All kinds"));
    for (const Measurement::Kind kind : Measurement::kinds())
        kindFilter_->addItem(LibraryModel::kindCaption(kind), int(kind));
    const auto dateFilter = [this](const char *checkName, const QString &caption,
                                   const QString &description, const char *dateName,
                                   QCheckBox *&check, QDateEdit *&date) {
        check = named(new QCheckBox(caption, this), checkName);
        date = named(new QDateEdit(QDate::currentDate(), this), dateName, caption, description);
        // Its own edit box is what a screen reader reaches.
        describe(date->findChild<QLineEdit *>(), date->accessibleName(),
                 date->accessibleDescription());
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        date->setEnabled(false);
        connect(check, &QCheckBox::toggled, date, &QDateEdit::setEnabled);
    };
    dateFilter("fromCheck", tr("From"), tr("The measurements that start on this day or later"),
               "fromDate", fromCheck_, fromDate_);
    dateFilter("toCheck", tr("To"), tr("The measurements that start on this day or earlier"),
               "toDate", toCheck_, toDate_);

    table_ = named(new QTableView(this), "table", tr("Measurements"),
                   tr("The measurements of the library; worker, site and job can be "
                      "edited in place"));
    table_->setModel(model_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(LibraryModel::StartColumn, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::SelectedClicked);
    table_->setAlternatingRowColors(true);
    table_->verticalHeader()->hide();
    table_->setWordWrap(false);
    // Widths from the texts the columns hold, not from the rows: measuring 10,000 rows
    // would make every search wait.
    const QFontMetrics metrics = table_->fontMetrics();
    const std::pair<int, const char *> widths[] = {
        {LibraryModel::KindColumn, "recording"},
        {LibraryModel::StartColumn, "0000-00-00 00:00:00"},
        {LibraryModel::DurationColumn, "000:00:00"},
        {LibraryModel::MeterColumn, "Meter"},
        {LibraryModel::RecordsColumn, "Records"},
        {LibraryModel::LaeqColumn, "LAeq dB"}};
    for (const auto &[column, sample] : widths)
        table_->setColumnWidth(
            column, std::max(metrics.horizontalAdvance(QLatin1String(sample)),
                             metrics.horizontalAdvance(
                                 model_->headerData(column, Qt::Horizontal).toString())) +
                        24);
    // Worker, site and job share what the window has to spare.
    for (const int column :
         {LibraryModel::WorkerColumn, LibraryModel::SiteColumn, LibraryModel::JobColumn})
        table_->horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);

    summaryLabel_ = named(new QLabel(this), "summaryLabel");
    importButton_ = named(new QPushButton(tr("Import..."), this), "importButton");
    openButton_ = named(new QPushButton(tr("Open"), this), "openButton");
    assessButton_ = named(new QPushButton(tr("Assessment..."), this), "assessButton");
    deleteButton_ = named(new QPushButton(tr("Delete..."), this), "deleteButton");
    importButton_->setToolTip(tr(".dat, .bnk and .avg files into the library (or "
                                 "drop them on this window)"));
    openButton_->setToolTip(tr("Show the measurement as its file opens"));

    auto *filters = new QGridLayout;
    filters->addWidget(workerFilter_, 0, 0);
    filters->addWidget(siteFilter_, 0, 1);
    filters->addWidget(jobFilter_, 0, 2);
    filters->addWidget(kindFilter_, 0, 3);
    auto *dates = new QHBoxLayout;
    dates->addWidget(fromCheck_);
    dates->addWidget(fromDate_);
    dates->addSpacing(12);
    dates->addWidget(toCheck_);
    dates->addWidget(toDate_);
    dates->addStretch(1);
    filters->addLayout(dates, 1, 0, 1, 4);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(summaryLabel_, 1);
    for (QPushButton *button : {importButton_, openButton_, assessButton_, deleteButton_})
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->addLayout(filters);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    resize(1000, 520);

    filterTimer_ = new QTimer(this);
    filterTimer_->setSingleShot(true);
    filterTimer_->setInterval(kFilterPauseMilliseconds);
    connect(filterTimer_, &QTimer::timeout, this, &LibraryWindow::refresh);
    const auto later = [this] { filterTimer_->start(); };
    for (QLineEdit *box : {workerFilter_, siteFilter_, jobFilter_})
        connect(box, &QLineEdit::textChanged, this, later);
    connect(kindFilter_, &QComboBox::currentIndexChanged, this, &LibraryWindow::refresh);
    for (QCheckBox *check : {fromCheck_, toCheck_})
        connect(check, &QCheckBox::toggled, this, &LibraryWindow::refresh);
    for (QDateEdit *date : {fromDate_, toDate_})
        connect(date, &QDateEdit::dateChanged, this, later);

    connect(importButton_, &QPushButton::clicked, this, &LibraryWindow::chooseAndImport);
    connect(openButton_, &QPushButton::clicked, this, &LibraryWindow::openCurrent);
    connect(assessButton_, &QPushButton::clicked, this, &LibraryWindow::assessChosen);
    connect(deleteButton_, &QPushButton::clicked, this, &LibraryWindow::deleteChosen);
    connect(table_, &QTableView::activated, this, [this](const QModelIndex &index) {
        if (!(model_->flags(index) & Qt::ItemIsEditable))
            openCurrent();
    });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &LibraryWindow::updateButtons);
    connect(model_, &QAbstractItemModel::modelReset, this, &LibraryWindow::updateButtons);
}

LibraryFilter LibraryWindow::filter() const
{
    LibraryFilter filter;
    filter.worker = workerFilter_->text().trimmed();
    filter.site = siteFilter_->text().trimmed();
    filter.job = jobFilter_->text().trimmed();
    if (kindFilter_->currentIndex() > 0)
        filter.kind = Measurement::Kind(kindFilter_->currentData().toInt());
    if (fromCheck_->isChecked())
        filter.from = fromDate_->date();
    if (toCheck_->isChecked())
        filter.to = toDate_->date();
    return filter;
}

void LibraryWindow::refresh()
{
    filterTimer_->stop();
    model_->refresh(filter());
}

void LibraryWindow::updateButtons()
{
    const int chosen = int(chosenRows().size());
    openButton_->setEnabled(chosen == 1);
    deleteButton_->setEnabled(chosen > 0);
    assessButton_->setEnabled(assessmentAvailable_ && chosen > 0);
    assessButton_->setToolTip(assessmentAvailable_
                                  ? tr("One exposure assessment of the chosen "
                                       "measurements")
                                  : tr("The exposure assessment is not part of this "
                                       "version"));
    summaryLabel_->setText(
        tr("%1 measurements in %2").arg(model_->rowCount()).arg(library_.location().text()));
}

void LibraryWindow::setAssessmentAvailable(bool available)
{
    assessmentAvailable_ = available;
    updateButtons();
}

QList<int> LibraryWindow::chosenRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : table_->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void LibraryWindow::importFiles(const QStringList &paths)
{
    QStringList lines;
    bool failed = false;
    QProgressDialog progress(tr("Importing into the library..."), tr("Stop"), 0, int(paths.size()),
                             this);
    progress.setMinimumDuration(500);
    for (int i = 0; i < paths.size() && !progress.wasCanceled(); ++i) {
        progress.setValue(i);
        const QString name = QFileInfo(paths.at(i)).fileName();
        const Library::Import result = library_.importFile(paths.at(i));
        switch (result.outcome) {
        case Library::Import::Outcome::Imported:
            lines << tr("%1: imported as measurement %2.").arg(name).arg(result.id);
            break;
        case Library::Import::Outcome::Already:
            lines << tr("%1: already in the library as measurement %2.").arg(name).arg(result.id);
            break;
        case Library::Import::Outcome::Failed:
            lines << tr("%1: not imported. %2").arg(name, result.error);
            failed = true;
            break;
        }
    }
    progress.setValue(int(paths.size()));
    refresh();
    if (!lines.isEmpty())
        dialogs().inform(this, lines.join(QLatin1Char('\n')),
                         failed ? Dialogs::Icon::Warning : Dialogs::Icon::Information);
}

void LibraryWindow::chooseAndImport()
{
    const QStringList paths =
        dialogs().openFileNames(this, QStringLiteral("Import into the library"), kImportFilter);
    if (!paths.isEmpty())
        importFiles(paths);
}

QString LibraryWindow::exported(const Measurement &measurement)
{
    // Each measurement in a folder of its own, so that its file keeps its name.
    const QString folder = copies_.filePath(QString::number(measurement.id));
    const QString path = QDir(folder).filePath(
        measurement.fileName.isEmpty() ? QStringLiteral("measurement") : measurement.fileName);
    if (!copies_.isValid() || !QDir().mkpath(folder)) {
        dialogs().inform(this, tr("No temporary folder for the measurement's file."),
                         Dialogs::Icon::Critical);
        return QString();
    }
    if (library_.exportFile(measurement.id, path) != Library::Change::Done) {
        dialogs().inform(this,
                         library_.errorString().isEmpty()
                             ? tr("Measurement %1 is no longer in the library.").arg(measurement.id)
                             : library_.errorString(),
                         Dialogs::Icon::Critical);
        refresh();
        return QString();
    }
    return path;
}

void LibraryWindow::openCurrent()
{
    const QList<int> rows = chosenRows();
    const int row = rows.size() == 1 ? rows.first() : table_->currentIndex().row();
    if (row < 0 || row >= model_->rowCount())
        return;
    const Measurement measurement = model_->measurement(row);
    const QString path = exported(measurement);
    if (!path.isEmpty())
        emit openRequested(measurement, path);
}

void LibraryWindow::deleteChosen()
{
    const QList<int> rows = chosenRows();
    if (rows.isEmpty())
        return;
    QList<qint64> ids;
    for (const int row : rows)
        ids << model_->measurement(row).id;
    const QString what = ids.size() == 1 ? tr("measurement %1 (%2)")
                                               .arg(ids.first())
                                               .arg(model_->measurement(rows.first()).fileName)
                                         : tr("these %1 measurements").arg(ids.size());
    if (dialogs().message(this, tr("Delete"),
                          tr("Delete %1 from the library? The stored files go with "
                             "them; this cannot be undone.")
                              .arg(what),
                          Dialogs::Icon::Warning,
                          Dialogs::Buttons::OkCancelWithCancelDefault) != Dialogs::Answer::Ok)
        return;
    if (library_.remove(ids) == Library::Change::Failed)
        dialogs().inform(this, library_.errorString(), Dialogs::Icon::Critical);
    refresh();
}

void LibraryWindow::assessChosen()
{
    if (!assessmentAvailable_)
        return;
    QList<Measurement> measurements;
    QStringList paths;
    for (const int row : chosenRows()) {
        const Measurement measurement = model_->measurement(row);
        const QString path = exported(measurement);
        if (path.isEmpty())
            return;
        measurements << measurement;
        paths << path;
    }
    if (!measurements.isEmpty())
        emit assessmentRequested(measurements, paths);
}

void LibraryWindow::windowClosing()
{
    filterTimer_->stop();
}

void LibraryWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void LibraryWindow::dropEvent(QDropEvent *event)
{
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has ended: the import's message must not run inside the drag.
    QTimer::singleShot(0, this, [this, paths] { importFiles(paths); });
}
