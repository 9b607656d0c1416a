#pragma once
// The record information dialog (TForm8, "数据基本信息"): the ID, work-piece
// name, operator and remark of a measurement that the main window saves to
// the database. It proposes IDs and keeps its fields from one showing to the
// next.

#include "common/Edition.h"

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Dialogs;
class TMeasurement;
class TForm3;

class TForm8 : public QDialog {
    Q_OBJECT
public:
    TForm8(TForm3 &dataManager, TMeasurement &comLink, Dialogs &dialogs, Edition edition, QWidget *parent = nullptr);

    // The main window's save action: pre-fills the fields from the stored
    // record of the measurement, then shows the dialog modally. A database
    // error is shown and the dialog is not. True when a record was saved.
    bool OpenForSave();
    // The pre-fill alone: from the row ComLink was loaded from (corviastation,
    // by RecordId) or from a row measured within 20 s of it (corviaview).
    // Fields change only while the data manager has a current row; a null
    // ID gives "id", a null operator "opertor", a null work name leaves that
    // field as it was. A stored row also fills the remark. The remark counts as
    // typed only after this. Throws DatabaseError.
    void PrefillFromDatabase();

    // "...": a new ID from the database into the ID field.
    void SuggestNextId();
    // "确认": checks the fields (corviastation), saves, and closes unless the
    // operator declined. A remark not typed since the dialog opened leaves the
    // remark of a record saved over as it was.
    void ConfirmRecord();

    // Designer names of the controls.
    QGroupBox *GroupBox1 = nullptr;
    QLineEdit *Edit1 = nullptr;     // ID
    QPushButton *Button1 = nullptr; // "..."
    QLineEdit *Edit2 = nullptr;     // operator
    QLineEdit *Edit3 = nullptr;     // work-piece name
    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *Button2 = nullptr; // "确认"
    QPushButton *Button3 = nullptr; // "取消"

private:
    TForm3 &DataManager;
    TMeasurement &ComLink;
    Dialogs &Messages;
    const Edition EditionValue;

    void BuildLayout();
};
