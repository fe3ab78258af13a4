#include "link/MeterProtocol.h"
#include "main/MainWindow.h"

#include "ui/MeterWindow.h"
#include "ui/Theme.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel *valueLabel(const char *name, const QString &text = QString())
{
    return named(Theme::value(text), name);
}

// A caption over a value, as one card of the panel.
QFrame *card(const QString &caption, QWidget *value, const char *name = nullptr)
{
    auto *frame = new QFrame;
    if (name)
        frame->setObjectName(QLatin1String(name));
    frame->setProperty("role", QStringLiteral("card"));
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(10, 6, 10, 8);
    layout->setSpacing(2);
    layout->addWidget(Theme::caption(caption));
    layout->addWidget(value);
    return frame;
}

// The readout and the labels of this window only; the rest is the shared look.
const char *const kStyle = R"(
QFrame#valueCard { background: #18222b; border: 1px solid #0e151b; border-radius: 8px; }
QFrame#valueCard QLabel[role="caption"] { color: #8fa3b3; }
QLabel#levelValue { color: #7cf29a; font-size: 40pt; font-weight: 700; font-family: "DejaVu Sans Mono", monospace; }
QLabel#levelUnit { color: #7cf29a; font-size: 16pt; font-weight: 600; }
QLabel#levelValue[stale="true"], QLabel#levelUnit[stale="true"] { color: #4d5b66; }
QLabel#maximumValue, QLabel#minimumValue { font-size: 18pt; font-family: "DejaVu Sans Mono", monospace; }
QLabel#portStatus { font-weight: 600; padding: 2px 8px; border-radius: 4px; background: #dfe6ec; }
QLabel#recordingMark { color: #c62828; font-weight: 700; }
QLabel#resetLabel, QLabel#resetHint { color: #5b6773; }
)";

} // namespace

void MainWindow::buildControls()
{
    setStyleSheet(Theme::windowStyleSheet(QLatin1String(kStyle)));
    auto *central = named(new QWidget, "central");
    setCentralWidget(central);
    auto *root = new QVBoxLayout(central);
    root->setContentsMargins(12, 12, 12, 12);
    root->setSpacing(10);

    // The live readout.
    levelValue_ = named(new QLabel, "levelValue"); // "----" would read as under range
    levelValue_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    levelValue_->setMinimumWidth(
        levelValue_->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    levelUnit_ = named(new QLabel, "levelUnit");
    levelUnit_->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    levelUnit_->setMinimumWidth(
        levelUnit_->fontMetrics().horizontalAdvance(QStringLiteral("%DOSE__")));
    auto *readout = new QWidget;
    auto *readoutRow = new QHBoxLayout(readout);
    readoutRow->setContentsMargins(0, 0, 0, 0);
    readoutRow->addWidget(levelValue_, 1);
    readoutRow->addWidget(levelUnit_);
    QFrame *valueCard = card(tr("Value"), readout, "valueCard");

    maximumValue_ = valueLabel("maximumValue");
    minimumValue_ = valueLabel("minimumValue");
    resetButton_ = named(new QPushButton(QStringLiteral("<-RESET->")), "resetButton");
    resetButton_->setToolTip(tr("Maximum and minimum start again from the level shown"));
    resetLabel_ = named(new QLabel(QStringLiteral("<-RESET->")), "resetLabel");
    resetHint_ = named(new QLabel, "resetHint");
    resetLabel_->setVisible(false); // the button carries the caption; both labels reset too
    resetLabel_->installEventFilter(this);
    resetHint_->installEventFilter(this);

    auto *levels = new QGridLayout;
    levels->setSpacing(10);
    levels->addWidget(valueCard, 0, 0, 2, 1);
    levels->addWidget(card(tr("Maximum"), maximumValue_), 0, 1);
    levels->addWidget(card(tr("Minimum"), minimumValue_), 1, 1);
    auto *resetRow = new QHBoxLayout;
    resetRow->addWidget(resetHint_);
    resetRow->addStretch();
    resetRow->addWidget(resetLabel_);
    resetRow->addWidget(resetButton_);
    levels->addLayout(resetRow, 2, 0, 1, 2);
    levels->setColumnStretch(0, 3);
    levels->setColumnStretch(1, 2);
    root->addLayout(levels);

    // The meter's settings.
    responseValue_ = valueLabel("responseValue");
    exchangeRateValue_ = valueLabel("exchangeRateValue");
    criterionValue_ = valueLabel("criterionValue");
    thresholdValue_ = valueLabel("thresholdValue");
    rangeValue_ = valueLabel("rangeValue", QStringLiteral("%1 - %2")
                                               .arg(Protocol::MeasuringRange::kLowDb)
                                               .arg(Protocol::MeasuringRange::kHighDb));
    auto *settings = new QHBoxLayout;
    settings->setSpacing(10);
    settings->addWidget(card(tr("Response"), responseValue_));
    settings->addWidget(card(tr("Exchange rate"), exchangeRateValue_));
    settings->addWidget(card(tr("Criterion level"), criterionValue_));
    settings->addWidget(card(tr("Threshold level"), thresholdValue_));
    settings->addWidget(card(tr("Range"), rangeValue_));
    root->addLayout(settings);

    // Recording and sampling.
    lastTimeValue_ = valueLabel("lastTimeValue");
    fileNameLabel_ = valueLabel("fileNameLabel");
    fileNameLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fileNameLabel_->setMinimumWidth(
        fileNameLabel_->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 16);
    fileNameCaption_ = named(Theme::caption(tr("File Name")), "fileNameCaption");
    recordingMark_ = named(new QLabel(tr("Recording")), "recordingMark");
    recordingMark_->setVisible(false);
    recordCountValue_ = valueLabel("recordCountValue");
    samplePeriodValue_ = valueLabel("samplePeriodValue", sampler_.periodLabel());
    samplePeriodButton_ = named(new QPushButton(tr("PC Sampling time")), "samplePeriodButton");
    samplePeriodCaption_ = named(Theme::caption(tr("PC Sampling Time")), "samplePeriodCaption");

    auto *fileCard = new QFrame;
    fileCard->setProperty("role", QStringLiteral("card"));
    auto *fileLayout = new QVBoxLayout(fileCard);
    fileLayout->setContentsMargins(10, 6, 10, 8);
    fileLayout->setSpacing(2);
    auto *fileTop = new QHBoxLayout;
    fileTop->addWidget(fileNameCaption_);
    fileTop->addStretch();
    fileTop->addWidget(recordingMark_);
    fileTop->addWidget(recordCountValue_);
    fileLayout->addLayout(fileTop);
    fileLayout->addWidget(fileNameLabel_);

    auto *sampleCard = new QFrame;
    sampleCard->setProperty("role", QStringLiteral("card"));
    auto *sampleLayout = new QVBoxLayout(sampleCard);
    sampleLayout->setContentsMargins(10, 6, 10, 8);
    sampleLayout->setSpacing(2);
    sampleLayout->addWidget(samplePeriodCaption_);
    auto *sampleRow = new QHBoxLayout;
    sampleRow->addWidget(samplePeriodValue_);
    sampleRow->addWidget(samplePeriodButton_);
    sampleLayout->addLayout(sampleRow);

    auto *recording = new QHBoxLayout;
    recording->setSpacing(10);
    recording->addWidget(card(tr("Last Time"), lastTimeValue_));
    recording->addWidget(fileCard, 2);
    recording->addWidget(sampleCard);
    root->addLayout(recording);

    // Commands.
    memoryButton_ = named(new QPushButton(tr("Memory")), "memoryButton");
    averageButton_ = named(new QPushButton(tr("Average")), "averageButton");
    graphButton_ = named(new QPushButton(tr("Graph")), "graphButton");
    eventButton_ = named(new QPushButton(tr("Event")), "eventButton");
    listButton_ = named(new QPushButton(tr("List")), "listButton");
    auto *commands = new QHBoxLayout;
    commands->setSpacing(8);
    for (QPushButton *b :
         {memoryButton_, eventButton_, listButton_, graphButton_, averageButton_}) {
        b->setMinimumHeight(34);
        commands->addWidget(b);
    }
    root->addLayout(commands);

    // The register console.
    const auto box = [this](const char *name, bool readOnly = false) {
        auto *edit = named(new QLineEdit, name);
        edit->setMaxLength(10);
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 9 + 16);
        edit->setReadOnly(readOnly);
        if (!readOnly) {
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), edit));
            edit->installEventFilter(this);
        }
        return edit;
    };
    readAddress_ = box("readAddress");
    readData_ = box("readData", true);
    writeAddress_ = box("writeAddress");
    writeData_ = box("writeData");
    MeterWindow::describe(readAddress_, tr("Read address"),
                          tr("Register to read, 0 to 65535; Enter reads it"));
    MeterWindow::describe(readData_, tr("Read data"), tr("The value of the register read"));
    MeterWindow::describe(writeAddress_, tr("Write address"), tr("Register to write, 0 to 65535"));
    MeterWindow::describe(writeData_, tr("Write data"),
                          tr("Value to write, 0 to 255; Enter writes it"));
    readButton_ = named(new QPushButton(tr("Read")), "readButton");
    writeButton_ = named(new QPushButton(tr("Write")), "writeButton");
    auto *console = new QGridLayout;
    console->setHorizontalSpacing(6);
    const auto caption = [](const QString &text) { return Theme::caption(text); };
    console->addWidget(caption(tr("Add")), 0, 0);
    console->addWidget(readAddress_, 0, 1);
    console->addWidget(caption(tr("Data")), 0, 2);
    console->addWidget(readData_, 0, 3);
    console->addWidget(readButton_, 0, 4);
    console->addWidget(caption(tr("Add")), 1, 0);
    console->addWidget(writeAddress_, 1, 1);
    console->addWidget(caption(tr("Data")), 1, 2);
    console->addWidget(writeData_, 1, 3);
    console->addWidget(writeButton_, 1, 4);
    auto *consoleFrame = new QFrame;
    consoleFrame->setProperty("role", QStringLiteral("card"));
    auto *consoleOuter = new QVBoxLayout(consoleFrame);
    consoleOuter->setContentsMargins(10, 6, 10, 8);
    consoleOuter->addWidget(caption(tr("Registers")));
    consoleOuter->addLayout(console);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(consoleFrame);
    bottom->addStretch();
    root->addLayout(bottom);

    portStatus_ = named(new QLabel(QStringLiteral("No COM")), "portStatus");
    statusBar()->addPermanentWidget(portStatus_);
    statusBar()->setSizeGripEnabled(false);

    connect(resetButton_, &QPushButton::clicked, this, &MainWindow::resetMaxMin);
    connect(readButton_, &QPushButton::clicked, this, &MainWindow::readRegister);
    connect(writeButton_, &QPushButton::clicked, this, &MainWindow::writeRegister);
}

void MainWindow::buildMenus()
{
    const auto action = [this](QMenu *menu, const char *name, const char *text) {
        QAction *a = menu->addAction(tr(text));
        a->setObjectName(QLatin1String(name));
        // --open names the entries in English, whatever language the menu shows.
        a->setProperty("sourceText", QString::fromLatin1(text));
        return a;
    };
    fileMenu_ = named(menuBar()->addMenu(tr("&File")), "fileMenu");
    openAction_ = action(fileMenu_, "openAction", QT_TR_NOOP("Open"));
    fileMenu_->addSeparator();
    startRecordingAction_ =
        action(fileMenu_, "startRecordingAction", QT_TR_NOOP("Start Recording"));
    stopRecordingAction_ = action(fileMenu_, "stopRecordingAction", QT_TR_NOOP("Stop Recording"));
    fileMenu_->addSeparator();
    viewFileAction_ = action(fileMenu_, "viewFileAction", QT_TR_NOOP("View File"));
    fileMenu_->addSeparator();
    exitAction_ = action(fileMenu_, "exitAction", QT_TR_NOOP("Exit"));

    displayMenu_ = named(menuBar()->addMenu(tr("&Display")), "displayMenu");
    listAction_ = action(displayMenu_, "listAction", QT_TR_NOOP("List"));
    graphAction_ = action(displayMenu_, "graphAction", QT_TR_NOOP("Graph"));
    analogAction_ = action(displayMenu_, "analogAction", QT_TR_NOOP("Analog"));
    digitalAction_ = action(displayMenu_, "digitalAction", QT_TR_NOOP("Digital"));
    displayMenu_->addSeparator();
    controlPanelAction_ = action(displayMenu_, "controlPanelAction", QT_TR_NOOP("Control Panel"));
    eventsAction_ = action(displayMenu_, "eventsAction", QT_TR_NOOP("Events"));
    averageAction_ = action(displayMenu_, "averageAction", QT_TR_NOOP("Average"));

    optionMenu_ = named(menuBar()->addMenu(tr("&Option")), "optionMenu");
    twaAction_ = action(optionMenu_, "twaAction", QT_TR_NOOP("TWA"));
    standardsAction_ =
        action(optionMenu_, "standardsAction", QT_TR_NOOP("Occupational Noise Exposure Standard"));
    setModeAction_ = action(optionMenu_, "setModeAction", QT_TR_NOOP("Set Mode"));
    versionAction_ = action(optionMenu_, "versionAction", "V 7.1  2009/11/30");
    versionAction_->setEnabled(false);

    openAction_->setShortcut(QKeySequence::Open);
    // Not QKeySequence::Quit: some desktops give it no key.
    exitAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exitAction_, &QAction::triggered, this, &MainWindow::exitProgram);
    connect(twaAction_, &QAction::triggered, this, &MainWindow::explainTwa);
}
