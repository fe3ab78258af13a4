#include "link/MeterProtocol.h"
#include "main/Panel.h"

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
QFrame#SSPanelValue { background: #18222b; border: 1px solid #0e151b; border-radius: 8px; }
QFrame#SSPanelValue QLabel[role="caption"] { color: #8fa3b3; }
QLabel#LblValue { color: #7cf29a; font-size: 40pt; font-weight: 700; font-family: "DejaVu Sans Mono", monospace; }
QLabel#LblUnit { color: #7cf29a; font-size: 16pt; font-weight: 600; }
QLabel#LblMax, QLabel#LblMin { font-size: 18pt; font-family: "DejaVu Sans Mono", monospace; }
QLabel#LblCOM { font-weight: 600; padding: 2px 8px; border-radius: 4px; background: #dfe6ec; }
QLabel#LblRecording { color: #c62828; font-weight: 700; }
QLabel#ResetLbl, QLabel#LblReset { color: #5b6773; }
)";

} // namespace

void Panel::buildControls()
{
    setStyleSheet(Theme::windowStyleSheet(QLatin1String(kStyle)));
    auto *central = named(new QWidget, "Central");
    setCentralWidget(central);
    auto *root = new QVBoxLayout(central);
    root->setContentsMargins(12, 12, 12, 12);
    root->setSpacing(10);

    // The live readout.
    LblValue = named(new QLabel, "LblValue"); // "----" would read as under range
    LblValue->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblValue->setMinimumWidth(LblValue->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    LblUnit = named(new QLabel, "LblUnit");
    LblUnit->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    LblUnit->setMinimumWidth(LblUnit->fontMetrics().horizontalAdvance(QStringLiteral("%DOSE__")));
    auto *readout = new QWidget;
    auto *readoutRow = new QHBoxLayout(readout);
    readoutRow->setContentsMargins(0, 0, 0, 0);
    readoutRow->addWidget(LblValue, 1);
    readoutRow->addWidget(LblUnit);
    QFrame *valueCard = card(QStringLiteral("Value"), readout, "SSPanelValue");

    LblMax = valueLabel("LblMax");
    LblMin = valueLabel("LblMin");
    CmdReset = named(new QPushButton(QStringLiteral("<-RESET->")), "CmdReset");
    CmdReset->setToolTip(QStringLiteral("Maximum and minimum start again from the level shown"));
    ResetLbl = named(new QLabel(QStringLiteral("<-RESET->")), "ResetLbl");
    LblReset = named(new QLabel, "LblReset");
    ResetLbl->setVisible(false); // the button carries the caption; both labels reset too
    ResetLbl->installEventFilter(this);
    LblReset->installEventFilter(this);

    auto *levels = new QGridLayout;
    levels->setSpacing(10);
    levels->addWidget(valueCard, 0, 0, 2, 1);
    levels->addWidget(card(QStringLiteral("Maximum"), LblMax), 0, 1);
    levels->addWidget(card(QStringLiteral("Minimum"), LblMin), 1, 1);
    auto *resetRow = new QHBoxLayout;
    resetRow->addWidget(LblReset);
    resetRow->addStretch();
    resetRow->addWidget(ResetLbl);
    resetRow->addWidget(CmdReset);
    levels->addLayout(resetRow, 2, 0, 1, 2);
    levels->setColumnStretch(0, 3);
    levels->setColumnStretch(1, 2);
    root->addLayout(levels);

    // The meter's settings.
    LblTimeWeighting = valueLabel("LblTimeWeighting");
    LblExchangeRate = valueLabel("LblExchangeRate");
    LblCriterion = valueLabel("LblCriterion");
    LblThreshold = valueLabel("LblThreshold");
    LblRange = valueLabel("LblRange", QStringLiteral("%1 - %2")
                                          .arg(Protocol::MeasuringRange::kLowDb)
                                          .arg(Protocol::MeasuringRange::kHighDb));
    auto *settings = new QHBoxLayout;
    settings->setSpacing(10);
    settings->addWidget(card(QStringLiteral("Response"), LblTimeWeighting));
    settings->addWidget(card(QStringLiteral("Exchange rate"), LblExchangeRate));
    settings->addWidget(card(QStringLiteral("Criterion level"), LblCriterion));
    settings->addWidget(card(QStringLiteral("Threshold level"), LblThreshold));
    settings->addWidget(card(QStringLiteral("Range"), LblRange));
    root->addLayout(settings);

    // Recording and sampling.
    LblTime = valueLabel("LblTime");
    SSPanel22 = valueLabel("SSPanel22");
    SSPanel22->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SSPanel22->setMinimumWidth(SSPanel22->fontMetrics().horizontalAdvance(QStringLiteral("M")) *
                               16);
    SSPanel3 = named(Theme::caption(QStringLiteral("File Name")), "SSPanel3");
    LblRecording = named(new QLabel(QStringLiteral("Recording")), "LblRecording");
    LblRecording->setVisible(false);
    LblCount = valueLabel("LblCount");
    LblSample = valueLabel("LblSample", QStringLiteral("2 Sec"));
    CmdSample = named(new QPushButton(QStringLiteral("PC Sampling time")), "CmdSample");
    LblPC = named(Theme::caption(QStringLiteral("PC Sampling Time")), "LblPC");

    auto *fileCard = new QFrame;
    fileCard->setProperty("role", QStringLiteral("card"));
    auto *fileLayout = new QVBoxLayout(fileCard);
    fileLayout->setContentsMargins(10, 6, 10, 8);
    fileLayout->setSpacing(2);
    auto *fileTop = new QHBoxLayout;
    fileTop->addWidget(SSPanel3);
    fileTop->addStretch();
    fileTop->addWidget(LblRecording);
    fileTop->addWidget(LblCount);
    fileLayout->addLayout(fileTop);
    fileLayout->addWidget(SSPanel22);

    auto *sampleCard = new QFrame;
    sampleCard->setProperty("role", QStringLiteral("card"));
    auto *sampleLayout = new QVBoxLayout(sampleCard);
    sampleLayout->setContentsMargins(10, 6, 10, 8);
    sampleLayout->setSpacing(2);
    sampleLayout->addWidget(LblPC);
    auto *sampleRow = new QHBoxLayout;
    sampleRow->addWidget(LblSample);
    sampleRow->addWidget(CmdSample);
    sampleLayout->addLayout(sampleRow);

    auto *recording = new QHBoxLayout;
    recording->setSpacing(10);
    recording->addWidget(card(QStringLiteral("Last Time"), LblTime));
    recording->addWidget(fileCard, 2);
    recording->addWidget(sampleCard);
    root->addLayout(recording);

    // Commands.
    CmdMemory = named(new QPushButton(QStringLiteral("Memory")), "CmdMemory");
    CmdAvg = named(new QPushButton(QStringLiteral("Average")), "CmdAvg");
    CmdGraph = named(new QPushButton(QStringLiteral("Graph")), "CmdGraph");
    CmdEvent = named(new QPushButton(QStringLiteral("Event")), "CmdEvent");
    cmdList = named(new QPushButton(QStringLiteral("List")), "cmdList");
    auto *commands = new QHBoxLayout;
    commands->setSpacing(8);
    for (QPushButton *b : {CmdMemory, CmdEvent, cmdList, CmdGraph, CmdAvg}) {
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
    TxtRAdd = box("TxtRAdd");
    TxtRData = box("TxtRData", true);
    TxtWAdd = box("TxtWAdd");
    TxtWData = box("TxtWData");
    MeterWindow::describe(TxtRAdd, QStringLiteral("Read address"),
                          QStringLiteral("Register to read, 0 to 65535; Enter reads it"));
    MeterWindow::describe(TxtRData, QStringLiteral("Read data"),
                          QStringLiteral("The value of the register read"));
    MeterWindow::describe(TxtWAdd, QStringLiteral("Write address"),
                          QStringLiteral("Register to write, 0 to 65535"));
    MeterWindow::describe(TxtWData, QStringLiteral("Write data"),
                          QStringLiteral("Value to write, 0 to 255; Enter writes it"));
    CmdRead = named(new QPushButton(QStringLiteral("Read")), "CmdRead");
    CmdWrite = named(new QPushButton(QStringLiteral("Write")), "CmdWrite");
    auto *console = new QGridLayout;
    console->setHorizontalSpacing(6);
    const auto caption = [](const QString &text) { return Theme::caption(text); };
    console->addWidget(caption(QStringLiteral("Add")), 0, 0);
    console->addWidget(TxtRAdd, 0, 1);
    console->addWidget(caption(QStringLiteral("Data")), 0, 2);
    console->addWidget(TxtRData, 0, 3);
    console->addWidget(CmdRead, 0, 4);
    console->addWidget(caption(QStringLiteral("Add")), 1, 0);
    console->addWidget(TxtWAdd, 1, 1);
    console->addWidget(caption(QStringLiteral("Data")), 1, 2);
    console->addWidget(TxtWData, 1, 3);
    console->addWidget(CmdWrite, 1, 4);
    auto *consoleFrame = new QFrame;
    consoleFrame->setProperty("role", QStringLiteral("card"));
    auto *consoleOuter = new QVBoxLayout(consoleFrame);
    consoleOuter->setContentsMargins(10, 6, 10, 8);
    consoleOuter->addWidget(caption(QStringLiteral("Registers")));
    consoleOuter->addLayout(console);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(consoleFrame);
    bottom->addStretch();
    root->addLayout(bottom);

    LblCOM = named(new QLabel(QStringLiteral("No COM")), "LblCOM");
    statusBar()->addPermanentWidget(LblCOM);
    statusBar()->setSizeGripEnabled(false);

    connect(CmdReset, &QPushButton::clicked, this, &Panel::CmdReset_Click);
    connect(CmdRead, &QPushButton::clicked, this, &Panel::CmdRead_Click);
    connect(CmdWrite, &QPushButton::clicked, this, &Panel::CmdWrite_Click);
}

void Panel::buildMenus()
{
    const auto action = [this](QMenu *menu, const char *name, const QString &text) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    MnuFile = named(menuBar()->addMenu(QStringLiteral("File")), "MnuFile");
    MnuOpen = action(MnuFile, "MnuOpen", QStringLiteral("Open"));
    MnuFile->addSeparator();
    MnuStartRec = action(MnuFile, "MnuStartRec", QStringLiteral("Start Recording"));
    MnuStopRec = action(MnuFile, "MnuStopRec", QStringLiteral("Stop Recording"));
    MnuFile->addSeparator();
    MnuView = action(MnuFile, "MnuView", QStringLiteral("View File"));
    MnuFile->addSeparator();
    MnuExit = action(MnuFile, "MnuExit", QStringLiteral("Exit"));

    MnuDisplay = named(menuBar()->addMenu(QStringLiteral("Display")), "MnuDisplay");
    MnuList = action(MnuDisplay, "MnuList", QStringLiteral("List"));
    MnuGraph = action(MnuDisplay, "MnuGraph", QStringLiteral("Graph"));
    MnuAnalog = action(MnuDisplay, "MnuAnalog", QStringLiteral("Analog"));
    MnuDigital = action(MnuDisplay, "MnuDigital", QStringLiteral("Digital"));
    MnuDisplay->addSeparator();
    MnuPanel = action(MnuDisplay, "MnuPanel", QStringLiteral("Control Panel"));
    MnuEvents = action(MnuDisplay, "MnuEvents", QStringLiteral("Events"));
    MnuJob = action(MnuDisplay, "MnuJob", QStringLiteral("Average"));

    MnuOption = named(menuBar()->addMenu(QStringLiteral("Option")), "MnuOption");
    MnuTwa = action(MnuOption, "MnuTwa", QStringLiteral("TWA"));
    MnuOnes = action(MnuOption, "MnuOnes", QStringLiteral("Occupational Noise Exposure Standard"));
    MnuSetmode = action(MnuOption, "MnuSetmode", QStringLiteral("Set Mode"));
    MnuVersion = action(MnuOption, "MnuVersion", QStringLiteral("V 7.1  2009/11/30"));
    MnuVersion->setEnabled(false);

    connect(MnuExit, &QAction::triggered, this, &Panel::MnuExit_Click);
    connect(MnuTwa, &QAction::triggered, this, &Panel::MnuTwa_Click);
}
