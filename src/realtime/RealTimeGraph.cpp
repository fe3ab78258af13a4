#include "realtime/RealTimeGraph.h"

#include "link/Clock.h"
#include "link/Meter.h"
#include "ui/Dialogs.h"
#include "ui/Theme.h"
#include "ui/WindowImage.h"

#include <QAction>
#include <QCoreApplication>
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
const char *const kCaption = QT_TRANSLATE_NOOP("RealTimeGraph", "Real Time Graph");

// The trace's refusals, which it gives in English, as the window shows them in the user's
// language.
[[maybe_unused]] const char *const kRefusals[] = {
    QT_TRANSLATE_NOOP("RealTimeGraph", "68 <= dBA <= 140, try again!"),
    QT_TRANSLATE_NOOP("RealTimeGraph", "10 <= Counts <= 864000, try again!"),
};

QString shown(const QString &english)
{
    return QCoreApplication::translate("RealTimeGraph", english.toUtf8().constData());
}

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
QToolBar#toolbar { background: #eef1f4; border: none; border-bottom: 1px solid #d5dbe1;
                    spacing: 4px; padding: 2px 6px; }
QToolBar#toolbar QToolButton { padding: 2px 12px; border: 1px solid #c3cbd3; border-radius: 4px;
                                background: white; color: #1d2730; }
QToolBar#toolbar QToolButton:hover { border-color: #8fa3b3; }
QToolBar#toolbar QToolButton:pressed { background: #dfe6ec; }
QFrame#limitsPanel { background: white; border: 1px solid #b9c3cc; border-radius: 6px; }
QFrame#limitsPanel QLineEdit { padding: 2px 4px; }
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

RealTimeGraph::RealTimeGraph(Meter &meter, Dialogs &dialogs, std::function<QString()> levelText,
                             QWidget *parent)
    : MeterWindow(meter, dialogs, "RealTimeGraph", tr(kCaption), parent),
      levelText_(std::move(levelText)), trace_([this](const QString &t) { return measure(t); })
{
    setStyleSheet(Theme::windowStyleSheet(QLatin1String(kStyle)));
    // The window paints every pixel itself from its image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Screen readers announce a window by its name: the caption. The whole window is the
    // graph, so the window carries the graph's description.
    describe(this, tr(kCaption),
             tr("The level sweeping from left to right, one step every half "
                "second, with the time of day at the start and the middle"));
    font_ = QFont(QStringLiteral("DejaVu Sans"));
    font_.setPixelSize(12);

    toolbar_ = named(new QToolBar(this), "toolbar");
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar_->setMovable(false);
    limitAction_ = named(toolbar_->addAction(tr("Limit")), "limitAction");
    limitAction_->setToolTip(tr("Limit"));
    printAction_ = named(toolbar_->addAction(tr("Print")), "printAction");
    printAction_->setToolTip(tr("Print"));
    pdfAction_ = named(toolbar_->addAction(tr("PDF")), "pdfAction");
    pdfAction_->setToolTip(tr("Saves the window's image as a PDF file"));
    connect(limitAction_, &QAction::triggered, this, &RealTimeGraph::showLimits);
    connect(printAction_, &QAction::triggered, this, &RealTimeGraph::printGraph);
    connect(pdfAction_, &QAction::triggered, this, &RealTimeGraph::exportPdf);

    limitsPanel_ = named(new QFrame(this), "limitsPanel");
    const auto box = [this](const char *name, const QString &accessible, const QString &about,
                            const QString &characters) {
        auto *edit = named(new QLineEdit(limitsPanel_), name, accessible, about);
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(characters), edit));
        edit->setMaxLength(12);
        edit->setFixedWidth(QFontMetrics(edit->font()).horizontalAdvance(QStringLiteral("0")) * 9 +
                            14);
        return edit;
    };
    // The boxes take only the characters of their numbers (and Backspace and Enter).
    const QString level = QStringLiteral("[-0-9.]*");
    maximumEdit_ = box("maximumEdit", tr("Maximum level"),
                       tr("Top of the scale in dB, at most 140; Enter moves to Min"), level);
    minimumEdit_ = box("minimumEdit", tr("Minimum level"),
                       tr("Bottom of the scale in dB, at least 68; Enter moves to Records"), level);
    countsEdit_ =
        box("countsEdit", tr("Records"), tr("Records across the plot, 10 to 864000; Enter applies"),
            QStringLiteral("[0-9]*"));
    okButton_ = named(new QPushButton(tr("OK"), limitsPanel_), "okButton");
    okButton_->setAutoDefault(false);
    auto *grid = new QGridLayout(limitsPanel_);
    grid->setContentsMargins(12, 10, 12, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->addWidget(Theme::caption(tr("Max"), limitsPanel_), 0, 0);
    grid->addWidget(maximumEdit_, 0, 1);
    grid->addWidget(Theme::caption(tr("Min"), limitsPanel_), 1, 0);
    grid->addWidget(minimumEdit_, 1, 1);
    grid->addWidget(Theme::caption(tr("Records"), limitsPanel_), 2, 0);
    grid->addWidget(countsEdit_, 2, 1);
    grid->addWidget(okButton_, 3, 0, 1, 2);
    limitsPanel_->hide();
    connect(maximumEdit_, &QLineEdit::returnPressed, this, [this] { minimumEdit_->setFocus(); });
    connect(minimumEdit_, &QLineEdit::returnPressed, this, [this] { countsEdit_->setFocus(); });
    connect(countsEdit_, &QLineEdit::returnPressed, this, &RealTimeGraph::applyLimits);
    connect(okButton_, &QPushButton::clicked, this, &RealTimeGraph::applyLimits);

    // Off until the first layout.
    redrawTimer_ = named(new QTimer(this), "redrawTimer");
    redrawTimer_->setInterval(kTickMs);
    connect(redrawTimer_, &QTimer::timeout, this, &RealTimeGraph::redraw);

    setMinimumSize(RealTimeTrace::kMinimumWidth, RealTimeTrace::kMinimumHeight);
    // 600 records across: five minutes a sweep.
    resize(660, 460);
}

QSizeF RealTimeGraph::measure(const QString &text) const
{
    const QFontMetricsF metrics(font_);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void RealTimeGraph::placeOverlays()
{
    toolbar_->setGeometry(0, 0, width(), toolbar_->sizeHint().height());
    limitsPanel_->adjustSize();
    limitsPanel_->move(width() - limitsPanel_->width() - 16, toolbar_->height() + 8);
}

void RealTimeGraph::layoutPlot()
{
    redrawTimer_->stop();
    limitsPanel_->hide();
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (canvas_.size() != pixels || canvas_.devicePixelRatio() != ratio) {
        canvas_ = QImage(pixels, QImage::Format_RGB32);
        canvas_.setDevicePixelRatio(ratio);
    }
    draw(trace_.layout(size()));
    update();
    redrawTimer_->start();
}

void RealTimeGraph::resizeEvent(QResizeEvent *event)
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

void RealTimeGraph::showEvent(QShowEvent *event)
{
    MeterWindow::showEvent(event);
    // Uncovering or restoring the window keeps the trace; only the first show lays out.
    if (canvas_.isNull())
        layoutPlot();
}

void RealTimeGraph::windowClosing()
{
    redrawTimer_->stop();
}

void RealTimeGraph::paintEvent(QPaintEvent *)
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

QRegion RealTimeGraph::draw(const RealTimeTrace::Drawing &drawing)
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

void RealTimeGraph::redraw()
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

void RealTimeGraph::showLimits()
{
    redrawTimer_->stop();
    countsEdit_->setText(trace_.countsText());
    maximumEdit_->setText(trace_.maxText());
    minimumEdit_->setText(trace_.minText());
    placeOverlays();
    limitsPanel_->show();
    limitsPanel_->raise();
    maximumEdit_->setFocus();
    maximumEdit_->selectAll();
}

void RealTimeGraph::applyLimits()
{
    switch (trace_.applyLimits(maximumEdit_->text(), minimumEdit_->text(), countsEdit_->text())) {
    case RealTimeTrace::Limits::ScaleRejected:
        dialogs().inform(this, shown(RealTimeTrace::kScaleRejected), Dialogs::Icon::Critical,
                         tr(kCaption));
        return;
    case RealTimeTrace::Limits::CountsRejected:
        dialogs().inform(this, shown(RealTimeTrace::kCountsRejected), Dialogs::Icon::Critical,
                         tr(kCaption));
        return;
    case RealTimeTrace::Limits::Applied:
        break;
    }
    layoutPlot();
}

void RealTimeGraph::printGraph()
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
        const HiddenFor hidden(toolbar_);
        printed = WindowImage::print(printer, WindowImage::picture(this),
                                     WindowImage::titleHeader(windowTitle()), printer.copyCount(),
                                     &error);
    }
    if (!printed)
        dialogs().inform(this, error, Dialogs::Icon::Critical, tr(kCaption));
}

void RealTimeGraph::exportPdf()
{
    const Command command(*this);
    const HiddenFor hidden(toolbar_);
    WindowImage::exportPdfWithDialog(dialogs(), this, WindowImage::picture(this),
                                     WindowImage::titleHeader(windowTitle()));
}
