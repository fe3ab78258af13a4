#include "data/SavedFileWindow.h"

#include "data/DatFile.h"
#include "data/FileTransfer.h"
#include "data/NoteBoxes.h"
#include "data/RecordGrid.h"
#include "ui/Dialogs.h"
#include "ui/GridView.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int kVisibleRows = 18;
// Reading shorter than this does not stop to serve the user interface.
constexpr qint64 kQuietMilliseconds = 50;

} // namespace

SavedFileWindow::SavedFileWindow(Meter &meter, Dialogs &dialogs, QWidget *parent)
    : MeterWindow(meter, dialogs, "SavedFileWindow", tr("Saved File"), parent)
{
    recordGrid_ = new RecordGrid(RecordTable::recordHeadings(), this);
    buildControls();
    setAnalysisEnabled(false);
}

void SavedFileWindow::buildControls()
{
    toolbar_ = named(new QToolBar(this), "toolbar");
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const std::pair<const char *, QString> buttons[] = {
        {QT_TR_NOOP("Plot"), tr("Plot the levels over the record number")},
        {"Ln", tr("Histogram")},
        {QT_TR_NOOP("Statistics"), tr("Exposure statistics of the levels")},
        {QT_TR_NOOP("Assessment"), tr("Exposure assessment: dose under several criteria, the "
                                      "shift, excluded spans and ISO 9612")},
        {QT_TR_NOOP("Print"), tr("Print the records and notes")},
        {QT_TR_NOOP("Preview"), tr("Show the printed pages")},
    };
    for (const auto &[key, tip] : buttons) {
        if (QLatin1String(key) == QLatin1String("Print"))
            toolbar_->addSeparator();
        // "Ln", the percentile levels' sign, reads the same in every language.
        QAction *action = toolbar_->addAction(tr(key));
        action->setObjectName(QLatin1String(key));
        action->setToolTip(tip);
        connect(action, &QAction::triggered, this,
                [this, key = key] { runToolbarCommand(QLatin1String(key)); });
    }
    plot_ = toolbar_->findChild<QAction *>(QStringLiteral("Plot"));
    ln_ = toolbar_->findChild<QAction *>(QStringLiteral("Ln"));
    statistics_ = toolbar_->findChild<QAction *>(QStringLiteral("Statistics"));
    assessment_ = toolbar_->findChild<QAction *>(QStringLiteral("Assessment"));

    resolutionPanel_ = named(new QFrame(this), "resolutionPanel");
    resolutionFrame_ = named(new QGroupBox(tr("Resolution"), resolutionPanel_), "resolutionFrame");
    tenthDbButton_ =
        named(new QPushButton(QStringLiteral("0.1 dB"), resolutionFrame_), "tenthDbButton");
    wholeDbButton_ =
        named(new QPushButton(QStringLiteral("1 dB"), resolutionFrame_), "wholeDbButton");
    auto *resolutions = new QHBoxLayout(resolutionFrame_);
    resolutions->addWidget(tenthDbButton_);
    resolutions->addWidget(wholeDbButton_);
    auto *picLayout = new QHBoxLayout(resolutionPanel_);
    picLayout->setContentsMargins(0, 0, 0, 0);
    picLayout->addWidget(resolutionFrame_);
    picLayout->addStretch(1);
    resolutionPanel_->hide();
    connect(tenthDbButton_, &QPushButton::clicked, this, &SavedFileWindow::histogramTenthDb);
    connect(wholeDbButton_, &QPushButton::clicked, this, &SavedFileWindow::histogramWholeDb);

    grid_ = named(new GridView(recordGrid_, this), "grid", tr("Records"),
                  tr("The file's records in file order"));
    grid_->setColumnWidths({QStringLiteral("AAAAAA"), QStringLiteral("AA:AA:AAAAAA"),
                            QStringLiteral("AA:AA:AAAA"), QStringLiteral("AAAAAA")});
    grid_->setMinimumWidth(grid_->columnsWidth());
    notes_ = new NoteBoxes(this, tr("the records"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->addWidget(toolbar_);
    layout->addWidget(resolutionPanel_);
    layout->addWidget(grid_, 1);
    notes_->addTo(layout);

    const int rowHeight = grid_->verticalHeader()->defaultSectionSize();
    grid_->setMinimumHeight(rowHeight * (kVisibleRows + 1) + 2 * grid_->frameWidth());
    resize(sizeHint());
}

bool SavedFileWindow::load(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    recordGrid_->clearRecords();
    notes_->setNotes({});
    setWindowTitle(QStringLiteral("0"));

    // The caption counts the records while the file is read. A file that takes longer than
    // a moment keeps the user interface alive meanwhile (clicks wait), and a close of this
    // window ends the reading; a short one is read in one go, without repainting between.
    QPointer<SavedFileWindow> self(this);
    QElapsedTimer reading;
    reading.start();
    DatFile::Content content = DatFile::read(path, [&](int records) {
        if (!self || closing())
            return false;
        setWindowTitle(QString::number(records));
        if (reading.elapsed() >= kQuietMilliseconds)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return self && !closing();
    });
    if (!self || closing())
        return false;

    const bool nothingRead = !content.ok() && content.table.isEmpty();
    if (nothingRead) {
        // The window goes with the message: it has nothing to show.
        hide();
        setWindowTitle(tr("Saved File"));
        dialogs().message(this, QString(), content.error, Dialogs::Icon::Critical,
                          Dialogs::Buttons::Ok);
        return false;
    }
    recordGrid_->setTable(std::move(content.table));
    notes_->setNotes(content.notes);
    setWindowTitle(name);
    if (!content.ok())
        dialogs().message(this, QString(),
                          tr("%1\nThe %2 records read before that are shown.")
                              .arg(content.error)
                              .arg(recordGrid_->table().recordCount()),
                          Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
    else if (content.incomplete)
        dialogs().message(this, QString(),
                          tr("%1: the last record is incomplete; the %2 records before it are "
                             "shown.")
                              .arg(name)
                              .arg(recordGrid_->table().recordCount()),
                          Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
    return true;
}

const RecordTable &SavedFileWindow::records() const
{
    return recordGrid_->table();
}

QStringList SavedFileWindow::notes() const
{
    return notes_->notes();
}

void SavedFileWindow::setAnalysisEnabled(bool enabled)
{
    analysisEnabled_ = enabled;
    for (QAction *action : {plot_, ln_, statistics_, assessment_})
        action->setEnabled(enabled);
    tenthDbButton_->setEnabled(enabled);
    wholeDbButton_->setEnabled(enabled);
    if (!enabled)
        resolutionPanel_->hide();
}

void SavedFileWindow::runToolbarCommand(const QString &key)
{
    if (key == QLatin1String("Print")) {
        FileTransfer::printGrid(dialogs(), this, records(), notes());
        return;
    }
    if (key == QLatin1String("Preview")) {
        FileTransfer::previewGrid(dialogs(), this, records(), notes());
        return;
    }
    if (!analysisEnabled_)
        return;
    if (key == QLatin1String("Plot"))
        emit plotRequested();
    else if (key == QLatin1String("Ln"))
        resolutionPanel_->show();
    else if (key == QLatin1String("Statistics"))
        emit statisticsRequested();
    else if (key == QLatin1String("Assessment"))
        emit assessmentRequested();
}

void SavedFileWindow::histogramTenthDb()
{
    histogram(0);
}

void SavedFileWindow::histogramWholeDb()
{
    histogram(1);
}

void SavedFileWindow::histogram(int resolution)
{
    if (!analysisEnabled_)
        return;
    QPointer<SavedFileWindow> self(this);
    emit histogramRequested(resolution);
    if (self) {
        resolutionPanel_->hide();
        shrinkToContents();
    }
}
