#pragma once
// The data manager (TForm3, "数据管理窗口"): browses the measurement
// database, previews the stored profile of the current record, edits a
// record's descriptive columns, filters by date, searches, deletes, and loads
// a record into the main window. It owns the database connection and the
// preview measurement, so the record dialog, the save action and the report use
// it while it is hidden.

#include "common/Edition.h"
#include "database/DataManager.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTableView;
class Dialogs;
class TComToPX510;
class TPreviewChart;
class TRecordListModel;
class TRecordNavigator;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    // Opens file/DataViewDB.mdb below `appDir` (ending in '/'). When that
    // fails the message is shown once and the window works without database.
    TForm3(TComToPX510 &comLink, Dialogs &dialogs, Edition edition, const QString &appDir, QWidget *parent = nullptr);
    ~TForm3() override;

    // Filled in by the main window: shows ComLink's new measurement.
    std::function<void()> ShowMeasurement;

    TDataManager &Data() { return Manager; }
    // The current row of the list: the report header reads its ID, WorkName,
    // Operator and DateTime (RecordDateText::Display) from here.
    TRecordView &MainQuery() { return Manager.MainQuery(); }
    TMeasurement &PreviewSession() { return Manager.PreviewSession(); }

    // Stores ComLink's measurement with the texts of the record dialog:
    // -1 declined, 1 appended, 0 updated. Errors are thrown to the caller.
    int SaveMeasurementRecord(const RecordTexts &texts);

    // The handlers; each shows its own errors.
    void PreviewRecord();
    void ApplyDateFilter();
    void FindRecord();
    void LoadMeasurementRecord();
    void ClearAllRecords();

    // Designer names of the controls.
    QTableView *DBGrid1 = nullptr;
    TPreviewChart *Chart1 = nullptr;
    QSplitter *Splitter1 = nullptr, *Splitter2 = nullptr;
    QGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr, *GroupBox3 = nullptr;
    QDateEdit *DateTimePicker1 = nullptr, *DateTimePicker2 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *Button1 = nullptr; // "GO"
    QLineEdit *DBEdit1 = nullptr, *DBEdit2 = nullptr, *DBEdit3 = nullptr, *DBEdit4 = nullptr, *DBEdit5 = nullptr;
    QPlainTextEdit *DBMemo1 = nullptr;
    QPushButton *Button2 = nullptr; // "载入数据"
    QPushButton *Button3 = nullptr; // "全部清除"
    TRecordNavigator *DBNavigator1 = nullptr;
    QStatusBar *StatusBar1 = nullptr; // the database in use

private:
    TComToPX510 &ComLink;
    Dialogs &Messages;
    const Edition EditionValue;
    TDataManager Manager;
    TRecordListModel *ListModel = nullptr;
    bool Refreshing = false;
    bool Selecting = false;

    void BuildLayout();
    QWidget *BuildBottomPanel();
    void SizeColumns();
    void ConnectView();
    void ShowCurrentRow();
    void SelectCurrentRow();
    void FollowGridRow(int row);
    // Shows the current row in the field editors; with `keepTyped` an editor
    // holding typed text not yet handed over keeps it.
    void RefreshEditors(bool keepTyped = false);
    void CommitEditor(QLineEdit *editor, RecordField field);
    void CommitPendingEditors();
    void CommitField(RecordField field, const QString &text);
    void VerifyEditedId();
};
