#include "database/dbmangagefm.h"

#include "common/DateTimeText.h"
#include "common/Dialogs.h"
#include "common/Guard.h"
#include "database/DatabaseLocation.h"
#include "database/FormPlacement.h"
#include "database/PreviewChart.h"
#include "database/RecordDateText.h"
#include "database/RecordListModel.h"
#include "database/RecordNavigator.h"
#include "link/ComToPX510Unit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int kEditHeight = 21;

} // namespace

TForm3::TForm3(TComToPX510 &comLink, Dialogs &dialogs, Edition edition, const QString &appDir, QWidget *parent)
    : QDialog(parent), ComLink(comLink), Messages(dialogs), EditionValue(edition)
{
    setWindowTitle(QStringLiteral("数据管理窗口"));
    BuildLayout();
    ConnectView();
    RunGuarded(Messages, [&] { Manager.OpenDatabase(DatabaseLocation::FileToOpen(appDir)); });
    // The operator sees which file holds the records.
    StatusBar1->showMessage(Manager.IsOpen()
                                ? QStringLiteral("数据库：") + QDir::toNativeSeparators(Manager.Database().FileName())
                                : QStringLiteral("数据库未打开"));
    const QDate today = QDate::currentDate();
    DateTimePicker1->setDate(today);
    DateTimePicker2->setDate(today);
}

TForm3::~TForm3() = default;

void TForm3::BuildLayout()
{
    QFont font = this->font();
    font.setPixelSize(12);
    setFont(font);
    resize(805, 536);

    DBGrid1 = new QTableView;
    ListModel = new TRecordListModel(MainQuery(), this);
    ListModel->Editable = EditionValue == Edition::View;
    ListModel->CellEdited = [this](int row, int column, const QString &text) {
        RunGuarded(Messages, [&] {
            MainQuery().MoveTo(row);
            static const RecordField fields[] = {RecordField::Id, RecordField::WorkName, RecordField::Operator,
                                                 RecordField::DateTime, RecordField::EditDateTime};
            CommitField(fields[column], text);
        });
    };
    DBGrid1->setModel(ListModel);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListModel->ReadFailed = [this](const QString &message) { Messages.Warn(QStringLiteral("错误"), message); };
    // In the editable list a double click edits the cell; "载入数据" loads.
    DBGrid1->setEditTriggers(ListModel->Editable ? QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                                     | QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked
                                                 : QAbstractItemView::NoEditTriggers);
    DBGrid1->verticalHeader()->setDefaultSectionSize(18);
    DBGrid1->verticalHeader()->setFixedWidth(12);
    DBGrid1->horizontalHeader()->setHighlightSections(false);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    SizeColumns();

    Chart1 = new TPreviewChart;

    Splitter1 = new QSplitter(Qt::Horizontal);
    Splitter1->addWidget(DBGrid1);
    Splitter1->addWidget(Chart1);
    Splitter1->setSizes({361, 805 - 361});
    // A wider window widens the list as well as the preview.
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 1);

    Splitter2 = new QSplitter(Qt::Vertical);
    Splitter2->addWidget(Splitter1);
    Splitter2->addWidget(BuildBottomPanel());
    Splitter2->setSizes({536 - 286, 286});
    Splitter2->setStretchFactor(0, 1);

    StatusBar1 = new QStatusBar;
    StatusBar1->setSizeGripEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Splitter2);
    layout->addWidget(StatusBar1);
}

void TForm3::SizeColumns()
{
    const QFontMetrics metrics = DBGrid1->fontMetrics();
    const int character = metrics.averageCharWidth();
    constexpr int padding = 12;
    // The date columns fit a long date-time of the user's form in full.
    const int dateWidth = metrics.horizontalAdvance(RecordDateText::Display(QStringLiteral("2024-12-28 23:59:59")))
        + padding;
    for (int c = 0; c < TRecordListModel::ColumnCount; ++c) {
        const int heading = metrics.horizontalAdvance(ListModel->headerData(c, Qt::Horizontal).toString()) + padding;
        int width = std::max(heading, TRecordListModel::ColumnWidthInCharacters(c) * character + padding);
        if (TRecordListModel::IsDateColumn(c))
            width = std::max(width, dateWidth);
        DBGrid1->setColumnWidth(c, width);
    }
}

QWidget *TForm3::BuildBottomPanel()
{
    auto *panel = new QWidget;
    panel->setMinimumSize(801, 280);

    GroupBox2 = PlaceAt(new QGroupBox(QStringLiteral("过滤器"), panel), 8, 8, 369, 49);
    CaptionAt(GroupBox2, QStringLiteral("起始时间："), 16, 14);
    DateTimePicker1 = PlaceAt(new QDateEdit(GroupBox2), 80, 16, 97, kEditHeight);
    DateTimePicker2 = PlaceAt(new QDateEdit(GroupBox2), 192, 16, 97, kEditHeight);
    for (QDateEdit *picker : {DateTimePicker1, DateTimePicker2}) {
        picker->setCalendarPopup(true);
        // Compact in every locale, so the date fits the narrow picker.
        picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    CheckBox1 = PlaceAt(new QCheckBox(QStringLiteral("过滤"), GroupBox2), 296, 16, 60, kEditHeight);

    GroupBox3 = PlaceAt(new QGroupBox(QStringLiteral("查找"), panel), 384, 8, 409, 49);
    CaptionAt(GroupBox3, QStringLiteral("字段："), 16, 16);
    ComboBox1 = PlaceAt(new QComboBox(GroupBox3), 80, 14, 89, kEditHeight);
    ComboBox1->addItems({QStringLiteral("编号"), QStringLiteral("工件名称"), QStringLiteral("操作者")});
    ComboBox1->setCurrentIndex(0);
    CaptionAt(GroupBox3, QStringLiteral("＝"), 176, 16);
    Edit1 = PlaceAt(new QLineEdit(GroupBox3), 192, 13, 169, kEditHeight);
    Button1 = PlaceAt(new QPushButton(QStringLiteral("GO"), GroupBox3), 362, 12, 31, 25);

    GroupBox1 = PlaceAt(new QGroupBox(QStringLiteral("基本信息"), panel), 8, 64, 785, 209);
    const std::pair<const char16_t *, int> captions[] = {
        {u"编号：", 24}, {u"工件名称：", 58}, {u"操作者：", 88}, {u"创建日期：", 120}, {u"修改日期：", 152}};
    for (const auto &[text, y] : captions)
        CaptionAt(GroupBox1, QString::fromUtf16(text), 24, y);
    CaptionAt(GroupBox1, QStringLiteral("备注："), 280, 24);
    QLineEdit **editors[] = {&DBEdit1, &DBEdit2, &DBEdit3, &DBEdit4, &DBEdit5};
    const int rows[] = {24, 56, 88, 120, 152};
    for (int i = 0; i < 5; ++i)
        *editors[i] = PlaceAt(new QLineEdit(GroupBox1), 88, rows[i], 121, kEditHeight);
    for (QLineEdit *e : {DBEdit1, DBEdit2, DBEdit3})
        e->setMaxLength(RecordMapping::TextColumnWidth);
    // Long date forms of some locales get the room up to the remark label.
    const int dateWidth = DBEdit4->fontMetrics().horizontalAdvance(DateTimeText::displayText(45678.9999)) + 12;
    for (QLineEdit *e : {DBEdit4, DBEdit5})
        e->resize(std::clamp(dateWidth, 121, 185), kEditHeight);
    DBMemo1 = PlaceAt(new QPlainTextEdit(GroupBox1), 336, 24, 393, 129);
    DBMemo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    DBMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Button2 = PlaceAt(new QPushButton(QStringLiteral("载入数据"), GroupBox1), 344, 168, 75, 25);
    Button3 = PlaceAt(new QPushButton(QStringLiteral("全部清除"), GroupBox1), 440, 168, 75, 25);
    DBNavigator1 = new TRecordNavigator(MainQuery(), Messages, GroupBox1);
    PlaceAt(DBNavigator1, 536, 168, 189, 25);
    DBNavigator1->BeforeAction = [this] { CommitPendingEditors(); };
    DBNavigator1->AfterCancel = [this] { RefreshEditors(); };
    DBNavigator1->HasTypedInput = [this] {
        for (QLineEdit *e : {DBEdit1, DBEdit2, DBEdit3, DBEdit4, DBEdit5}) {
            if (e->isModified())
                return true;
        }
        return false;
    };

    for (QPushButton *b : {Button1, Button2, Button3})
        b->setAutoDefault(false);
    return panel;
}

void TForm3::ConnectView()
{
    TRecordView &view = MainQuery();
    connect(&view, &TRecordView::ViewReset, this, [this] { SelectCurrentRow(); });
    connect(&view, &TRecordView::CurrentChanged, this, [this] { ShowCurrentRow(); });
    connect(&view, &TRecordView::RowChanged, this, [this] { RefreshEditors(true); });
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { FollowGridRow(current.row()); });
    // A new selection model comes with every reset of the list.
    connect(ListModel, &QAbstractItemModel::modelReset, this, [this] { SelectCurrentRow(); });
    if (!ListModel->Editable)
        connect(DBGrid1, &QTableView::doubleClicked, this, [this] { LoadMeasurementRecord(); });

    connect(CheckBox1, &QCheckBox::clicked, this, [this] { ApplyDateFilter(); });
    connect(Button1, &QPushButton::clicked, this, [this] { FindRecord(); });
    connect(Button2, &QPushButton::clicked, this, [this] { LoadMeasurementRecord(); });
    connect(Button3, &QPushButton::clicked, this, [this] { ClearAllRecords(); });

    const std::pair<QLineEdit *, RecordField> bound[] = {
        {DBEdit1, RecordField::Id},       {DBEdit2, RecordField::WorkName},     {DBEdit3, RecordField::Operator},
        {DBEdit4, RecordField::DateTime}, {DBEdit5, RecordField::EditDateTime},
    };
    for (const auto &[editor, field] : bound) {
        connect(editor, &QLineEdit::editingFinished, this,
                [this, e = editor, f = field] { RunGuarded(Messages, [&] { CommitEditor(e, f); }); });
        connect(editor, &QLineEdit::textEdited, DBNavigator1, &TRecordNavigator::UpdateButtons);
    }
    connect(DBMemo1, &QPlainTextEdit::textChanged, this, [this] {
        if (Refreshing || !MainQuery().HasCurrent())
            return;
        RunGuarded(Messages, [&] { CommitField(RecordField::Remark, DBMemo1->toPlainText()); });
    });
}

// --- following the current row ---------------------------------------------

void TForm3::ShowCurrentRow()
{
    SelectCurrentRow();
    RefreshEditors();
    PreviewRecord();
}

void TForm3::SelectCurrentRow()
{
    // The selection model must signal: the list repaints the rows it leaves
    // only when told. FollowGridRow ignores what this sets.
    const QScopedValueRollback<bool> selecting(Selecting, true);
    const int row = MainQuery().RecordNo();
    if (row < 0) {
        DBGrid1->selectionModel()->clear();
        return;
    }
    const QModelIndex index = ListModel->index(row, std::max(0, DBGrid1->currentIndex().column()));
    DBGrid1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    DBGrid1->scrollTo(index);
}

void TForm3::FollowGridRow(int row)
{
    if (Selecting || row < 0 || row == MainQuery().RecordNo())
        return;
    // A refused post keeps the row: the list goes back to it.
    if (!RunGuarded(Messages, [&] {
            CommitPendingEditors();
            MainQuery().MoveTo(row);
        }))
        SelectCurrentRow();
}

void TForm3::RefreshEditors(bool keepTyped)
{
    Refreshing = true;
    TRecordView &view = MainQuery();
    auto show = [keepTyped](QLineEdit *editor, const QString &text) {
        if (keepTyped && editor->isModified())
            return;
        if (editor->text() != text) {
            editor->setText(text);
            editor->setCursorPosition(0);
        }
        editor->setModified(false);
    };
    RunGuarded(Messages, [&] {
        show(DBEdit1, view.Value(RecordField::Id).toString());
        show(DBEdit2, view.Value(RecordField::WorkName).toString());
        show(DBEdit3, view.Value(RecordField::Operator).toString());
        show(DBEdit4, RecordDateText::Display(view.Value(RecordField::DateTime)));
        show(DBEdit5, RecordDateText::Display(view.Value(RecordField::EditDateTime)));
        const QString remark = view.Value(RecordField::Remark).toString();
        if (DBMemo1->toPlainText() != remark)
            DBMemo1->setPlainText(remark);
    });
    for (QWidget *w : std::initializer_list<QWidget *>{DBEdit1, DBEdit2, DBEdit3, DBEdit4, DBEdit5, DBMemo1})
        w->setEnabled(view.HasCurrent());
    Refreshing = false;
    DBNavigator1->UpdateButtons();
}

// --- editing ---------------------------------------------------------------

void TForm3::CommitEditor(QLineEdit *editor, RecordField field)
{
    if (!editor->isModified() || !MainQuery().HasCurrent())
        return;
    editor->setModified(false);
    CommitField(field, editor->text());
}

void TForm3::CommitPendingEditors()
{
    const std::pair<QLineEdit *, RecordField> bound[] = {
        {DBEdit1, RecordField::Id},       {DBEdit2, RecordField::WorkName},     {DBEdit3, RecordField::Operator},
        {DBEdit4, RecordField::DateTime}, {DBEdit5, RecordField::EditDateTime},
    };
    for (const auto &[editor, field] : bound)
        CommitEditor(editor, field);
}

void TForm3::CommitField(RecordField field, const QString &text)
{
    TRecordView &view = MainQuery();
    if (field == RecordField::DateTime || field == RecordField::EditDateTime) {
        QVariant days;
        if (!text.trimmed().isEmpty()) {
            std::optional<double> parsed = RecordDateText::Parse(text);
            if (!parsed) {
                RefreshEditors(true);
                throw ConversionError(QStringLiteral("“%1”不是有效的日期时间。").arg(QuotedInput(text)));
            }
            days = *parsed;
        }
        view.SetValue(field, days);
        return;
    }
    view.SetValue(field, text);
    if (field == RecordField::Id && EditionValue == Edition::Station)
        VerifyEditedId();
}

void TForm3::VerifyEditedId()
{
    TRecordView &view = MainQuery();
    if (!view.Editing())
        return;
    // The row's own stored ID counts as well: re-typing it is refused too.
    if (Manager.IdExists(view.Value(RecordField::Id).toString())) {
        Messages.Warn(QStringLiteral("警告"), QStringLiteral("该记录ID已经存在，请重新命名？"));
        view.Cancel();
    }
}

// --- commands --------------------------------------------------------------

int TForm3::SaveMeasurementRecord(const RecordTexts &texts)
{
    const int result = Manager.SaveMeasurementRecord(Messages, ComLink, texts);
    // The full edition remembers the record the operator saved last.
    if (result != -1 && EditionValue == Edition::Station)
        ComLink.RecordId = texts.Id;
    return result;
}

void TForm3::PreviewRecord()
{
    bool shown = false;
    RunGuarded(Messages, [&] {
        if (Manager.PreviewRecord()) {
            Chart1->ShowProfile(PreviewSession());
            shown = true;
        }
    });
    // A row without a usable measurement shows no curve, not the last row's.
    if (!shown)
        Chart1->Clear();
}

void TForm3::ApplyDateFilter()
{
    const bool on = CheckBox1->isChecked();
    const bool done = RunGuarded(Messages, [&] {
        CommitPendingEditors();
        if (on)
            MainQuery().ShowDateRange(
                DateTimeText::fromDateTime(QDateTime(DateTimePicker1->date(), QTime(0, 0, 0))),
                DateTimeText::fromDateTime(QDateTime(DateTimePicker2->date(), QTime(23, 59, 59))));
        else
            MainQuery().ShowAll();
    });
    if (!done)
        CheckBox1->setChecked(!on);
}

void TForm3::FindRecord()
{
    static const RecordField fields[] = {RecordField::Id, RecordField::WorkName, RecordField::Operator};
    RunGuarded(Messages, [&] {
        CommitPendingEditors();
        MainQuery().Locate(fields[std::clamp(ComboBox1->currentIndex(), 0, 2)], Edit1->text());
    });
}

void TForm3::LoadMeasurementRecord()
{
    // During a download the record would be mixed with the packets still to come.
    if (ComLink.ExchangeUnderWay()) {
        Messages.Warn(QStringLiteral("提示"), QStringLiteral("现在不能载入数据：") + ComLink.ExchangeUnderWayText());
        return;
    }
    RunGuarded(Messages, [&] {
        CommitPendingEditors();
        TRecordView &view = MainQuery();
        if (view.Editing())
            view.Post();
        if (!Manager.LoadCurrentRecord(ComLink))
            return;
        if (EditionValue == Edition::Station)
            ComLink.RecordId = view.Value(RecordField::Id).toString();
        if (ShowMeasurement)
            ShowMeasurement();
        accept();
        if (const QString warning = ComLink.MeasureTimeWarning(); !warning.isEmpty())
            Messages.Warn(QStringLiteral("提示"), warning);
    });
}

void TForm3::ClearAllRecords()
{
    RunGuarded(Messages, [&] {
        if (Messages.AskYesNo(QStringLiteral("确认"), QStringLiteral("此操作将删除所有数据记录，请确认！")))
            MainQuery().DeleteAll();
    });
}
