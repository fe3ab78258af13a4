#pragma once

// The figures of an analysis window as cards (a caption over a value), filled from the
// `name: value` lines its logic prints, so the window shows exactly what the command line
// prints. A figure without a line, or with nothing after its colon, shows "–".

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class QGridLayout;
class QLabel;

class FigureCards {
public:
    struct Figure {
        const char *name; // as in its line ("laeq")
        const char *caption;
        const char *control; // the value label's objectName
    };

    static const QString kNoFigure;

    // A card per figure, row by row, the values aligned so.
    void addRows(QGridLayout *grid, const QList<QList<Figure>> &rows,
                 Qt::Alignment alignment = Qt::AlignCenter);
    // Every card from the lines.
    void show(const QStringList &lines) const;
    // "name: value" lines as a map from name to value.
    static QHash<QString, QString> values(const QStringList &lines);

private:
    QHash<QString, QLabel *> labels_;
};
