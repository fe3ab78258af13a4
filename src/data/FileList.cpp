#include "data/FileList.h"

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
const QString kCaption = QStringLiteral("Saved File");

} // namespace

FileList::FileList(Meter &meter, Dialogs &dialogs, QWidget *parent)
    : MeterWindow(meter, dialogs, "FileList", kCaption, parent)
{
    grid_ = new RecordGrid(RecordTable::recordHeadings(), this);
    buildControls();
    setAnalysisEnabled(false);
}

void FileList::buildControls()
{
    Toolbar1 = named(new QToolBar(this), "Toolbar1");
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const std::pair<const char *, QString> buttons[] = {
        {"Plot", QStringLiteral("Plot the levels over the record number")},
        {"Ln", QStringLiteral("Histogram")},
        {"Statistics", QStringLiteral("Exposure statistics of the levels")},
        {"Assessment", QStringLiteral("Exposure assessment: dose under several criteria, the "
                                      "shift, excluded spans and ISO 9612")},
        {"Print", QStringLiteral("Print the records and notes")},
        {"Preview", QStringLiteral("Show the printed pages")},
    };
    for (const auto &[key, tip] : buttons) {
        if (QLatin1String(key) == QLatin1String("Print"))
            Toolbar1->addSeparator();
        QAction *action = Toolbar1->addAction(QLatin1String(key));
        action->setObjectName(QLatin1String(key));
        action->setToolTip(tip);
        connect(action, &QAction::triggered, this,
                [this, key = key] { Toolbar1_ButtonClick(QLatin1String(key)); });
    }
    plot_ = Toolbar1->findChild<QAction *>(QStringLiteral("Plot"));
    ln_ = Toolbar1->findChild<QAction *>(QStringLiteral("Ln"));
    statistics_ = Toolbar1->findChild<QAction *>(QStringLiteral("Statistics"));
    assessment_ = Toolbar1->findChild<QAction *>(QStringLiteral("Assessment"));

    PicResolution = named(new QFrame(this), "PicResolution");
    SSFrame1 = named(new QGroupBox(QStringLiteral("Resolution"), PicResolution), "SSFrame1");
    Cmd01dB = named(new QPushButton(QStringLiteral("0.1 dB"), SSFrame1), "Cmd01dB");
    Cmd1dB = named(new QPushButton(QStringLiteral("1 dB"), SSFrame1), "Cmd1dB");
    auto *resolutions = new QHBoxLayout(SSFrame1);
    resolutions->addWidget(Cmd01dB);
    resolutions->addWidget(Cmd1dB);
    auto *picLayout = new QHBoxLayout(PicResolution);
    picLayout->setContentsMargins(0, 0, 0, 0);
    picLayout->addWidget(SSFrame1);
    picLayout->addStretch(1);
    PicResolution->hide();
    connect(Cmd01dB, &QPushButton::clicked, this, &FileList::Cmd01dB_Click);
    connect(Cmd1dB, &QPushButton::clicked, this, &FileList::Cmd1dB_Click);

    Grid = named(new GridView(grid_, this), "Grid", QStringLiteral("Records"),
                 QStringLiteral("The file's records in file order"));
    Grid->setColumnWidths({QStringLiteral("AAAAAA"), QStringLiteral("AA:AA:AAAAAA"),
                           QStringLiteral("AA:AA:AAAA"), QStringLiteral("AAAAAA")});
    Grid->setMinimumWidth(Grid->columnsWidth());
    notes_ = new NoteBoxes(this, QStringLiteral("the records"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->addWidget(Toolbar1);
    layout->addWidget(PicResolution);
    layout->addWidget(Grid, 1);
    notes_->addTo(layout);

    const int rowHeight = Grid->verticalHeader()->defaultSectionSize();
    Grid->setMinimumHeight(rowHeight * (kVisibleRows + 1) + 2 * Grid->frameWidth());
    resize(sizeHint());
}

bool FileList::load(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    grid_->clearRecords();
    notes_->setNotes({});
    setWindowTitle(QStringLiteral("0"));

    // The caption counts the records while the file is read. A file that takes longer than
    // a moment keeps the user interface alive meanwhile (clicks wait), and a close of this
    // window ends the reading; a short one is read in one go, without repainting between.
    QPointer<FileList> self(this);
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
        setWindowTitle(kCaption);
        dialogs().message(this, QString(), content.error, Dialogs::Icon::Critical,
                          Dialogs::Buttons::Ok);
        return false;
    }
    grid_->setTable(std::move(content.table));
    notes_->setNotes(content.notes);
    setWindowTitle(name);
    if (!content.ok())
        dialogs().message(this, QString(),
                          QStringLiteral("%1\nThe %2 records read before that are shown.")
                              .arg(content.error)
                              .arg(grid_->table().recordCount()),
                          Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
    return true;
}

const RecordTable &FileList::records() const
{
    return grid_->table();
}

QStringList FileList::notes() const
{
    return notes_->notes();
}

void FileList::setAnalysisEnabled(bool enabled)
{
    analysisEnabled_ = enabled;
    for (QAction *action : {plot_, ln_, statistics_, assessment_})
        action->setEnabled(enabled);
    Cmd01dB->setEnabled(enabled);
    Cmd1dB->setEnabled(enabled);
    if (!enabled)
        PicResolution->hide();
}

void FileList::Toolbar1_ButtonClick(const QString &key)
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
        PicResolution->show();
    else if (key == QLatin1String("Statistics"))
        emit statisticsRequested();
    else if (key == QLatin1String("Assessment"))
        emit assessmentRequested();
}

void FileList::Cmd01dB_Click()
{
    histogram(0);
}

void FileList::Cmd1dB_Click()
{
    histogram(1);
}

void FileList::histogram(int resolution)
{
    if (!analysisEnabled_)
        return;
    QPointer<FileList> self(this);
    emit histogramRequested(resolution);
    if (self)
        PicResolution->hide();
}
