#include "realtime/Digital.h"

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
QFrame#Readout { background: #18222b; border: 1px solid #0e151b; border-radius: 8px; }
QLabel#LblValue, QLabel#Label1 { color: #7cf29a; background: transparent; }
)";

} // namespace

Digital::Digital(Meter &meter, Dialogs &dialogs, std::function<QString()> levelText,
                 QWidget *parent)
    : MeterWindow(meter, dialogs, "Digital", QStringLiteral("Digital"), parent),
      levelText_(std::move(levelText))
{
    setStyleSheet(Theme::windowStyleSheet(QLatin1String(kStyle)));
    auto *readout = named(new QFrame(this), "Readout");
    readout_ = readout;
    // The number and the unit are placed by hand and their type follows the readout's
    // size, which the window's layout sets.
    readout->installEventFilter(this);
    LblValue = named(new QLabel(QStringLiteral("140.0"), readout), "LblValue");
    LblValue->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblValue->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label1 = named(new QLabel(QStringLiteral("dBA"), readout), "Label1");
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(readout);

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(kTickMs);
    connect(Timer1, &QTimer::timeout, this, &Digital::Timer1_Timer);
    Timer1->start();

    setMinimumSize(200, 100);
    resize(420, 180);
}

void Digital::Timer1_Timer()
{
    const QString text = levelText_ ? levelText_() : QString();
    if (text == LblValue->text())
        return;
    const bool longer = text.size() > LblValue->text().size();
    LblValue->setText(text);
    if (longer)
        fitText();
}

bool Digital::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == readout_ && event->type() == QEvent::Resize)
        fitText();
    return MeterWindow::eventFilter(watched, event);
}

void Digital::fitText()
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
    const qsizetype characters = std::max<qsizetype>(5, LblValue->text().size());
    const double across = QFontMetricsF(number).horizontalAdvance(QString(characters, u'0')) +
                          kGap + QFontMetricsF(unit).horizontalAdvance(Label1->text());
    const double pixels = std::min((inside.width() - kGap) / (across - kGap) * 100.0,
                                   inside.height() / QFontMetricsF(number).height() * 100.0);
    number.setPixelSize(std::max(8, int(std::floor(pixels))));
    unit.setPixelSize(std::max(6, int(std::floor(pixels * kUnitSize))));
    LblValue->setFont(number);
    Label1->setFont(unit);

    const QFontMetrics numberMetrics(number);
    const QFontMetrics unitMetrics(unit);
    const int unitWidth = unitMetrics.horizontalAdvance(Label1->text()) + 2;
    const int baseline =
        inside.center().y() + (numberMetrics.ascent() - numberMetrics.descent()) / 2;
    LblValue->setGeometry(inside.left(), inside.top(), inside.width() - unitWidth - kGap,
                          inside.height());
    Label1->setGeometry(inside.right() + 1 - unitWidth, baseline - unitMetrics.ascent(), unitWidth,
                        unitMetrics.height());
}

void Digital::windowClosing()
{
    Timer1->stop();
}
