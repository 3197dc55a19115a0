#pragma once
// A Qt item model over a core RowTable: the view reads the store directly, so thousands of rows
// cost nothing until they are painted. Commands change the store; the window then calls reload().
// The model keeps the rows the view had selected, by their identity, so that the window selects
// them again where a sort or a command has put them.

#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <cstdint>
#include <unordered_set>

#include "app/row_table.h"

namespace varnex::ui {

class RowTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    /// `alternateRows`: paint even rows light grey and odd rows white, text black (StudentTable).
    RowTableModel(RowTable& table, bool alternateRows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// A click on a column heading: sorts the store with its toggle rule.
    void headingClicked(int column);
    /// Tells the views that the store changed as a whole (after a command).
    void reload();

    RowTable& table() { return table_; }

    /// Keeps the rows selected in `selection` (a view of this model) in place of those kept before.
    void keepSelection(const QItemSelectionModel* selection);
    /// True when the row at `row` is one of the rows kept as selected.
    bool wasSelected(int row) const;
    /// While a command works on the store on another thread the views see an empty table, so that
    /// they never read it meanwhile; resuming shows the store again.
    void suspend();
    void resume();

  private:
    RowTable& table_;
    bool alternateRows_;
    bool suspended_ = false;
    std::unordered_set<uint64_t> selected_;  ///< RowTable::rowId of the rows kept as selected
};

}  // namespace varnex::ui
