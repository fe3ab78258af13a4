#include "analysis/NumberField.h"

#include "analysis/NumberText.h"
#include "ui/MeterWindow.h"

#include <QLineEdit>
#include <QSignalBlocker>

NumberField::NumberField(double minimum, double maximum, int decimals, Text text, QWidget *parent)
    : QDoubleSpinBox(parent), text_(std::move(text))
{
    // The point is the decimal mark of every number the program writes.
    setLocale(QLocale::c());
    setDecimals(decimals);
    setRange(minimum, maximum);
    setKeyboardTracking(false);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

void NumberField::describe(const QString &accessibleName, const QString &description)
{
    MeterWindow::describe(this, accessibleName, description);
    MeterWindow::describe(lineEdit(), accessibleName, description);
}

void NumberField::setQuietly(double value)
{
    const QSignalBlocker blocker(this);
    setValue(value);
}

QString NumberField::textFromValue(double value) const
{
    return text_ ? text_(value) : QDoubleSpinBox::textFromValue(value);
}

GraphRange graphRange(const std::array<NumberField *, 3> &axisMin,
                      const std::array<NumberField *, 3> &axisMax)
{
    GraphRange range;
    for (int item : {1, 2}) {
        range.minimum[item] = axisMin[item]->value();
        range.maximum[item] = axisMax[item]->value();
    }
    return range;
}

QString graphRangeText(const GraphRange &range)
{
    return QStringLiteral("records %1 to %2, %3 to %4 dB")
        .arg(trimmedNumberText(range.minimum[1], 0), trimmedNumberText(range.maximum[1], 0),
             trimmedNumberText(range.minimum[2], 1), trimmedNumberText(range.maximum[2], 1));
}
