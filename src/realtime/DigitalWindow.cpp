#include "realtime/DigitalWindow.h"

#include "ui/Theme.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kTickMs = 150;
constexpr int kPadding = 14;       // inside the readout, each side
constexpr int kGap = 8;            // between the number and its unit
constexpr double kUnitSize = 0.36; // the unit's type against the number's

// The main window's readout, large: green digits on the dark panel.
const char *const kStyle = R"(
QFrame#readout { background: #18222b; border: 1px solid #0e151b; border-radius: 8px; }
QLabel#levelValue, QLabel#unitLabel { color: #7cf29a; background: transparent; }
)";

} // namespace

DigitalWindow::DigitalWindow(Meter &meter, Dialogs &dialogs, std::function<QString()> levelText,
                             QWidget *parent)
    : MeterWindow(meter, dialogs, "DigitalWindow", tr("Digital"), parent),
      levelText_(std::move(levelText))
{
    setStyleSheet(Theme::windowStyleSheet(QLatin1String(kStyle)));
    auto *readout = named(new QFrame(this), "readout");
    readout_ = readout;
    // The number and the unit are placed by hand and their type follows the readout's
    // size, which the window's layout sets.
    readout->installEventFilter(this);
    levelValue_ = named(new QLabel(QStringLiteral("140.0"), readout), "levelValue");
    levelValue_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    levelValue_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    unitLabel_ = named(new QLabel(QStringLiteral("dBA"), readout), "unitLabel");
    unitLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(readout);

    redrawTimer_ = named(new QTimer(this), "redrawTimer");
    redrawTimer_->setInterval(kTickMs);
    connect(redrawTimer_, &QTimer::timeout, this, &DigitalWindow::redraw);
    redrawTimer_->start();

    setMinimumSize(200, 100);
    resize(420, 180);
}

void DigitalWindow::redraw()
{
    const QString text = levelText_ ? levelText_() : QString();
    if (text == levelValue_->text())
        return;
    const bool longer = text.size() > levelValue_->text().size();
    levelValue_->setText(text);
    if (longer)
        fitText();
}

bool DigitalWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == readout_ && event->type() == QEvent::Resize)
        fitText();
    return MeterWindow::eventFilter(watched, event);
}

void DigitalWindow::fitText()
{
    // The readout's inside less its padding; the number and its unit share it, the unit
    // standing on the number's baseline.
    const QRect inside =
        readout_->contentsRect().adjusted(kPadding, kPadding, -kPadding, -kPadding);
    if (inside.width() <= 0 || inside.height() <= 0)
        return;
    // Measured at 100 px and scaled: type width grows in proportion to its size. The
    // readings are at most five characters ("140.0", "12.05", " OL "); a longer one
    // shrinks the type so that it still fits.
    QFont number(QStringLiteral("DejaVu Sans Mono"));
    number.setBold(true);
    number.setPixelSize(100);
    QFont unit(QStringLiteral("DejaVu Sans"));
    unit.setBold(true);
    unit.setPixelSize(int(100 * kUnitSize));
    const qsizetype characters = std::max<qsizetype>(5, levelValue_->text().size());
    const double across = QFontMetricsF(number).horizontalAdvance(QString(characters, u'0')) +
                          kGap + QFontMetricsF(unit).horizontalAdvance(unitLabel_->text());
    const double pixels = std::min((inside.width() - kGap) / (across - kGap) * 100.0,
                                   inside.height() / QFontMetricsF(number).height() * 100.0);
    number.setPixelSize(std::max(8, int(std::floor(pixels))));
    unit.setPixelSize(std::max(6, int(std::floor(pixels * kUnitSize))));
    levelValue_->setFont(number);
    unitLabel_->setFont(unit);

    const QFontMetrics numberMetrics(number);
    const QFontMetrics unitMetrics(unit);
    const int unitWidth = unitMetrics.horizontalAdvance(unitLabel_->text()) + 2;
    const int baseline =
        inside.center().y() + (numberMetrics.ascent() - numberMetrics.descent()) / 2;
    levelValue_->setGeometry(inside.left(), inside.top(), inside.width() - unitWidth - kGap,
                             inside.height());
    unitLabel_->setGeometry(inside.right() + 1 - unitWidth, baseline - unitMetrics.ascent(),
                            unitWidth, unitMetrics.height());
}

void DigitalWindow::windowClosing()
{
    redrawTimer_->stop();
}
