#include "analysis/FigureCards.h"

#include "ui/MeterWindow.h"
#include "ui/Theme.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>

const QString FigureCards::kNoFigure = QStringLiteral("–");

void FigureCards::addRows(QGridLayout *grid, const QList<QList<Figure>> &rows,
                          Qt::Alignment alignment)
{
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < rows.at(row).size(); ++column) {
            const Figure &figure = rows.at(row).at(column);
            QLabel *value = MeterWindow::named(Theme::value(), figure.control);
            value->setAlignment(alignment);
            labels_.insert(QLatin1String(figure.name), value);
            // The caption in the user's language: the tables mark theirs for translation.
            const QString caption = QCoreApplication::translate("FigureCards", figure.caption);
            grid->addWidget(Theme::card(caption, value), row, column);
        }
    }
}

QHash<QString, QString> FigureCards::values(const QStringList &lines)
{
    QHash<QString, QString> values;
    for (const QString &line : lines) {
        const qsizetype colon = line.indexOf(QLatin1String(": "));
        if (colon > 0)
            values.insert(line.left(colon), line.mid(colon + 2));
    }
    return values;
}

void FigureCards::show(const QStringList &lines) const
{
    const QHash<QString, QString> shown = values(lines);
    for (auto it = labels_.cbegin(); it != labels_.cend(); ++it) {
        const QString value = shown.value(it.key());
        it.value()->setText(value.isEmpty() ? kNoFigure : value);
    }
}
