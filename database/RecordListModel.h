#pragma once
// The record list as a table model: ID, WorkName, Operator, DateTime and
// EditDateTime of the rows of the view, read as the list scrolls. The current
// row shows its pending edits. Cells can be edited when the list allows it.

#include <QAbstractTableModel>
#include <functional>

class TRecordView;

class TRecordListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 5;

    explicit TRecordListModel(TRecordView &view, QObject *parent = nullptr);

    // Width of each column in characters; 0 for the default width.
    static int ColumnWidthInCharacters(int column);
    static bool IsDateColumn(int column);

    // Whether cells can be edited in place; an edit goes to the current row.
    bool Editable = false;
    // Hands an edited cell to the window (which may check it); set by the window.
    std::function<void(int row, int column, const QString &text)> CellEdited;
    // Told once, after the painting that met it, when the rows cannot be
    // read; the list then shows its rows empty until the view is run again.
    std::function<void(const QString &message)> ReadFailed;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    TRecordView &View;
    mutable bool Unreadable = false;

    QVariant Cell(const QModelIndex &index) const;
    void Failed(const QString &reason) const;
};
