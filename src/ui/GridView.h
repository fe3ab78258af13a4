#pragma once

// The record grids' view: one row per record under a heading row, fixed row heights so
// that the view never measures rows however many there are, whole-row selection, no
// editing; column widths from sample texts; and the rule that keeps the newest rows of a
// growing list in view.

#include <QStringList>
#include <QTableView>

class QAbstractItemModel;

class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QAbstractItemModel *model, QWidget *parent = nullptr);

    // Each column as wide as its sample text in the view's font, and at least as wide as
    // its heading.
    void setColumnWidths(const QStringList &samples);
    // The heading the grid shows over a column: the model's, in the user's language.
    QString shownHeading(int column) const;
    // Width that shows every column, the frame and a vertical scroll bar.
    int columnsWidth() const;

    // Call after appending a row: the new row becomes current and, when the view was
    // showing the end of the list, the list scrolls so that it stays in view. A user who
    // scrolled back to read older rows is left where they are.
    void followNewest(bool wasAtEnd);
    // True when the last row is in view (or there is nothing to scroll).
    bool atEnd() const;
};
