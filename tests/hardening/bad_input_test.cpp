// Typed input that is not what a box expects, through the windows: every
// number box and axis dialog of the main window, the data manager's search
// box and date editor, and the record dialog. Each input gives one clear
// message and changes nothing, or a sane value; nothing is stored half.

#include "DatabaseFixture.h"
#include "UiTestSupport.h"

#include "common/Errors.h"
#include "common/NumberText.h"
#include "database/dbinformfm.h"
#include "database/dbmangagefm.h"
#include "ui/UpDownButtons.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QToolButton>

#include <cmath>

namespace {

struct Typed {
    const char *what;
    QString text;
};

// What an operator may type or paste into a number box.
const std::vector<Typed> &NumberInputs()
{
    static const std::vector<Typed> inputs = {
        {"letters", QStringLiteral("abc")},
        {"empty", QString()},
        {"blanks", QStringLiteral("   ")},
        {"beyond double", QStringLiteral("1e309")},
        {"negative zero", QStringLiteral("-0")},
        {"zero", QStringLiteral("0")},
        {"negative", QStringLiteral("-7.5")},
        {"huge", QStringLiteral("1e300")},
        {"tiny", QStringLiteral("1e-300")},
        {"decimal comma", QStringLiteral("2,5")},
        {"padded", QStringLiteral(" 12.5 ")},
        {"400 digits", QString(400, QLatin1Char('9'))},
        {"10 000 letters", QString(10000, QLatin1Char('x'))},
        {"Chinese", QStringLiteral("五点五")},
        {"number and unit", QStringLiteral("5μm")},
        {"not a number", QStringLiteral("nan")},
        {"infinity", QStringLiteral("inf")},
    };
    return inputs;
}

// A message the operator can read: one line of sensible length, not the
// pasted text itself.
void ExpectClearMessage(const QStringList &warnings)
{
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_FALSE(warnings[0].trimmed().isEmpty());
    EXPECT_LT(warnings[0].size(), 200) << "the message repeats the whole input";
}

std::optional<double> NumberOf(const QString &text)
{
    return NumberText::parseDouble(text);
}

// --- the main window --------------------------------------------------------

class MainWindowInput : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ShowWindow();
        Display();
    }
    // An axis click as the chart reports it; the window's guard shows any error.
    void ClickAxis(QCPAxis *axis)
    {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(), QPointF(), Qt::LeftButton, Qt::LeftButton, {});
        emit Form->RoungnessChart1->AxisClicked(axis, &press);
    }
};

TEST_P(MainWindowInput, LevelBoxGivesAMessageOrASaneRatio)
{
    Form->TPCurveExecute();
    double minimum = 0, maximum = 0;
    ComLink.GetProfileMinMax(minimum, maximum);
    const double span = std::fabs(maximum - minimum);
    for (const Typed &input : NumberInputs()) {
        SCOPED_TRACE(input.what);
        Form->Edit1->setText(QStringLiteral("5"));
        const QString ratio = Form->Edit2->text(), height = Form->Edit3->text();
        Dialogs.Warnings.clear();
        Form->Edit1->setText(input.text);
        if (!Dialogs.Warnings.isEmpty()) {
            ExpectClearMessage(Dialogs.Warnings);
            EXPECT_EQ(Form->Edit2->text(), ratio);
            EXPECT_EQ(Form->Edit3->text(), height);
            continue;
        }
        const std::optional<double> c = NumberOf(input.text);
        ASSERT_TRUE(c) << "a text that is no number was taken";
        const std::optional<double> r = NumberOf(Form->Edit2->text());
        ASSERT_TRUE(r);
        EXPECT_GE(*r, 0);
        EXPECT_LE(*r, 100);
        const std::optional<double> level = NumberOf(Form->Edit3->text());
        ASSERT_TRUE(level);
        EXPECT_NEAR(*level, span * *c / 100, 0.005 + std::fabs(*level) * 1e-12);
    }
}

TEST_P(MainWindowInput, StepBoxGivesAMessageOrKeepsTheLevelWithin0To100)
{
    Form->TPCurveExecute();
    for (const Typed &input : NumberInputs()) {
        SCOPED_TRACE(input.what);
        for (bool up : {true, false}) {
            Form->Edit1->setText(QStringLiteral("50.00"));
            Form->Edit5->setText(input.text);
            Dialogs.Warnings.clear();
            (up ? Form->UpDown1->UpButton : Form->UpDown1->DownButton)->click();
            (up ? Form->UpDown2->UpButton : Form->UpDown2->DownButton)->click();
            if (!NumberOf(input.text)) {
                EXPECT_EQ(Dialogs.Warnings.size(), 2) << "each click reports the step";
                EXPECT_EQ(Form->Edit1->text(), QStringLiteral("50.00"));
                EXPECT_EQ(Form->Edit5->text(), input.text);
                continue;
            }
            EXPECT_TRUE(Dialogs.Warnings.isEmpty());
            ASSERT_TRUE(NumberOf(Form->Edit5->text())) << Form->Edit5->text().left(40).toStdString();
            const std::optional<double> level = NumberOf(Form->Edit1->text());
            ASSERT_TRUE(level) << Form->Edit1->text().left(40).toStdString();
            if (*NumberOf(input.text) >= 0) {
                EXPECT_GE(*level, 0);
                EXPECT_LE(*level, 100);
            }
        }
    }
}

TEST_P(MainWindowInput, AxisDialogsGiveAMessageOrAUsableRange)
{
    TRoungnessChart *chart = Form->RoungnessChart1;
    for (const Typed &input : NumberInputs()) {
        SCOPED_TRACE(input.what);
        // The left axis: the answer is the maximum, its negative the minimum.
        chart->yAxis->setRange(-40, 40);
        Dialogs.Warnings.clear();
        Dialogs.LineAnswers = {input.text};
        ClickAxis(chart->yAxis);
        if (!Dialogs.Warnings.isEmpty()) {
            ExpectClearMessage(Dialogs.Warnings);
            EXPECT_EQ(chart->yAxis->range(), QCPRange(-40, 40)) << "the refused limit was half taken";
        } else {
            const double maximum = *NumberOf(input.text);
            EXPECT_EQ(chart->yAxis->range(), QCPRange(-maximum, maximum));
            EXPECT_LT(chart->yAxis->range().lower, chart->yAxis->range().upper);
        }

        // The bottom axis: the answer as the maximum, the minimum kept.
        chart->xAxis->setRange(0, 4);
        Dialogs.Warnings.clear();
        Dialogs.LineAnswers = {input.text, std::nullopt};
        ClickAxis(chart->xAxis);
        if (!Dialogs.Warnings.isEmpty()) {
            ExpectClearMessage(Dialogs.Warnings);
            EXPECT_EQ(chart->xAxis->range(), QCPRange(0, 4));
        } else {
            EXPECT_EQ(chart->xAxis->range(), QCPRange(0, *NumberOf(input.text)));
            EXPECT_LT(chart->xAxis->range().lower, chart->xAxis->range().upper);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Editions, MainWindowInput, ::testing::Values(Edition::Station, Edition::View),
                         [](const auto &info) { return std::string(EditionName(info.param)); });

// --- the data manager and the record dialog ---------------------------------

// Texts with the characters a query could mistake for its own.
const std::vector<Typed> &TextInputs()
{
    static const std::vector<Typed> inputs = {
        {"single quote", QStringLiteral("O'Neil")},
        {"double quote", QStringLiteral("\"A\"")},
        {"percent", QStringLiteral("50%")},
        {"underscore", QStringLiteral("a_b")},
        {"escape character", QStringLiteral("x!y")},
        {"statement", QStringLiteral("'; drop table Data; --")},
        {"Chinese", QStringLiteral("齿轮轴")},
        {"50 characters", QString(50, QChar(0x8F74))},
        {"10 000 characters", QString(10000, QLatin1Char('w'))},
    };
    return inputs;
}

class DatabaseInput : public ::testing::TestWithParam<Edition> {
protected:
    QTemporaryDir AppDir;
    ScriptedDialogs Messages;
    TComToPX510 ComLink;
    std::unique_ptr<TForm3> Form3;

    void SetUp() override
    {
        ASSERT_TRUE(QDir(AppDir.path()).mkpath(QStringLiteral("file")));
        const QString file = AppDir.filePath(QStringLiteral("file/DataViewDB.mdb"));
        ASSERT_TRUE(QFile::copy(shippedDatabase(), file));
        QFile::setPermissions(file, QFile::permissions(file) | QFile::WriteOwner);
        Form3 = std::make_unique<TForm3>(ComLink, Messages, GetParam(), AppDir.path() + QLatin1Char('/'));
        makeMeasurement(ComLink, 3);
    }

    void Save(const QString &id)
    {
        Messages.YesNoAnswers = {true};
        ASSERT_NE(Form3->SaveMeasurementRecord({id, QStringLiteral("轴"), QStringLiteral("李"), {}}), -1);
    }

    QVariant Scalar(const QString &statement)
    {
        QSqlQuery q = Form3->Data().Database().Run(statement);
        return q.next() ? q.value(0) : QVariant();
    }

    QString CurrentId() { return Form3->MainQuery().Value(RecordField::Id).toString(); }
};

TEST_P(DatabaseInput, SearchTakesEveryTextLiterally)
{
    // One row starts with each special text; "Z1" matches none of them.
    for (const Typed &input : TextInputs())
        Save(input.text.left(RecordMapping::TextColumnWidth - 1) + QLatin1Char('1'));
    Save(QStringLiteral("Z1"));
    Form3->ComboBox1->setCurrentIndex(0);
    auto startAtZ1 = [this] {
        ASSERT_TRUE(Form3->MainQuery().Locate(RecordField::Id, QStringLiteral("Z1")));
        ASSERT_EQ(CurrentId(), QStringLiteral("Z1"));
    };
    for (const Typed &input : TextInputs()) {
        SCOPED_TRACE(input.what);
        startAtZ1();
        Form3->Edit1->setText(input.text.left(RecordMapping::TextColumnWidth - 1));
        Messages.Warnings.clear();
        Form3->Button1->click();
        EXPECT_TRUE(Messages.Warnings.isEmpty());
        EXPECT_TRUE(CurrentId().startsWith(input.text.left(RecordMapping::TextColumnWidth - 1), Qt::CaseInsensitive))
            << CurrentId().left(60).toStdString();
    }
    // Texts no ID starts with: nothing found, nothing said.
    for (const QString &text : {QStringLiteral("%"), QStringLiteral("_"), QStringLiteral("!"), QStringLiteral("''"),
                                QString(10000, QLatin1Char('q'))}) {
        SCOPED_TRACE(text.left(20).toStdString());
        startAtZ1();
        Form3->Edit1->setText(text);
        Messages.Warnings.clear();
        Form3->Button1->click();
        EXPECT_TRUE(Messages.Warnings.isEmpty());
        EXPECT_EQ(CurrentId(), QStringLiteral("Z1"));
    }
}

TEST_P(DatabaseInput, RecordDialogStoresWhatItShowsOrNothing)
{
    TForm8 form8(*Form3, ComLink, Messages, GetParam());
    for (const Typed &input : TextInputs()) {
        SCOPED_TRACE(input.what);
        for (QLineEdit *field : {form8.Edit1, form8.Edit3, form8.Edit2}) {
            form8.Edit1->setText(QStringLiteral("id-")
                                 + QString::number(Scalar(QStringLiteral("select count(*) from Data")).toInt()));
            form8.Edit3->setText(QStringLiteral("轴"));
            form8.Edit2->setText(QStringLiteral("李"));
            form8.Memo1->setPlainText(input.text);
            field->setText(input.text); // a box holds at most its column's width
            const RecordTexts shown{form8.Edit1->text(), form8.Edit3->text(), form8.Edit2->text(),
                                    form8.Memo1->toPlainText()};
            const qint64 rows = Scalar(QStringLiteral("select count(*) from Data")).toLongLong();
            Messages.Warnings.clear();
            Messages.YesNoAnswers = {true};
            form8.ConfirmRecord();
            EXPECT_TRUE(Messages.Warnings.isEmpty()) << Messages.Warnings.join(' ').left(200).toStdString();
            ASSERT_EQ(Scalar(QStringLiteral("select count(*) from Data")).toLongLong(), rows + 1);
            QSqlQuery row = Form3->Data().Database().Run(
                QStringLiteral("select ID, WorkName, Operator, other, data from Data where AutoID = "
                               "(select max(AutoID) from Data)"));
            ASSERT_TRUE(row.next());
            EXPECT_EQ(row.value(0).toString(), shown.Id);
            EXPECT_EQ(row.value(1).toString(), shown.WorkName);
            EXPECT_EQ(row.value(2).toString(), shown.Operator);
            EXPECT_EQ(row.value(3).toString(), shown.Remark) << "the remark was stored in part";
            EXPECT_FALSE(row.value(4).isNull());
        }
    }
    // A text too long for its column that reaches the store anyway is refused whole.
    const qint64 rows = Scalar(QStringLiteral("select count(*) from Data")).toLongLong();
    Messages.Warnings.clear();
    Messages.YesNoAnswers = {true};
    EXPECT_THROW(Form3->SaveMeasurementRecord({QString(10000, QLatin1Char('i')), {}, {}, {}}), DatabaseError);
    EXPECT_EQ(Scalar(QStringLiteral("select count(*) from Data")).toLongLong(), rows);
}

TEST_P(DatabaseInput, DateEditorRefusesWhatIsNoDate)
{
    Save(QStringLiteral("D1"));
    Form3->MainQuery().First();
    const QVariant stored = Scalar(QStringLiteral("select DateTime from Data"));
    for (const Typed &input : NumberInputs()) {
        if (input.text.trimmed().isEmpty())
            continue; // an emptied date is a cleared date
        SCOPED_TRACE(input.what);
        Form3->DBEdit4->setText(input.text);
        Form3->DBEdit4->setModified(true);
        Messages.Warnings.clear();
        Form3->Button1->click(); // leaving the editor commits it
        ExpectClearMessage(Messages.Warnings);
        EXPECT_EQ(Scalar(QStringLiteral("select DateTime from Data")), stored);
    }
}

INSTANTIATE_TEST_SUITE_P(Editions, DatabaseInput, ::testing::Values(Edition::Station, Edition::View),
                         [](const auto &info) { return std::string(EditionName(info.param)); });

} // namespace
