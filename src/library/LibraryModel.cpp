#include "library/LibraryModel.h"

#include "library/Library.h"

#include <algorithm>

namespace {

// A row without a value in the column sorts after the others, whichever way the column runs.
bool missing(const Measurement &m, int column)
{
    switch (column) {
    case LibraryModel::StartColumn:
        return m.start.isEmpty();
    case LibraryModel::DurationColumn:
        return !m.durationSeconds();
    case LibraryModel::WorkerColumn:
        return m.worker.isEmpty();
    case LibraryModel::SiteColumn:
        return m.site.isEmpty();
    case LibraryModel::JobColumn:
        return m.job.isEmpty();
    case LibraryModel::MeterColumn:
        return m.meter.isEmpty();
    case LibraryModel::LaeqColumn:
        return !m.laeqTenths;
    default:
        return false;
    }
}

int compareValues(const Measurement &a, const Measurement &b, int column)
{
    const auto order = [](const auto &x, const auto &y) { return x < y ? -1 : y < x ? 1 : 0; };
    // Texts as a person sorts them.
    const auto text = [](const QString &x, const QString &y) {
        return QString::localeAwareCompare(x.toCaseFolded(), y.toCaseFolded());
    };
    switch (column) {
    case LibraryModel::KindColumn:
        return text(LibraryModel::kindCaption(a.kind), LibraryModel::kindCaption(b.kind));
    case LibraryModel::StartColumn:
        return order(a.start, b.start);
    case LibraryModel::DurationColumn:
        return order(a.durationSeconds(), b.durationSeconds());
    case LibraryModel::WorkerColumn:
        return text(a.worker, b.worker);
    case LibraryModel::SiteColumn:
        return text(a.site, b.site);
    case LibraryModel::JobColumn:
        return text(a.job, b.job);
    case LibraryModel::MeterColumn:
        return text(a.meter, b.meter);
    case LibraryModel::RecordsColumn:
        return order(a.records, b.records);
    case LibraryModel::LaeqColumn:
        return order(a.laeqTenths, b.laeqTenths);
    default:
        return 0;
    }
}

} // namespace

LibraryModel::LibraryModel(Library &library, QObject *parent)
    : QAbstractTableModel(parent), library_(library)
{
}

bool LibraryModel::refresh(const LibraryFilter &filter)
{
    filter_ = filter;
    beginResetModel();
    std::optional<QList<Measurement>> found = library_.list(filter);
    rows_ = found ? std::move(*found) : QList<Measurement>();
    sortRows();
    endResetModel();
    if (!found)
        emit errorOccurred(library_.errorString());
    return found.has_value();
}

int LibraryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int LibraryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LibraryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size())
        return {};
    const Measurement &m = rows_.at(index.row());
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() == RecordsColumn || index.column() == LaeqColumn ||
                            index.column() == DurationColumn;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role == Qt::ToolTipRole) {
        QString tip = m.fileName;
        if (!m.notes.isEmpty())
            tip += QLatin1Char('\n') + m.notes;
        return tip;
    }
    if (role == Qt::UserRole)
        return m.id;
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case KindColumn:
        return kindCaption(m.kind);
    case StartColumn:
        return m.start;
    case DurationColumn:
        return m.durationText();
    case WorkerColumn:
        return m.worker;
    case SiteColumn:
        return m.site;
    case JobColumn:
        return m.job;
    case MeterColumn:
        return m.meter;
    case RecordsColumn:
        return m.records;
    case LaeqColumn:
        return m.laeqText();
    default:
        return {};
    }
}

QString LibraryModel::kindCaption(Measurement::Kind kind)
{
    switch (kind) {
    case Measurement::Kind::Run:
        return tr("run");
    case Measurement::Kind::Recording:
        return tr("recording");
    case Measurement::Kind::List:
        return tr("list");
    case Measurement::Kind::Banks:
        return tr("banks");
    case Measurement::Kind::Average:
        return tr("average");
    }
    return Measurement::kindName(kind);
}

QVariant LibraryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const QStringList headings{tr("Kind"), tr("Start"), tr("Duration"), tr("Worker"), tr("Site"),
                               tr("Job"),  tr("Meter"), tr("Records"),  tr("LAeq dB")};
    return headings.value(section);
}

Qt::ItemFlags LibraryModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == WorkerColumn || index.column() == SiteColumn ||
        index.column() == JobColumn)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool LibraryModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    Measurement &m = rows_[index.row()];
    Library::Labels labels;
    const QString text = value.toString();
    (index.column() == WorkerColumn ? labels.worker
     : index.column() == SiteColumn ? labels.site
                                    : labels.job) = text;
    switch (library_.setLabels(m.id, labels)) {
    case Library::Change::Done:
        break;
    case Library::Change::NotFound:
        emit errorOccurred(tr("Measurement %1 is no longer in the library.").arg(m.id));
        refresh();
        return false;
    case Library::Change::Failed:
        emit errorOccurred(library_.errorString());
        return false;
    }
    // As stored: one line.
    const std::optional<Measurement> stored = library_.measurement(m.id);
    if (stored)
        m = *stored;
    emit dataChanged(index.siblingAtColumn(0), index.siblingAtColumn(ColumnCount - 1));
    return true;
}

void LibraryModel::sort(int column, Qt::SortOrder order)
{
    sortColumn_ = column;
    sortOrder_ = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    sortRows();
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void LibraryModel::sortRows()
{
    // Ties keep the library's order (start, then id), whichever way the column runs.
    std::stable_sort(rows_.begin(), rows_.end(),
                     [this](const Measurement &a, const Measurement &b) {
                         const bool aMissing = missing(a, sortColumn_);
                         if (aMissing != missing(b, sortColumn_))
                             return !aMissing;
                         const int c = compareValues(a, b, sortColumn_);
                         return sortOrder_ == Qt::AscendingOrder ? c < 0 : c > 0;
                     });
}
