#include "ui/row_table_model.h"

#include <QBrush>
#include <QColor>

namespace varnex::ui {

RowTableModel::RowTableModel(RowTable& table, bool alternateRows, QObject* parent)
    : QAbstractTableModel(parent), table_(table), alternateRows_(alternateRows) {}

int RowTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || suspended_ ? 0 : table_.rowCount();
}

int RowTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || suspended_ ? 0 : table_.columnCount();
}

QVariant RowTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || suspended_) return {};
    switch (role) {
        case Qt::DisplayRole: {
            const std::string_view text = table_.cellText(index.row(), index.column());
            return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        case Qt::BackgroundRole:
            if (alternateRows_)
                return QBrush(index.row() % 2 == 0 ? QColor(240, 240, 240) : QColor(255, 255, 255));
            return {};
        case Qt::ForegroundRole:
            if (alternateRows_) return QBrush(Qt::black);
            return {};
        default:
            return {};
    }
}

QVariant RowTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (suspended_ || orientation != Qt::Horizontal || section < 0 || section >= table_.columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(table_.columns()[static_cast<size_t>(section)].name);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

void RowTableModel::headingClicked(int column) {
    beginResetModel();
    table_.headingClicked(column);
    endResetModel();
}

void RowTableModel::keepSelection(const QItemSelectionModel* selection) {
    selected_.clear();
    if (selection == nullptr || suspended_) return;
    for (const QModelIndex& row : selection->selectedRows()) {
        if (row.row() < table_.rowCount()) selected_.insert(table_.rowId(row.row()));
    }
}

bool RowTableModel::wasSelected(int row) const {
    return row >= 0 && row < table_.rowCount() && selected_.count(table_.rowId(row)) != 0;
}

void RowTableModel::suspend() {
    beginResetModel();
    suspended_ = true;
    endResetModel();
}

void RowTableModel::resume() {
    beginResetModel();
    suspended_ = false;
    endResetModel();
}

void RowTableModel::reload() {
    beginResetModel();
    endResetModel();
}

}  // namespace varnex::ui
