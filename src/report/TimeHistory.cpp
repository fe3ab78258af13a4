#include "report/TimeHistory.h"

#include "analysis/RecordLevels.h"
#include "data/LevelCell.h"

#include <QDate>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

constexpr qint64 kTenthsPerDay = 864000;
constexpr int kActionValuesDb[] = {80, 85, 87};

QString clockText(qint64 tenths, bool withDate)
{
    const QDate day = QDate::fromJulianDay(tenths / kTenthsPerDay);
    const qint64 minutes = (tenths % kTenthsPerDay) / 600;
    const QString time = QStringLiteral("%1:%2")
                             .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                             .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return withDate ? day.toString(QStringLiteral("MM-dd ")) + time : time;
}

} // namespace

void TimeHistory::addList(const RecordTable &table, const std::vector<double> &levels)
{
    std::vector<qint64> stamps = RecordLevels::stampsTenths(table);
    stamps_.reserve(stamps_.size() + stamps.size());
    levels_.reserve(levels_.size() + stamps.size());
    for (size_t r = 0; r < stamps.size(); ++r) {
        const qint64 stamp = stamps[r];
        if (stamp == RecordLevels::kNoStamp || r >= levels.size() || std::isnan(levels[r]))
            continue;
        if (stamps_.empty()) {
            first_ = last_ = stamp;
        } else {
            first_ = std::min(first_, stamp);
            last_ = std::max(last_, stamp);
        }
        stamps_.push_back(stamp);
        levels_.push_back(float(levels[r]));
        if (LevelCell::isOverload(table.cellBytes(int(r), RecordLevels::kLevelColumn)))
            overloads_.push_back(stamp);
    }
    listStamps_.append(std::move(stamps));
}

void TimeHistory::addExcluded(int list, int first, int last, const QString &reason)
{
    if (list < 0 || list >= listStamps_.size())
        return;
    const std::vector<qint64> &stamps = listStamps_.at(list);
    qint64 from = -1;
    qint64 to = -1;
    for (int r = std::max(1, first); r <= last && r <= int(stamps.size()); ++r) {
        const qint64 stamp = stamps[size_t(r - 1)];
        if (stamp == RecordLevels::kNoStamp)
            continue;
        from = from < 0 ? stamp : std::min(from, stamp);
        to = std::max(to, stamp);
    }
    if (from >= 0)
        excluded_.append({from, to, reason});
}

std::vector<TimeHistory::Column> TimeHistory::columns(int count) const
{
    std::vector<Column> result(size_t(std::max(0, count)));
    if (result.empty() || stamps_.empty())
        return result;
    const double span = double(std::max<qint64>(1, last_ - first_));
    for (size_t i = 0; i < stamps_.size(); ++i) {
        const int c = std::min(count - 1, int(double(stamps_[i] - first_) / span * count));
        Column &column = result[size_t(c)];
        column.min = std::min(column.min, levels_[i]);
        column.max = std::max(column.max, levels_[i]);
    }
    return result;
}

qint64 TimeHistory::tickStepTenths(qint64 spanTenths, int most)
{
    static const qint64 stepsMinutes[] = {1, 2, 5, 10, 15, 30, 60, 120, 180, 360, 720, 1440};
    for (qint64 minutes : stepsMinutes) {
        if (spanTenths / (minutes * 600) + 1 <= most)
            return minutes * 600;
    }
    qint64 days = 1;
    while (spanTenths / (days * kTenthsPerDay) + 1 > most)
        ++days;
    return days * kTenthsPerDay;
}

void TimeHistory::draw(QPainter &painter, const QRectF &area, double unitsPerMm) const
{
    painter.save();
    QFont font = painter.font();
    font.setPointSizeF(7.0);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const QRectF plot = area.adjusted(12.0 * unitsPerMm, 4.0 * unitsPerMm, -13.0 * unitsPerMm,
                                      -metrics.height() - 2.0 * unitsPerMm);

    float lowest = 1e9f;
    float highest = -1e9f;
    for (float level : levels_) {
        lowest = std::min(lowest, level);
        highest = std::max(highest, level);
    }
    const double bottomDb = std::clamp(std::floor(double(lowest) / 10.0) * 10.0, 0.0, 70.0);
    const double topDb = std::clamp(std::ceil(double(highest) / 10.0) * 10.0, 100.0, 150.0);
    const double span = double(std::max<qint64>(1, last_ - first_));
    auto yOf = [&](double db) {
        return plot.bottom() - (db - bottomDb) / (topDb - bottomDb) * plot.height();
    };
    auto xOf = [&](qint64 tenths) {
        return plot.left() + double(tenths - first_) / span * plot.width();
    };

    // Excluded spans under everything else.
    for (const Excluded &e : excluded_) {
        const QRectF shade(QPointF(xOf(e.fromTenths), plot.top()),
                           QPointF(std::max(xOf(e.toTenths), xOf(e.fromTenths) + unitsPerMm * 0.5),
                                   plot.bottom()));
        painter.fillRect(shade, QColor(215, 215, 215));
        painter.setPen(Qt::black);
        // A narrow span's label runs on beside it rather than breaking inside words.
        const QRectF label(shade.left() + unitsPerMm * 0.5, shade.top() + unitsPerMm * 0.5,
                           std::max(shade.width(), 30.0 * unitsPerMm), shade.height());
        painter.drawText(label, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                         QStringLiteral("excluded: ") + e.reason);
    }

    // Level grid and labels every 10 dB.
    painter.setPen(QPen(QColor(190, 190, 190), 0.1 * unitsPerMm));
    for (double db = bottomDb; db <= topDb + 0.01; db += 10.0) {
        painter.setPen(QPen(QColor(190, 190, 190), 0.1 * unitsPerMm));
        painter.drawLine(QPointF(plot.left(), yOf(db)), QPointF(plot.right(), yOf(db)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), yOf(db) - metrics.height() / 2,
                                plot.left() - area.left() - unitsPerMm, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(int(db)));
    }
    painter.save();
    painter.translate(area.left() + metrics.height() / 2, plot.center().y());
    painter.rotate(-90);
    painter.drawText(
        QRectF(-plot.height() / 2, -metrics.height() / 2, plot.height(), metrics.height()),
        Qt::AlignCenter, QStringLiteral("Level (dB)"));
    painter.restore();

    // Clock time along the bottom.
    const bool withDate = last_ - first_ >= kTenthsPerDay;
    const qint64 step = tickStepTenths(last_ - first_, withDate ? 6 : 10);
    for (qint64 tick = (first_ + step - 1) / step * step; tick <= last_; tick += step) {
        const double x = xOf(tick);
        painter.setPen(QPen(QColor(190, 190, 190), 0.1 * unitsPerMm));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x - 15.0 * unitsPerMm, plot.bottom() + unitsPerMm,
                                30.0 * unitsPerMm, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, clockText(tick, withDate));
    }

    // The level: one line from the lowest to the highest level per device column, the
    // columns joined, broken where no record falls.
    const int count = std::max(1, int(std::lround(plot.width())));
    const std::vector<Column> cols = columns(count);
    painter.setPen(QPen(QColor(20, 60, 150), 0.2 * unitsPerMm));
    // Records sparser than the columns leave columns empty between them; only a gap of
    // several records' time breaks the line (the meter stopped, another day's file).
    const int gapColumns =
        std::max(1, int(std::ceil(3.0 * count / double(std::max<size_t>(1, stamps_.size())))));
    QPolygonF line;
    int emptyRun = 0;
    for (int c = 0; c < count; ++c) {
        const Column &column = cols[size_t(c)];
        if (column.empty()) {
            if (++emptyRun > gapColumns && !line.isEmpty()) {
                if (line.size() > 1)
                    painter.drawPolyline(line);
                else
                    painter.drawPoint(line.first());
                line.clear();
            }
            continue;
        }
        emptyRun = 0;
        const double x = plot.left() + (c + 0.5) * plot.width() / count;
        line << QPointF(x, yOf(column.min));
        if (column.max != column.min)
            line << QPointF(x, yOf(column.max));
    }
    if (line.size() > 1)
        painter.drawPolyline(line);
    else if (line.size() == 1)
        painter.drawPoint(line.first());

    // The action values.
    for (int db : kActionValuesDb) {
        if (db < bottomDb || db > topDb)
            continue;
        painter.setPen(QPen(db == 80 ? QColor(200, 140, 0) : QColor(190, 30, 30), 0.25 * unitsPerMm,
                            db == 87 ? Qt::SolidLine : Qt::DashLine));
        painter.drawLine(QPointF(plot.left(), yOf(db)), QPointF(plot.right(), yOf(db)));
        painter.drawText(QRectF(plot.right() + unitsPerMm, yOf(db) - metrics.height() / 2,
                                9.0 * unitsPerMm, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("%1 dB").arg(db));
    }

    // Overloads: a mark above the plot per column that holds one.
    std::set<int> marked;
    for (qint64 stamp : overloads_)
        marked.insert(std::min(count - 1, int(double(stamp - first_) / span * count)));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(190, 30, 30));
    const double size = 1.2 * unitsPerMm;
    int lastDrawn = -1000000;
    for (int c : marked) {
        const double x = plot.left() + (c + 0.5) * plot.width() / count;
        if (x - lastDrawn < size)
            continue;
        lastDrawn = int(x);
        painter.drawPolygon(QPolygonF{QPointF(x - size / 2, plot.top() - size * 1.2),
                                      QPointF(x + size / 2, plot.top() - size * 1.2),
                                      QPointF(x, plot.top() - size * 0.2)});
    }
    if (!marked.empty()) {
        painter.setPen(QColor(190, 30, 30));
        painter.drawText(QRectF(plot.right() + unitsPerMm, plot.top() - 2.0 * size,
                                12.0 * unitsPerMm, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("overload"));
    }

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 0.2 * unitsPerMm));
    painter.drawRect(plot);
    painter.restore();
}
