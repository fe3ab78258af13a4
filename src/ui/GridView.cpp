#include "ui/GridView.h"

#include <QHeaderView>

#include <QScrollBar>
#include <algorithm>

GridView::GridView(QAbstractItemModel *model, QWidget *parent) : QTableView(parent)
{
    setModel(model);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setStretchLastSection(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
}

void GridView::setColumnWidths(const QStringList &samples)
{
    const QFontMetrics metrics = fontMetrics();
    const QFontMetrics headerMetrics = horizontalHeader()->fontMetrics();
    for (int c = 0; c < samples.size() && c < model()->columnCount(); ++c) {
        const QString heading = model()->headerData(c, Qt::Horizontal).toString();
        const int width = std::max(metrics.horizontalAdvance(samples.at(c)),
                                   headerMetrics.horizontalAdvance(heading));
        horizontalHeader()->resizeSection(c, width + 12);
    }
}

int GridView::columnsWidth() const
{
    int width = 0;
    for (int c = 0; c < model()->columnCount(); ++c)
        width += horizontalHeader()->sectionSize(c);
    return width + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * frameWidth();
}

bool GridView::atEnd() const
{
    const QScrollBar *bar = verticalScrollBar();
    return bar->value() >= bar->maximum();
}

void GridView::followNewest(bool wasAtEnd)
{
    const int last = model()->rowCount() - 1;
    if (last < 0)
        return;
    const QModelIndex index = model()->index(last, 0);
    // Making a row current scrolls it into view; a reader of older rows stays put.
    const int top = verticalScrollBar()->value();
    const int left = horizontalScrollBar()->value();
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    if (wasAtEnd) {
        scrollToBottom();
    } else {
        verticalScrollBar()->setValue(top);
        horizontalScrollBar()->setValue(left);
    }
}
