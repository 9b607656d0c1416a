#include "database/RecordListModel.h"

#include "common/Errors.h"
#include "database/RecordDateText.h"
#include "database/RecordView.h"

namespace {

struct Column {
    RecordField field;
    const char16_t *heading;
    int characters;
};

const Column kColumns[TRecordListModel::ColumnCount] = {
    {RecordField::Id, u"编号", 7},
    {RecordField::WorkName, u"工件名称", 11},
    {RecordField::Operator, u"操作员", 9},
    {RecordField::DateTime, u"创建时间", 22},
    {RecordField::EditDateTime, u"修改日期", 0},
};

bool isDate(RecordField field)
{
    return field == RecordField::DateTime || field == RecordField::EditDateTime;
}

} // namespace

TRecordListModel::TRecordListModel(TRecordView &view, QObject *parent) : QAbstractTableModel(parent), View(view)
{
    connect(&View, &TRecordView::ViewReset, this, [this] {
        beginResetModel();
        Unreadable = false;
        endResetModel();
    });
    connect(&View, &TRecordView::RowChanged, this,
            [this](int row) { emit dataChanged(index(row, 0), index(row, ColumnCount - 1)); });
}

int TRecordListModel::ColumnWidthInCharacters(int column)
{
    return column >= 0 && column < ColumnCount ? kColumns[column].characters : 0;
}

bool TRecordListModel::IsDateColumn(int column)
{
    return column >= 0 && column < ColumnCount && isDate(kColumns[column].field);
}

int TRecordListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : View.Count();
}

int TRecordListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TRecordListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole) || Unreadable)
        return {};
    // The grid asks while it paints: an error must not travel through Qt.
    try {
        return Cell(index);
    } catch (const PX510Error &e) {
        Failed(e.message());
    } catch (const std::exception &e) {
        Failed(QString::fromLocal8Bit(e.what()));
    }
    return {};
}

void TRecordListModel::Failed(const QString &reason) const
{
    Unreadable = true;
    if (!ReadFailed)
        return;
    // Not from inside the painting: a message box there would paint the list again.
    const QString message = QStringLiteral("无法读取记录列表，列表暂时显示为空：") + reason;
    QMetaObject::invokeMethod(
        const_cast<TRecordListModel *>(this), [this, message] { ReadFailed(message); }, Qt::QueuedConnection);
}

QVariant TRecordListModel::Cell(const QModelIndex &index) const
{
    const RecordField field = kColumns[index.column()].field;
    QVariant value;
    if (index.row() == View.RecordNo()) {
        value = View.Value(field);
    } else {
        const RecordRow &row = View.Row(index.row());
        switch (field) {
        case RecordField::Id: value = row.Id; break;
        case RecordField::WorkName: value = row.WorkName; break;
        case RecordField::Operator: value = row.Operator; break;
        case RecordField::DateTime: value = row.DateTime; break;
        default: value = row.EditDateTime; break;
        }
    }
    return isDate(field) ? QVariant(RecordDateText::Display(value)) : QVariant(value.toString());
}

QVariant TRecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return {};
    return section >= 0 && section < ColumnCount ? QString::fromUtf16(kColumns[section].heading) : QString();
}

Qt::ItemFlags TRecordListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (Editable && index.isValid())
        f |= Qt::ItemIsEditable;
    return f;
}

bool TRecordListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!Editable || role != Qt::EditRole || !index.isValid() || !CellEdited)
        return false;
    if (data(index, Qt::EditRole).toString() == value.toString())
        return false;
    CellEdited(index.row(), index.column(), value.toString());
    return true;
}
