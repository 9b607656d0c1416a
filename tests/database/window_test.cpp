// The data manager (TForm3) and the record dialog (TForm8), offscreen with
// scripted dialogs, in both editions where they differ.

#include "DatabaseFixture.h"
#include "ScriptedDialogs.h"

#include "database/PreviewChart.h"
#include "database/RecordListModel.h"
#include "database/RecordNavigator.h"
#include "database/dbinformfm.h"
#include "database/dbmangagefm.h"
#include "link/ComToPX510Unit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

namespace {

// Types into an editor as a person would, then presses Enter.
void typeInto(QLineEdit *editor, const QString &text)
{
    editor->setFocus();
    editor->selectAll();
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(editor, &typed);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
}

class Windows : public ::testing::TestWithParam<Edition> {
protected:
    QTemporaryDir AppDir;
    ScriptedDialogs Messages;
    TComToPX510 ComLink;
    std::unique_ptr<TForm3> Form3;
    std::unique_ptr<TForm8> Form8;
    int Shown = 0;

    void SetUp() override
    {
        ASSERT_TRUE(QDir(AppDir.path()).mkpath(QStringLiteral("file")));
        const QString file = AppDir.filePath(QStringLiteral("file/DataViewDB.mdb"));
        ASSERT_TRUE(QFile::copy(shippedDatabase(), file));
        QFile::setPermissions(file, QFile::permissions(file) | QFile::WriteOwner);
        Create();
    }

    void Create()
    {
        Form8.reset();
        Form3 = std::make_unique<TForm3>(ComLink, Messages, GetParam(), AppDir.path() + QLatin1Char('/'));
        Form3->ShowMeasurement = [this] { ++Shown; };
        Form8 = std::make_unique<TForm8>(*Form3, ComLink, Messages, GetParam());
    }

    TRecordView &view() { return Form3->MainQuery(); }

    // Saves a measurement with `seed` under `id` as the record dialog would.
    void save(const QString &id, int seed, const QString &work = QStringLiteral("轴"),
              const QString &op = QStringLiteral("李"))
    {
        makeMeasurement(ComLink, seed);
        Messages.YesNoAnswers = {true};
        ASSERT_NE(Form3->SaveMeasurementRecord({id, work, op, QStringLiteral("备注") + id}), -1);
    }

    // A row as another program might leave it: no measurement.
    void insertBare(const QString &id, double measured)
    {
        Form3->Data().Database().Run(
            QStringLiteral("insert into Data (ID, DateTime) values (:id, :t)"),
            {{QStringLiteral("id"), id}, {QStringLiteral("t"), DateTimeText::storageText(measured)}});
        view().Requery();
    }

    void selectRow(int row)
    {
        QTableView *grid = Form3->DBGrid1;
        grid->selectionModel()->setCurrentIndex(grid->model()->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    QString cell(int row, int column) { return Form3->DBGrid1->model()->index(row, column).data().toString(); }
};

INSTANTIATE_TEST_SUITE_P(BothEditions, Windows, ::testing::Values(Edition::Station, Edition::View),
                         [](const auto &info) { return info.param == Edition::Station ? "Station" : "View"; });

} // namespace

TEST_P(Windows, TheDataManagerStartsWithItsCaptionsColumnsAndToday)
{
    // The caption as it is; the status line names the database in use, the user's copy.
    EXPECT_EQ(Form3->windowTitle(), QStringLiteral("数据管理窗口"));
    const QString copy = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/px510/file/DataViewDB.mdb");
    EXPECT_EQ(Form3->Data().Database().FileName(), copy);
    EXPECT_EQ(Form3->StatusBar1->currentMessage(), QStringLiteral("数据库：") + QDir::toNativeSeparators(copy));
    EXPECT_EQ(Form3->size(), QSize(805, 536));
    QStringList headings;
    for (int c = 0; c < 5; ++c)
        headings << Form3->DBGrid1->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headings.join(QLatin1Char(',')), QStringLiteral("编号,工件名称,操作员,创建时间,修改日期"));
    EXPECT_EQ(Form3->ComboBox1->count(), 3);
    EXPECT_EQ(Form3->ComboBox1->currentText(), QStringLiteral("编号"));
    EXPECT_EQ(Form3->ComboBox1->itemText(2), QStringLiteral("操作者"));
    EXPECT_EQ(Form3->DateTimePicker1->date(), QDate::currentDate());
    EXPECT_EQ(Form3->DateTimePicker2->date(), QDate::currentDate());
    EXPECT_FALSE(Form3->CheckBox1->isChecked());
    EXPECT_TRUE(Form3->PreviewSession().RecordId.isEmpty());
    EXPECT_NE(&Form3->PreviewSession(), &ComLink);
    EXPECT_TRUE(Messages.Warnings.isEmpty());

    save(QStringLiteral("A1"), 1);
    const bool editable = Form3->DBGrid1->model()->flags(Form3->DBGrid1->model()->index(0, 0)) & Qt::ItemIsEditable;
    EXPECT_EQ(editable, GetParam() == Edition::View) << "only corviaview edits in the list";

    EXPECT_EQ(Form8->windowTitle(), QStringLiteral("数据基本信息"));
    EXPECT_EQ(Form8->size(), QSize(408, 304));
    EXPECT_TRUE(Form8->Button2->isDefault());
    EXPECT_EQ(Form8->Button1->toolTip(), QStringLiteral("自动生成编号"));
    QStringList order;
    for (QWidget *w = Form8->Edit1; order.size() < 7; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName() + QLatin1Char('|')
                    + (w == Form8->Edit1         ? "ID"
                           : w == Form8->Edit3   ? "work"
                           : w == Form8->Edit2   ? "operator"
                           : w == Form8->Memo1   ? "remark"
                           : w == Form8->Button1 ? "..."
                           : w == Form8->Button3 ? "cancel"
                           : w == Form8->Button2 ? "ok"
                                                 : "?");
    }
    EXPECT_EQ(order.join(QLatin1Char(' ')), QStringLiteral("|ID |work |operator |remark |... |cancel |ok"));
}

TEST_P(Windows, AMissingDatabaseIsReportedOnceAndCommandsSaySo)
{
    Form8.reset();
    const QString copy = Form3->Data().Database().FileName();
    Form3.reset();
    QFile::remove(copy);
    QFile::remove(AppDir.filePath(QStringLiteral("file/DataViewDB.mdb")));
    Create();
    ASSERT_EQ(Messages.Warnings.size(), 1);
    EXPECT_EQ(Form3->StatusBar1->currentMessage(), QStringLiteral("数据库未打开"));
    EXPECT_TRUE(Messages.Warnings[0].contains(QStringLiteral("file/DataViewDB.mdb")));
    EXPECT_FALSE(QFile::exists(AppDir.filePath(QStringLiteral("file/DataViewDB.mdb"))));

    makeMeasurement(ComLink, 1);
    Form8->Edit1->setText(QStringLiteral("A"));
    Form8->Edit2->setText(QStringLiteral("o"));
    Form8->Edit3->setText(QStringLiteral("w"));
    Form8->show();
    Form8->ConfirmRecord();
    EXPECT_EQ(Messages.Warnings.last(), QStringLiteral("数据库未打开。"));
    EXPECT_TRUE(Form8->isVisible());
    EXPECT_FALSE(Form8->OpenForSave()) << "the pre-fill fails, so the dialog is not shown";
    Form8->Button1->click();
    EXPECT_EQ(Messages.Warnings.last(), QStringLiteral("数据库未打开。"));
    EXPECT_EQ(Form8->Edit1->text(), QStringLiteral("A"));
}

TEST_P(Windows, ThePreviewFollowsTheCurrentRowAndIsEmptyForARowWithoutRecord)
{
    save(QStringLiteral("A1"), 1);
    save(QStringLiteral("A2"), 2);
    insertBare(QStringLiteral("bare"), at(2024, 1, 1));
    Form3->show();
    selectRow(1);
    EXPECT_EQ(Form3->DBEdit1->text(), QStringLiteral("A2"));
    EXPECT_EQ(Form3->DBMemo1->toPlainText(), QStringLiteral("备注A2"));
    EXPECT_EQ(Form3->Chart1->PointCount(), 3000);
    const TMeasurement &preview = Form3->PreviewSession();
    double m = 0;
    for (int i = 0; i < preview.SampleCount; ++i)
        m = std::max(m, std::fabs(preview.Profile[size_t(i)]));
    EXPECT_DOUBLE_EQ(Form3->Chart1->yAxis->range().upper, 2 * m);
    EXPECT_DOUBLE_EQ(Form3->Chart1->yAxis->range().lower, -2 * m);
    EXPECT_NEAR(Form3->Chart1->graph(0)->data()->at(2999)->key, 2999 * preview.SampleSpacing(), 1e-12);
    const double time = preview.MeasureTime;

    selectRow(2);
    EXPECT_EQ(Form3->DBEdit1->text(), QStringLiteral("bare"));
    EXPECT_EQ(Form3->Chart1->PointCount(), 0) << "no curve of the previous row";
    EXPECT_EQ(preview.MeasureTime, time);
    EXPECT_TRUE(Messages.Warnings.isEmpty());

    // A damaged record: its error is shown and the chart stays empty.
    selectRow(0);
    Form3->Data().Database().Run(QStringLiteral("update Data set data = x'0102' where ID = 'A2'"));
    selectRow(1);
    EXPECT_EQ(Form3->Chart1->PointCount(), 0);
    EXPECT_EQ(Messages.Warnings.size(), 1);
}

TEST_P(Windows, LoadingARecordShowsItClosesTheWindowAndSetsRecordIdInStationOnly)
{
    save(QStringLiteral("A1"), 1);
    save(QStringLiteral("A2"), 9);
    insertBare(QStringLiteral("bare"), at(2024, 1, 1));
    makeMeasurement(ComLink, 4);
    const double before = ComLink.MeasureTime;

    Form3->show();
    selectRow(2);
    Form3->Button2->click();
    EXPECT_TRUE(Form3->isVisible()) << "a row without record keeps the window open";
    EXPECT_EQ(ComLink.MeasureTime, before);
    EXPECT_EQ(Shown, 0);

    ComLink.ForgetRecord();
    selectRow(1);
    // A double click loads in the read-only list; the editable one edits the cell.
    QTableView *grid = Form3->DBGrid1;
    const QModelIndex cell = grid->model()->index(1, 1);
    const QPoint point = grid->visualRect(cell).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, point);
    if (GetParam() == Edition::View) {
        EXPECT_TRUE(Form3->isVisible());
        auto *editor = grid->viewport()->findChild<QLineEdit *>();
        ASSERT_TRUE(editor && editor->isVisible()) << "the cell is being edited";
        EXPECT_EQ(Shown, 0);
        QTest::keyClick(editor, Qt::Key_Escape);
        Form3->Button2->click();
    }
    EXPECT_FALSE(Form3->isVisible());
    EXPECT_EQ(Shown, 1);
    EXPECT_EQ(ComLink.MeasureTime, at(2024, 3, 5, 10, 20, 9));
    EXPECT_EQ(ComLink.RecordId, GetParam() == Edition::Station ? QStringLiteral("A2") : QString());
    EXPECT_EQ(ComLink.RecordAutoId, *Form3->Data().FindId(QStringLiteral("A2"))) << "both editions know the row";
}

TEST_P(Windows, ARecordWhoseDateCannotBeReadLoadsWithAWarning)
{
    makeMeasurement(ComLink, 1);
    QByteArray record;
    ComLink.SaveMeasurementStream(record);
    record[2] = 4;
    record.replace(3, 4, "heut");
    Form3->Data().Database().Run(QStringLiteral("insert into Data (ID, data) values ('U1', :d)"),
                                 {{QStringLiteral("d"), record}});
    view().Requery();
    Form3->show();
    Form3->Button2->click();
    EXPECT_FALSE(Form3->isVisible());
    EXPECT_EQ(Shown, 1);
    EXPECT_FALSE(ComLink.MeasureTimeKnown());
    ASSERT_EQ(Messages.Warnings.size(), 1);
    EXPECT_TRUE(Messages.Warnings[0].contains(QStringLiteral("“heut”无法识别"))) << Messages.Warnings[0].toStdString();
}

TEST_P(Windows, TheDateFilterTakesTheRangeWhenTicked)
{
    insertBare(QStringLiteral("d1"), at(2024, 5, 1, 0, 0, 0));
    insertBare(QStringLiteral("d2a"), at(2024, 5, 2, 0, 0, 0));
    insertBare(QStringLiteral("d2b"), at(2024, 5, 2, 23, 59, 59));
    insertBare(QStringLiteral("d3"), at(2024, 5, 3, 0, 0, 0));
    Form3->DateTimePicker1->setDate(QDate(2024, 5, 2));
    Form3->DateTimePicker2->setDate(QDate(2024, 5, 2));
    Form3->CheckBox1->click();
    ASSERT_EQ(view().Count(), 2);
    EXPECT_EQ(cell(0, 0), QStringLiteral("d2a"));
    EXPECT_EQ(cell(1, 0), QStringLiteral("d2b"));

    Form3->DateTimePicker2->setDate(QDate(2024, 5, 3));
    EXPECT_EQ(view().Count(), 2) << "a changed date waits for the box";
    Form3->CheckBox1->click();
    EXPECT_EQ(view().Count(), 4);
    Form3->CheckBox1->click();
    EXPECT_EQ(view().Count(), 3);
}

TEST_P(Windows, GoFindsTheFirstPrefixMatchInTheChosenColumn)
{
    save(QStringLiteral("XAB1"), 1, QStringLiteral("盖"), QStringLiteral("Zhao"));
    save(QStringLiteral("ABC1"), 2, QStringLiteral("轴"), QStringLiteral("Qian"));
    Form3->Edit1->setText(QStringLiteral("ab"));
    Form3->Button1->click();
    EXPECT_EQ(Form3->DBEdit1->text(), QStringLiteral("ABC1"));
    Form3->ComboBox1->setCurrentIndex(2);
    Form3->Edit1->setText(QStringLiteral("zH"));
    Form3->Button1->click();
    EXPECT_EQ(Form3->DBEdit1->text(), QStringLiteral("XAB1"));
    Form3->Edit1->setText(QStringLiteral("x' OR '1'='1"));
    Form3->Button1->click();
    EXPECT_EQ(Form3->DBEdit1->text(), QStringLiteral("XAB1")) << "no match: nothing moves";
    EXPECT_TRUE(Messages.Warnings.isEmpty() && Messages.Informations.isEmpty()) << "and nothing is said";
}

TEST_P(Windows, ClearAllAsksAndDeletesOnlyTheRowsOfTheView)
{
    insertBare(QStringLiteral("in1"), at(2024, 5, 2, 8, 0, 0));
    insertBare(QStringLiteral("in2"), at(2024, 5, 2, 9, 0, 0));
    insertBare(QStringLiteral("out"), at(2024, 5, 4, 9, 0, 0));
    Form3->DateTimePicker1->setDate(QDate(2024, 5, 2));
    Form3->DateTimePicker2->setDate(QDate(2024, 5, 2));
    Form3->CheckBox1->click();
    Messages.YesNoAnswers = {false};
    Form3->Button3->click();
    EXPECT_EQ(Messages.Questions.last(), QStringLiteral("此操作将删除所有数据记录，请确认！"));
    EXPECT_EQ(view().Count(), 2);
    Messages.YesNoAnswers = {true};
    Form3->Button3->click();
    EXPECT_EQ(view().Count(), 0);
    EXPECT_TRUE(Form3->DBEdit1->text().isEmpty());
    Form3->CheckBox1->click();
    ASSERT_EQ(view().Count(), 1);
    EXPECT_EQ(cell(0, 0), QStringLiteral("out"));
}

TEST_P(Windows, AnEditedIdThatExistsIsRefusedAndUndoneInStationOnly)
{
    save(QStringLiteral("A1"), 1, QStringLiteral("w1"));
    save(QStringLiteral("A2"), 2, QStringLiteral("w2"));
    Form3->show();
    selectRow(1);
    typeInto(Form3->DBEdit2, QStringLiteral("renamed"));
    typeInto(Form3->DBEdit1, QStringLiteral("A1"));
    if (GetParam() == Edition::Station) {
        EXPECT_EQ(Messages.Warnings, QStringList{QStringLiteral("该记录ID已经存在，请重新命名？")});
        EXPECT_FALSE(view().Editing());
        EXPECT_EQ(Form3->DBEdit1->text(), QStringLiteral("A2"));
        EXPECT_EQ(Form3->DBEdit2->text(), QStringLiteral("w2")) << "every pending change is undone";
        typeInto(Form3->DBEdit1, QStringLiteral("A2"));
        EXPECT_EQ(Messages.Warnings.size(), 2) << "re-typing the row's own ID is refused too";
        typeInto(Form3->DBEdit1, QStringLiteral("A3"));
        EXPECT_EQ(Messages.Warnings.size(), 2);
        EXPECT_TRUE(view().Editing());
    } else {
        EXPECT_TRUE(Messages.Warnings.isEmpty());
        EXPECT_TRUE(view().Editing());
        EXPECT_EQ(cell(1, 0), QStringLiteral("A1")) << "the list shows the pending edit";
    }
    Form3->DBNavigator1->button(TRecordNavigator::Post)->click();
    EXPECT_FALSE(view().Editing());
    QSqlQuery q = Form3->Data().Database().Run(QStringLiteral("select ID, WorkName from Data order by AutoID"));
    ASSERT_TRUE(q.next() && q.next());
    EXPECT_EQ(q.value(0).toString(), GetParam() == Edition::Station ? QStringLiteral("A3") : QStringLiteral("A1"));
    EXPECT_EQ(q.value(1).toString(), GetParam() == Edition::Station ? QStringLiteral("w2") : QStringLiteral("renamed"));
}

TEST_P(Windows, TheNavigatorMovesDeletesAfterAskingPostsAndCancels)
{
    for (int i = 0; i < 3; ++i)
        insertBare(QStringLiteral("R%1").arg(i), at(2024, 1, 1 + i));
    TRecordNavigator *nav = Form3->DBNavigator1;
    EXPECT_FALSE(nav->button(TRecordNavigator::First)->isEnabled());
    EXPECT_FALSE(nav->button(TRecordNavigator::Post)->isEnabled());
    nav->button(TRecordNavigator::Last)->click();
    EXPECT_EQ(Form3->DBEdit1->text(), QStringLiteral("R2"));
    EXPECT_FALSE(nav->button(TRecordNavigator::Next)->isEnabled());
    nav->button(TRecordNavigator::Prior)->click();
    EXPECT_EQ(Form3->DBGrid1->currentIndex().row(), 1);

    Messages.YesNoAnswers = {false};
    nav->button(TRecordNavigator::Delete)->click();
    EXPECT_EQ(Messages.Questions.last(), QStringLiteral("Delete record?"));
    EXPECT_EQ(view().Count(), 3);
    Messages.YesNoAnswers = {true};
    nav->button(TRecordNavigator::Delete)->click();
    EXPECT_EQ(view().Count(), 2);
    EXPECT_EQ(Form3->DBEdit1->text(), QStringLiteral("R2"));

    typeInto(Form3->DBEdit3, QStringLiteral("王五"));
    EXPECT_TRUE(nav->button(TRecordNavigator::Cancel)->isEnabled());
    nav->button(TRecordNavigator::Cancel)->click();
    EXPECT_TRUE(Form3->DBEdit3->text().isEmpty());
    // Typed but not yet handed over with Enter: the post button takes it.
    Form3->DBEdit3->setFocus();
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("赵六"));
    QApplication::sendEvent(Form3->DBEdit3, &typed);
    // An edit of the remark does not wipe the text typed into another editor.
    Form3->DBEdit2->setFocus();
    QKeyEvent work(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("缸体"));
    QApplication::sendEvent(Form3->DBEdit2, &work);
    Form3->DBMemo1->setPlainText(QStringLiteral("复检"));
    EXPECT_EQ(Form3->DBEdit2->text(), QStringLiteral("缸体"));
    nav->button(TRecordNavigator::Post)->click();
    EXPECT_EQ(view().Value(RecordField::Operator).toString(), QStringLiteral("赵六"));
    EXPECT_EQ(view().Value(RecordField::WorkName).toString(), QStringLiteral("缸体"));
    EXPECT_EQ(view().Value(RecordField::Remark).toString(), QStringLiteral("复检"));
    EXPECT_FALSE(view().Editing());
}

TEST_P(Windows, DateEditorsShowTheUsersFormAndRefuseWhatIsNoDate)
{
    insertBare(QStringLiteral("R"), at(2024, 7, 8, 9, 10, 11));
    const QString shown = DateTimeText::displayText(at(2024, 7, 8, 9, 10, 11));
    EXPECT_EQ(Form3->DBEdit4->text(), shown);
    EXPECT_EQ(cell(0, 3), shown);

    typeInto(Form3->DBEdit4, QStringLiteral("kein Datum"));
    EXPECT_EQ(Messages.Warnings.size(), 1);
    EXPECT_FALSE(view().Editing());
    EXPECT_EQ(Form3->DBEdit4->text(), shown);

    typeInto(Form3->DBEdit4, QLocale().toString(QDate(2023, 12, 31), QLocale::ShortFormat));
    view().Post();
    EXPECT_EQ(view().Row(0).DateTime.toString(), QStringLiteral("2023-12-31 00:00:00"));
    EXPECT_EQ(Form3->DBEdit4->text(), QLocale().toString(QDate(2023, 12, 31), QLocale::ShortFormat))
        << "the time is left out at midnight";
}

TEST_P(Windows, ConfirmChecksTheFieldsInOrderInStationOnly)
{
    makeMeasurement(ComLink, 1);
    struct Case {
        const char *id, *work, *op;
        const char16_t *message; // corviastation
    };
    const Case cases[] = {
        {"", "", "", u"ID号不能为空！"},
        {"", "w", "o", u"ID号不能为空！"},
        {"A", "", "", u"工件名称不能为空！"},
        {"A", "w", "", u"操作者不能为空！"},
    };
    Form8->show();
    for (const Case &c : cases) {
        Messages.Warnings.clear();
        Messages.Questions.clear();
        Messages.YesNoAnswers = {false};
        Form8->Edit1->setText(QString::fromUtf8(c.id));
        Form8->Edit3->setText(QString::fromUtf8(c.work));
        Form8->Edit2->setText(QString::fromUtf8(c.op));
        Form8->Button2->click();
        if (GetParam() == Edition::Station) {
            EXPECT_EQ(Messages.Warnings, QStringList{QString::fromUtf16(c.message)});
            EXPECT_TRUE(Messages.Questions.isEmpty());
        } else {
            EXPECT_TRUE(Messages.Warnings.isEmpty());
            EXPECT_EQ(Messages.Questions.size(), 1) << "corviaview saves empty fields as they are";
        }
        EXPECT_TRUE(Form8->isVisible());
    }
    Form8->Edit1->setText(QStringLiteral(" "));
    Form8->Edit3->setText(QStringLiteral(" "));
    Form8->Edit2->setText(QStringLiteral(" "));
    Messages.Warnings.clear();
    Messages.YesNoAnswers = {true};
    Form8->Button2->click();
    EXPECT_TRUE(Messages.Warnings.isEmpty()) << "blanks are content";
    EXPECT_FALSE(Form8->isVisible());
    EXPECT_EQ(view().Count(), 1);
}

TEST_P(Windows, DecliningTheQuestionKeepsTheDialogOpenAndUnchanged)
{
    makeMeasurement(ComLink, 1);
    Form8->show();
    Form8->Edit1->setText(QStringLiteral("A1"));
    Form8->Edit3->setText(QStringLiteral("轴"));
    Form8->Edit2->setText(QStringLiteral("张"));
    Form8->Memo1->setPlainText(QStringLiteral("说明"));
    Messages.YesNoAnswers = {false};
    Form8->Button2->click();
    EXPECT_TRUE(Form8->isVisible());
    EXPECT_EQ(Form8->Memo1->toPlainText(), QStringLiteral("说明"));
    EXPECT_EQ(view().Count(), 0);
    Messages.YesNoAnswers = {true};
    Form8->Button2->click();
    EXPECT_FALSE(Form8->isVisible());
    EXPECT_EQ(Form3->DBEdit1->text(), QStringLiteral("A1"));
    EXPECT_EQ(view().Value(RecordField::Remark).toString(), QStringLiteral("说明"));

    Form8->show();
    EXPECT_EQ(Form8->Edit1->text(), QStringLiteral("A1")) << "the fields persist between showings";
    Form8->Button1->click();
    EXPECT_EQ(Form8->Edit1->text(), QStringLiteral("A2"));
}

TEST_P(Windows, TheSaveActionPrefillsFromTheStoredRecord)
{
    Form8->Edit1->setText(QStringLiteral("old"));
    Form8->Edit3->setText(QStringLiteral("oldwork"));
    Form8->Edit2->setText(QStringLiteral("oldop"));
    makeMeasurement(ComLink, 1);
    Form8->PrefillFromDatabase();
    EXPECT_EQ(Form8->Edit1->text(), QStringLiteral("old")) << "an empty database keeps the fields";

    save(QStringLiteral("S1"), 30, QStringLiteral("座"), QStringLiteral("孙"));
    EXPECT_EQ(ComLink.RecordId, GetParam() == Edition::Station ? QStringLiteral("S1") : QString())
        << "the full edition remembers the record saved last";
    ComLink.ResetMeasurement(); // a new measurement from the tester: no RecordId, measured 25 s off
    makeMeasurement(ComLink, 5);
    Form8->PrefillFromDatabase();
    EXPECT_EQ(Form8->Edit1->text(), QStringLiteral("id"));
    EXPECT_EQ(Form8->Edit3->text(), QStringLiteral("oldwork")) << "no work name: the field stays";
    EXPECT_EQ(Form8->Edit2->text(), QStringLiteral("opertor"));

    if (GetParam() == Edition::Station)
        ComLink.RecordId = QStringLiteral("S1");
    else
        ComLink.MeasureTime = at(2024, 3, 5, 10, 20, 50); // 20 s after the stored row
    Form8->PrefillFromDatabase();
    EXPECT_EQ(Form8->Edit1->text(), QStringLiteral("S1"));
    EXPECT_EQ(Form8->Edit3->text(), QStringLiteral("座"));
    EXPECT_EQ(Form8->Edit2->text(), QStringLiteral("孙"));

    // A stored row with null texts.
    Form3->Data().Database().Run(QStringLiteral("update Data set WorkName = null, Operator = null"));
    Form8->Edit3->setText(QStringLiteral("kept"));
    Form8->PrefillFromDatabase();
    EXPECT_EQ(Form8->Edit1->text(), QStringLiteral("S1"));
    EXPECT_EQ(Form8->Edit3->text(), QStringLiteral("kept"));
    EXPECT_EQ(Form8->Edit2->text(), QStringLiteral("opertor"));
}

TEST_P(Windows, SavingOverARecordKeepsItsRemarkUnlessANewOneIsTyped)
{
    save(QStringLiteral("R1"), 1); // remark 备注R1
    save(QStringLiteral("R2"), 2); // remark 备注R2
    view().Last();
    ASSERT_TRUE(Form3->Data().LoadCurrentRecord(ComLink));
    ComLink.RecordId = QStringLiteral("R1");
    ComLink.MeasureTime = at(2024, 3, 5, 10, 20, 1);
    auto remarkOf = [this](const char *id) {
        QSqlQuery q = Form3->Data().Database().Run(QStringLiteral("select other from Data where ID = :id"),
                                                   {{QStringLiteral("id"), QString::fromLatin1(id)}});
        return q.next() ? q.value(0).toString() : QStringLiteral("(none)");
    };

    Form8->Memo1->setPlainText(QStringLiteral("left from before"));
    Form8->PrefillFromDatabase();
    EXPECT_EQ(Form8->Memo1->toPlainText(), QStringLiteral("备注R1")) << "the stored remark is shown";
    // Saved over another record without typing: that record keeps its own remark.
    Form8->Edit1->setText(QStringLiteral("R2"));
    Messages.YesNoAnswers = {true};
    Form8->ConfirmRecord();
    EXPECT_EQ(Messages.Questions.last(), QStringLiteral("该记录ID已经存在，请确认是否要修改？"));
    EXPECT_EQ(remarkOf("R2"), QStringLiteral("备注R2"));

    // A typed remark replaces it.
    Form8->PrefillFromDatabase();
    Form8->Memo1->moveCursor(QTextCursor::End);
    QTest::keyClicks(Form8->Memo1, QStringLiteral(" new"));
    Form8->Edit1->setText(QStringLiteral("R1"));
    Messages.YesNoAnswers = {true};
    Form8->ConfirmRecord();
    EXPECT_EQ(remarkOf("R1"), Form8->Memo1->toPlainText());
    EXPECT_TRUE(remarkOf("R1").endsWith(QStringLiteral(" new")));

    // A new record takes the box as it is.
    Form8->PrefillFromDatabase();
    Form8->Edit1->setText(QStringLiteral("R3"));
    Messages.YesNoAnswers = {true};
    Form8->ConfirmRecord();
    EXPECT_EQ(remarkOf("R3"), Form8->Memo1->toPlainText());
}

TEST_P(Windows, IdsCompareWithoutCaseOnSaveEditAndPrefill)
{
    save(QStringLiteral("A001"), 1, QStringLiteral("轴"), QStringLiteral("李"));
    const qint64 stored = *Form3->Data().FindId(QStringLiteral("A001"));
    ComLink.RecordId = QStringLiteral("a001");
    ComLink.MeasureTime = at(2024, 3, 5, 10, 20, 1);
    Form8->PrefillFromDatabase();
    EXPECT_EQ(Form8->Edit2->text(), QStringLiteral("李")) << "the pre-fill finds A001";

    Messages.YesNoAnswers = {true};
    EXPECT_EQ(Form3->SaveMeasurementRecord({QStringLiteral("a001"), QStringLiteral("轴"), QStringLiteral("王"), {}}),
              0);
    EXPECT_EQ(Messages.Questions.last(), QStringLiteral("该记录ID已经存在，请确认是否要修改？"));
    EXPECT_EQ(view().Count(), 1) << "no second record beside A001";
    EXPECT_EQ(ComLink.RecordAutoId, stored);

    save(QStringLiteral("B1"), 2);
    view().First();
    Messages.Warnings.clear();
    typeInto(Form3->DBEdit1, QStringLiteral("b1"));
    if (GetParam() == Edition::Station) {
        EXPECT_EQ(Messages.Warnings, QStringList{QStringLiteral("该记录ID已经存在，请重新命名？")});
        EXPECT_FALSE(view().Editing());
    } else {
        EXPECT_TRUE(Messages.Warnings.isEmpty());
    }
}

TEST_P(Windows, OnlyTheCurrentRowIsHighlighted)
{
    for (int i = 1; i <= 4; ++i)
        save(QStringLiteral("H%1").arg(i), i);
    Form3->show();
    QItemSelectionModel *selection = Form3->DBGrid1->selectionModel();
    // The list repaints the row it leaves only when the selection model says so.
    QSignalSpy told(selection, &QItemSelectionModel::selectionChanged);
    selectRow(2);
    Form3->DBNavigator1->button(TRecordNavigator::Prior)->click();
    Form3->DBNavigator1->button(TRecordNavigator::First)->click();
    EXPECT_EQ(told.size(), 3);
    ASSERT_EQ(selection->selectedRows().size(), 1);
    EXPECT_EQ(selection->selectedRows().first().row(), 0);
    const QList<QVariant> last = told.last();
    EXPECT_EQ(last.at(1).value<QItemSelection>().indexes().first().row(), 1) << "row 1 is told to lose its highlight";
}

TEST_P(Windows, AListThatCannotBeReadShowsEmptyRowsAndSaysSoOnce)
{
    for (int i = 1; i <= 300; ++i) // more than one page of rows
        insertBare(QStringLiteral("L%1").arg(i), at(2024, 1, 1));
    Form3->show();
    QAbstractItemModel *model = Form3->DBGrid1->model();
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("L1"));
    Form3->Data().Database().Close(); // the file went away under the list
    EXPECT_EQ(model->index(299, 0).data().toString(), QString());
    EXPECT_EQ(model->index(298, 1).data().toString(), QString());
    Form3->DBGrid1->scrollToBottom();
    Form3->DBGrid1->grab(); // painting reads the rows
    QCoreApplication::processEvents();
    ASSERT_EQ(Messages.Warnings.size(), 1);
    EXPECT_TRUE(Messages.Warnings[0].contains(QStringLiteral("数据库未打开"))) << Messages.Warnings[0].toStdString();
}

TEST_P(Windows, TheListShowsWholeDatesAndWidensWithTheWindow)
{
    insertBare(QStringLiteral("W1"), at(2024, 12, 28, 23, 59, 59));
    Form3->show();
    QTableView *grid = Form3->DBGrid1;
    const QFontMetrics metrics = grid->fontMetrics();
    for (int column : {3, 4}) {
        const QString shown = grid->model()->index(0, 3).data().toString();
        EXPECT_GE(grid->columnWidth(column), metrics.horizontalAdvance(shown)) << column;
    }
    const int narrow = grid->width();
    Form3->resize(1600, 1000);
    QCoreApplication::processEvents();
    EXPECT_GT(grid->width(), narrow + 300);
}

// The corviastation list is read-only (checked with the captions).
class CorviaviewWindows : public Windows {};
INSTANTIATE_TEST_SUITE_P(View, CorviaviewWindows, ::testing::Values(Edition::View));

TEST_P(CorviaviewWindows, TheListIsEditableInPlace)
{
    save(QStringLiteral("E1"), 1);
    save(QStringLiteral("E2"), 2);
    QAbstractItemModel *model = Form3->DBGrid1->model();
    ASSERT_TRUE(model->setData(model->index(1, 0), QStringLiteral("E1")));
    EXPECT_EQ(view().RecordNo(), 1);
    EXPECT_EQ(Form3->DBEdit1->text(), QStringLiteral("E1"));
    selectRow(0); // moving posts
    EXPECT_FALSE(view().Editing());
    QSqlQuery q = Form3->Data().Database().Run(QStringLiteral("select count(*) from Data where ID = 'E1'"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 2) << "corviaview does not check edited IDs";
}
