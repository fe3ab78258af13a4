#include "realtime/RealTimeSLM.h"

#include "link/Clock.h"
#include "link/Meter.h"
#include "ui/Dialogs.h"
#include "ui/Theme.h"
#include "ui/WindowImage.h"

#include <QAction>
#include <QFontMetricsF>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QToolBar>

#include <utility>

namespace {

constexpr int kTickMs = 500;
const QString kCaption = QStringLiteral("Real Time Graph");

// The plot's inks: black, light grey (the grid) and white, as a 16-colour palette has them.
QColor colour(RealTimeTrace::Ink ink)
{
    switch (ink) {
    case RealTimeTrace::Ink::Black:
        return QColor(0, 0, 0);
    case RealTimeTrace::Ink::Grid:
        return QColor(0xC0, 0xC0, 0xC0);
    case RealTimeTrace::Ink::White:
        break;
    }
    return QColor(0xFF, 0xFF, 0xFF);
}

// The toolbar and the limit panel in the look of the other windows; the plot is white.
const char *const kStyle = R"(
QToolBar#Toolbar1 { background: #eef1f4; border: none; border-bottom: 1px solid #d5dbe1;
                    spacing: 4px; padding: 2px 6px; }
QToolBar#Toolbar1 QToolButton { padding: 2px 12px; border: 1px solid #c3cbd3; border-radius: 4px;
                                background: white; color: #1d2730; }
QToolBar#Toolbar1 QToolButton:hover { border-color: #8fa3b3; }
QToolBar#Toolbar1 QToolButton:pressed { background: #dfe6ec; }
QFrame#PMessage { background: white; border: 1px solid #b9c3cc; border-radius: 6px; }
QFrame#PMessage QLineEdit { padding: 2px 4px; }
)";

// Shows a hidden widget again when it goes out of scope, whatever happened meanwhile.
class HiddenFor {
public:
    explicit HiddenFor(QWidget *widget) : widget_(widget), wasVisible_(widget->isVisible())
    {
        widget_->hide();
    }
    ~HiddenFor()
    {
        if (wasVisible_)
            widget_->show();
    }
    HiddenFor(const HiddenFor &) = delete;
    HiddenFor &operator=(const HiddenFor &) = delete;

private:
    QWidget *widget_;
    bool wasVisible_;
};

} // namespace

RealTimeSLM::RealTimeSLM(Meter &meter, Dialogs &dialogs, std::function<QString()> levelText,
                         QWidget *parent)
    : MeterWindow(meter, dialogs, "RealTimeSLM", kCaption, parent),
      levelText_(std::move(levelText)), trace_([this](const QString &t) { return measure(t); })
{
    setStyleSheet(Theme::windowStyleSheet(QLatin1String(kStyle)));
    // The window paints every pixel itself from its image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    describe(this, QStringLiteral("Real-time level graph"),
             QStringLiteral("The level sweeping from left to right, one step every half "
                            "second, with the time of day at the start and the middle"));
    font_ = QFont(QStringLiteral("DejaVu Sans"));
    font_.setPixelSize(12);

    Toolbar1 = named(new QToolBar(this), "Toolbar1");
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Toolbar1->setMovable(false);
    Limit = named(Toolbar1->addAction(QStringLiteral("Limit")), "Limit");
    Limit->setToolTip(QStringLiteral("Limit"));
    Print = named(Toolbar1->addAction(QStringLiteral("Print")), "Print");
    Print->setToolTip(QStringLiteral("Print"));
    Pdf = named(Toolbar1->addAction(QStringLiteral("PDF")), "Pdf");
    Pdf->setToolTip(QStringLiteral("Saves the window's image as a PDF file"));
    connect(Limit, &QAction::triggered, this, &RealTimeSLM::Limit_Click);
    connect(Print, &QAction::triggered, this, &RealTimeSLM::Print_Click);
    connect(Pdf, &QAction::triggered, this, &RealTimeSLM::Pdf_Click);

    PMessage = named(new QFrame(this), "PMessage");
    const auto box = [this](const char *name, const QString &accessible, const QString &about,
                            const QString &characters) {
        auto *edit = named(new QLineEdit(PMessage), name, accessible, about);
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(characters), edit));
        edit->setMaxLength(12);
        edit->setFixedWidth(QFontMetrics(edit->font()).horizontalAdvance(QStringLiteral("0")) * 9 +
                            14);
        return edit;
    };
    // The boxes take only the characters of their numbers (and Backspace and Enter).
    const QString level = QStringLiteral("[-0-9.]*");
    TxtMax = box("TxtMax", QStringLiteral("Maximum level"),
                 QStringLiteral("Top of the scale in dB, at most 140; Enter moves to Min"), level);
    TxtMin = box("TxtMin", QStringLiteral("Minimum level"),
                 QStringLiteral("Bottom of the scale in dB, at least 68; Enter moves to Records"),
                 level);
    TxtCounts = box("TxtCounts", QStringLiteral("Records"),
                    QStringLiteral("Records across the plot, 10 to 864000; Enter applies"),
                    QStringLiteral("[0-9]*"));
    CmdOK = named(new QPushButton(QStringLiteral("OK"), PMessage), "CmdOK");
    CmdOK->setAutoDefault(false);
    auto *grid = new QGridLayout(PMessage);
    grid->setContentsMargins(12, 10, 12, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->addWidget(Theme::caption(QStringLiteral("Max"), PMessage), 0, 0);
    grid->addWidget(TxtMax, 0, 1);
    grid->addWidget(Theme::caption(QStringLiteral("Min"), PMessage), 1, 0);
    grid->addWidget(TxtMin, 1, 1);
    grid->addWidget(Theme::caption(QStringLiteral("Records"), PMessage), 2, 0);
    grid->addWidget(TxtCounts, 2, 1);
    grid->addWidget(CmdOK, 3, 0, 1, 2);
    PMessage->hide();
    connect(TxtMax, &QLineEdit::returnPressed, this, [this] { TxtMin->setFocus(); });
    connect(TxtMin, &QLineEdit::returnPressed, this, [this] { TxtCounts->setFocus(); });
    connect(TxtCounts, &QLineEdit::returnPressed, this, &RealTimeSLM::CmdOK_Click);
    connect(CmdOK, &QPushButton::clicked, this, &RealTimeSLM::CmdOK_Click);

    // Off until the first layout.
    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(kTickMs);
    connect(Timer1, &QTimer::timeout, this, &RealTimeSLM::Timer1_Timer);

    setMinimumSize(RealTimeTrace::kMinimumWidth, RealTimeTrace::kMinimumHeight);
    // 600 records across: five minutes a sweep.
    resize(660, 460);
}

QSizeF RealTimeSLM::measure(const QString &text) const
{
    const QFontMetricsF metrics(font_);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void RealTimeSLM::placeOverlays()
{
    Toolbar1->setGeometry(0, 0, width(), Toolbar1->sizeHint().height());
    PMessage->adjustSize();
    PMessage->move(width() - PMessage->width() - 16, Toolbar1->height() + 8);
}

void RealTimeSLM::layoutPlot()
{
    Timer1->stop();
    PMessage->hide();
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (canvas_.size() != pixels || canvas_.devicePixelRatio() != ratio) {
        canvas_ = QImage(pixels, QImage::Format_RGB32);
        canvas_.setDevicePixelRatio(ratio);
    }
    draw(trace_.layout(size()));
    update();
    Timer1->start();
}

void RealTimeSLM::resizeEvent(QResizeEvent *event)
{
    MeterWindow::resizeEvent(event);
    placeOverlays();
    const QSize snapped = RealTimeTrace::snapped(size());
    if (snapped != size()) {
        // The resize that follows lays the plot out.
        resize(snapped);
        return;
    }
    layoutPlot();
}

void RealTimeSLM::showEvent(QShowEvent *event)
{
    MeterWindow::showEvent(event);
    // Uncovering or restoring the window keeps the trace; only the first show lays out.
    if (canvas_.isNull())
        layoutPlot();
}

void RealTimeSLM::windowClosing()
{
    Timer1->stop();
}

void RealTimeSLM::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), canvas_);
    // The texts are drawn as text, not kept in the image, so that a print or a PDF of the
    // window keeps them as text.
    painter.setFont(font_);
    painter.setPen(Qt::black);
    for (const RealTimeTrace::Text &text : trace_.texts())
        painter.drawText(text.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text.text);
}

QRegion RealTimeSLM::draw(const RealTimeTrace::Drawing &drawing)
{
    QRegion changed;
    if (canvas_.isNull())
        return changed;
    QPainter painter(&canvas_);
    if (drawing.clear) {
        painter.fillRect(rect(), Qt::white);
        changed += rect();
    }
    for (const RealTimeTrace::Op &op : drawing.ops) {
        if (op.kind == RealTimeTrace::Op::Kind::Fill) {
            // Whole pixels that cover the box: a strip narrower than a pixel still wipes.
            const QRect box = op.box.toAlignedRect();
            painter.fillRect(box, colour(op.ink));
            changed += box;
            continue;
        }
        QPen pen(colour(op.ink), op.width);
        pen.setCapStyle(Qt::FlatCap);
        if (op.dotted)
            pen.setDashPattern({1.0, 1.0});
        painter.setPen(pen);
        painter.drawLine(op.line);
        const int margin = op.width + 1;
        changed += QRectF(op.line.p1(), op.line.p2())
                       .normalized()
                       .toAlignedRect()
                       .adjusted(-margin, -margin, margin, margin);
    }
    return changed;
}

void RealTimeSLM::Timer1_Timer()
{
    if (!meter().state().display.DbaMode) {
        close();
        return;
    }
    if (closing() || canvas_.isNull())
        return;
    const QList<RealTimeTrace::Text> before = trace_.texts();
    QRegion changed =
        draw(trace_.tick(levelText_ ? levelText_() : QString(), meter().clock().now().time()));
    // Time labels that appeared or went.
    for (const RealTimeTrace::Text &text : trace_.texts()) {
        if (!before.contains(text))
            changed += text.rect.toAlignedRect();
    }
    for (const RealTimeTrace::Text &text : before) {
        if (!trace_.texts().contains(text))
            changed += text.rect.toAlignedRect();
    }
    update(changed);
}

void RealTimeSLM::Limit_Click()
{
    Timer1->stop();
    TxtCounts->setText(trace_.countsText());
    TxtMax->setText(trace_.maxText());
    TxtMin->setText(trace_.minText());
    placeOverlays();
    PMessage->show();
    PMessage->raise();
    TxtMax->setFocus();
    TxtMax->selectAll();
}

void RealTimeSLM::CmdOK_Click()
{
    switch (trace_.applyLimits(TxtMax->text(), TxtMin->text(), TxtCounts->text())) {
    case RealTimeTrace::Limits::ScaleRejected:
        dialogs().inform(this, RealTimeTrace::kScaleRejected, Dialogs::Icon::Critical, kCaption);
        return;
    case RealTimeTrace::Limits::CountsRejected:
        dialogs().inform(this, RealTimeTrace::kCountsRejected, Dialogs::Icon::Critical, kCaption);
        return;
    case RealTimeTrace::Limits::Applied:
        break;
    }
    layoutPlot();
}

void RealTimeSLM::Print_Click()
{
    // The tick goes on under the dialogs and closes the window outside dBA mode: it
    // closes once the print is done, not under it.
    const Command command(*this);
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setDocName(windowTitle());
    if (!dialogs().print(this, printer))
        return;
    QString error;
    bool printed = false;
    {
        const HiddenFor hidden(Toolbar1);
        printed = WindowImage::print(printer, this, printer.copyCount(), &error);
    }
    if (!printed)
        dialogs().inform(this, error, Dialogs::Icon::Critical, kCaption);
}

void RealTimeSLM::Pdf_Click()
{
    const Command command(*this);
    const HiddenFor hidden(Toolbar1);
    WindowImage::exportPdfWithDialog(dialogs(), this, this);
}
