#include "ui/GridView.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyleOptionHeader>

#include <algorithm>

namespace {

// The record headings the grids show in the user's language. The model keeps the English,
// which the files, copies and prints hold.
const char *const kShownHeadings[] = {QT_TRANSLATE_NOOP("GridView", "Date"),
                                      QT_TRANSLATE_NOOP("GridView", "Time")};

QString shown(const QString &heading)
{
    for (const char *known : kShownHeadings) {
        if (heading == QLatin1String(known))
            return QCoreApplication::translate("GridView", known);
    }
    return heading;
}

// The heading row, drawn with the headings in the user's language.
class ShownHeadings final : public QHeaderView {
public:
    explicit ShownHeadings(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

protected:
    void initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        option->text = shown(option->text);
    }
};

} // namespace

GridView::GridView(QAbstractItemModel *model, QWidget *parent) : QTableView(parent)
{
    setHorizontalHeader(new ShownHeadings(this));
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
        const QString heading = shownHeading(c);
        const int width = std::max(metrics.horizontalAdvance(samples.at(c)),
                                   headerMetrics.horizontalAdvance(heading));
        horizontalHeader()->resizeSection(c, width + 12);
    }
}

QString GridView::shownHeading(int column) const
{
    return shown(model()->headerData(column, Qt::Horizontal).toString());
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
