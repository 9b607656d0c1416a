// The record store on a temporary copy of the shipped database: saving,
// loading, the list with its filter and search, and deleting.

#include "DatabaseFixture.h"
#include "ScriptedDialogs.h"

#include "common/Errors.h"

#include <QSqlRecord>

namespace {

RecordTexts texts(const QString &id, const QString &work = QStringLiteral("轴承座"),
                  const QString &op = QStringLiteral("张三"), const QString &remark = QStringLiteral("首检"))
{
    return {id, work, op, remark};
}

} // namespace

TEST(ShippedDatabase, HoldsTheEmptyTableWithEveryColumnInOrder)
{
    TDatabaseConnection db;
    db.Open(shippedDatabase());
    QSqlQuery info = db.Run(QStringLiteral("PRAGMA table_info(Data)"));
    QStringList columns;
    while (info.next())
        columns << info.value(1).toString() + QLatin1Char(' ') + info.value(2).toString();
    EXPECT_EQ(columns.join(QLatin1Char(',')),
              QStringLiteral("AutoID INTEGER,ID VARCHAR(50),WorkName VARCHAR(50),Operator VARCHAR(50),other TEXT,"
                             "DateTime DATETIME,EditDateTime DATETIME,Ra REAL,Rq REAL,Rz REAL,R3z REAL,Ryi REAL,"
                             "Ryd REAL,Rt REAL,Rp REAL,Rv REAL,RS REAL,RSm REAL,RSk REAL,unitsystem VARCHAR(10),"
                             "Cutoff VARCHAR(10),Access VARCHAR(10),Stander VARCHAR(10),Range VARCHAR(10),"
                             "Filter VARCHAR(10),RealRange VARCHAR(10),RealCutoff VARCHAR(10),data BLOB,"
                             "iunitsystem INTEGER,icutoff INTEGER,iaccess INTEGER,istander INTEGER,irange INTEGER,"
                             "ifilter INTEGER,irealrange INTEGER,irealcutoff INTEGER"));
    QSqlQuery count = db.Run(QStringLiteral("select count(*) from Data"));
    ASSERT_TRUE(count.next());
    EXPECT_EQ(count.value(0).toInt(), 0);
}

TEST_F(DatabaseTest, AddingAsksAndStoresOneRowOnlyOnYes)
{
    TMeasurement session;
    makeMeasurement(session, 1);
    ScriptedDialogs dialogs;
    dialogs.YesNoAnswers = {false};
    EXPECT_EQ(Manager.SaveMeasurementRecord(dialogs, session, texts(QStringLiteral("A001"))), -1);
    EXPECT_EQ(rowCount(), 0);
    EXPECT_EQ(dialogs.Questions, QStringList{QStringLiteral("将在数据库中添加新记录，请确认是否要添加？")});

    dialogs.YesNoAnswers = {true};
    EXPECT_EQ(Manager.SaveMeasurementRecord(dialogs, session, texts(QStringLiteral("A001"))), 1);
    EXPECT_EQ(rowCount(), 1);
    EXPECT_EQ(Manager.MainQuery().Count(), 1);
}

TEST_F(DatabaseTest, AMeasurementWhoseTimeIsUnknownIsStoredWithItsOwnDateText)
{
    TMeasurement session;
    makeMeasurement(session, 1);
    QByteArray record;
    session.SaveMeasurementStream(record);
    const QByteArray text = "15 Uhr am 5.";
    record[2] = char(text.size());
    record.replace(3, text.size(), text);
    session.LoadMeasurementStream(record);
    ASSERT_FALSE(session.MeasureTimeKnown());

    ScriptedDialogs dialogs;
    dialogs.YesNoAnswers = {true};
    EXPECT_EQ(Manager.SaveMeasurementRecord(dialogs, session, texts(QStringLiteral("T1"))), 1);
    EXPECT_EQ(dialogs.Questions, QStringList{QStringLiteral("将在数据库中添加新记录，请确认是否要添加？")})
        << "nothing else is asked";
    EXPECT_TRUE(scalar(QStringLiteral("select DateTime from Data")).isNull());
    EXPECT_EQ(scalar(QStringLiteral("select data from Data")).toByteArray().mid(3, text.size()), text);
    EXPECT_FALSE(Manager.LookupByMeasureTime(session.MeasureTime)) << "no row lies near an unknown time";
}

TEST_F(DatabaseTest, ModifyingOverwritesTheRowWithTheIdEvenWhenTheFilterHidesIt)
{
    TMeasurement first, second;
    makeMeasurement(first, 1);
    makeMeasurement(second, 7);
    ScriptedDialogs dialogs;
    dialogs.YesNoAnswers = {true, true};
    Manager.SaveMeasurementRecord(dialogs, first, texts(QStringLiteral("A001")));
    Manager.SaveMeasurementRecord(dialogs, first, texts(QStringLiteral("B001")));
    const qint64 autoId = scalar(QStringLiteral("select AutoID from Data where ID = 'A001'")).toLongLong();

    Manager.MainQuery().ShowDateRange(at(2030, 1, 1), at(2030, 1, 2)); // hides both rows
    ASSERT_EQ(Manager.MainQuery().Count(), 0);
    dialogs.YesNoAnswers = {false};
    EXPECT_EQ(Manager.SaveMeasurementRecord(dialogs, second, texts(QStringLiteral("A001"), QStringLiteral("新"))), -1);
    EXPECT_EQ(scalar(QStringLiteral("select WorkName from Data where ID = 'A001'")).toString(),
              QStringLiteral("轴承座"));

    dialogs.YesNoAnswers = {true};
    EXPECT_EQ(Manager.SaveMeasurementRecord(dialogs, second, texts(QStringLiteral("A001"), QStringLiteral("新"))), 0);
    EXPECT_EQ(dialogs.Questions.last(), QStringLiteral("该记录ID已经存在，请确认是否要修改？"));
    EXPECT_EQ(rowCount(), 2);
    EXPECT_EQ(scalar(QStringLiteral("select AutoID from Data where WorkName = '新'")).toLongLong(), autoId);
    EXPECT_DOUBLE_EQ(scalar(QStringLiteral("select Ra from Data where ID = 'A001'")).toDouble(),
                     second.InstrumentParams.Ra.ParamValue);
    EXPECT_TRUE(Manager.MainQuery().Filtered()) << "the view is run again with its own statement";
}

TEST_F(DatabaseTest, ARowCarriesTheResultsLabelsCodesAndTheExactRecord)
{
    TMeasurement session;
    makeMeasurement(session, 3, 1);
    session.Conditions.Range = 3;
    session.Conditions.FilterCode = 1;
    session.Conditions.Standard = 2;
    ScriptedDialogs dialogs;
    dialogs.YesNoAnswers = {true};
    const double before = DateTimeText::now();
    Manager.SaveMeasurementRecord(dialogs, session, texts(QStringLiteral("A001")));

    QSqlQuery row = Manager.Database().Run(QStringLiteral("select * from Data"));
    ASSERT_TRUE(row.next());
    auto column = [&](const char *name) { return row.value(QString::fromLatin1(name)); };
    EXPECT_EQ(column("ID").toString(), QStringLiteral("A001"));
    EXPECT_EQ(column("WorkName").toString(), QStringLiteral("轴承座"));
    EXPECT_EQ(column("Operator").toString(), QStringLiteral("张三"));
    EXPECT_EQ(column("other").toString(), QStringLiteral("首检"));
    EXPECT_EQ(column("DateTime").toString(), QStringLiteral("2024-03-05 10:20:03"));
    EXPECT_GE(column("EditDateTime").toString(), DateTimeText::storageText(before));
    const char *values[] = {"Ra", "Rq", "Rz", "R3z", "Ryi", "Ryd", "Rt", "Rp", "Rv", "RS", "RSm", "RSk"};
    auto parameters = session.InstrumentParams.InReportOrder();
    for (size_t i = 0; i < 12; ++i)
        EXPECT_DOUBLE_EQ(column(values[i]).toDouble(), parameters[i]->ParamValue) << values[i];
    EXPECT_EQ(column("unitsystem").toString(), QStringLiteral("英制"));
    EXPECT_EQ(column("Cutoff").toString(), QStringLiteral("0.03inch"));
    EXPECT_EQ(column("Access").toString(), QStringLiteral("5"));
    EXPECT_EQ(column("Stander").toString(), QStringLiteral("JIS"));
    EXPECT_EQ(column("Range").toString(), QStringLiteral("±3200uin"));
    EXPECT_EQ(column("Filter").toString(), QStringLiteral("PC-RC"));
    EXPECT_EQ(column("iunitsystem").toInt(), 1);
    EXPECT_EQ(column("icutoff").toInt(), 2);
    EXPECT_EQ(column("iaccess").toInt(), 4);
    EXPECT_EQ(column("istander").toInt(), 2);
    EXPECT_EQ(column("irange").toInt(), 3);
    EXPECT_EQ(column("ifilter").toInt(), 1);
    for (const char *never : {"RealRange", "RealCutoff", "irealrange", "irealcutoff"})
        EXPECT_TRUE(column(never).isNull()) << never;
    QByteArray record;
    session.SaveMeasurementStream(record);
    EXPECT_EQ(record.size(), 6561);
    EXPECT_EQ(column("data").toByteArray(), record);
}

TEST_F(DatabaseTest, AnUpdateLeavesTheNeverWrittenColumnsAsTheyWere)
{
    TMeasurement session;
    makeMeasurement(session, 1);
    ScriptedDialogs dialogs;
    dialogs.YesNoAnswers = {true, true};
    Manager.SaveMeasurementRecord(dialogs, session, texts(QStringLiteral("A001")));
    Manager.Database().Run(QStringLiteral("update Data set RealRange = 'r', irealcutoff = 9"));
    Manager.SaveMeasurementRecord(dialogs, session, texts(QStringLiteral("A001")));
    EXPECT_EQ(scalar(QStringLiteral("select RealRange from Data")).toString(), QStringLiteral("r"));
    EXPECT_EQ(scalar(QStringLiteral("select irealcutoff from Data")).toInt(), 9);
    EXPECT_TRUE(scalar(QStringLiteral("select RealCutoff from Data")).isNull());
}

TEST_F(DatabaseTest, ASavedRowLoadsBackTheSameMeasurement)
{
    for (uint8_t unitSystem : {0, 1}) {
        TMeasurement saved, loaded;
        makeMeasurement(saved, 5 + unitSystem, unitSystem);
        ScriptedDialogs dialogs;
        dialogs.YesNoAnswers = {true};
        Manager.SaveMeasurementRecord(dialogs, saved, texts(QStringLiteral("U%1").arg(unitSystem)));
        ASSERT_TRUE(Manager.MainQuery().Locate(RecordField::Id, QStringLiteral("U%1").arg(unitSystem)));
        ASSERT_TRUE(Manager.LoadCurrentRecord(loaded));

        EXPECT_TRUE(loaded.HasData);
        EXPECT_EQ(loaded.Conditions, saved.Conditions);
        EXPECT_EQ(loaded.UnitSystem, unitSystem);
        EXPECT_EQ(loaded.MeasureTime, saved.MeasureTime);
        EXPECT_EQ(loaded.InstrumentParams.Ra.ParamUnit, saved.InstrumentParams.Ra.ParamUnit);
        auto a = saved.InstrumentParams.InReportOrder(), b = loaded.InstrumentParams.InReportOrder();
        for (size_t i = 0; i < a.size(); ++i)
            EXPECT_EQ(b[i]->ParamValue, a[i]->ParamValue);
        EXPECT_EQ(loaded.IsoParams.Ra.ParamValue, saved.IsoParams.Ra.ParamValue);
        ASSERT_EQ(loaded.SampleCount, 3000);
        EXPECT_EQ(loaded.Profile, saved.Profile);
        EXPECT_EQ(loaded.RoughnessCount, saved.RoughnessCount);
        EXPECT_EQ(loaded.RoughnessProfile, saved.RoughnessProfile);
    }
}

TEST_F(DatabaseTest, ARowWithoutRecordIsNeitherLoadedNorPreviewed)
{
    insertRow(QStringLiteral("bare"), at(2024, 1, 1));
    Manager.MainQuery().Requery();
    TMeasurement session;
    makeMeasurement(session, 2);
    const auto profile = session.Profile;
    EXPECT_FALSE(Manager.LoadCurrentRecord(session));
    EXPECT_EQ(session.Profile, profile);
    EXPECT_EQ(session.MeasureTime, at(2024, 3, 5, 10, 20, 2));
    EXPECT_FALSE(Manager.PreviewRecord());
    EXPECT_FALSE(Manager.PreviewSession().HasData);
}

TEST_F(DatabaseTest, ADamagedRecordIsRefusedAndTheSessionKeepsItsMeasurement)
{
    insertRow(QStringLiteral("bad"), at(2024, 1, 1));
    Manager.Database().Run(QStringLiteral("update Data set data = :d"), {{QStringLiteral("d"), QByteArray(100, '\1')}});
    Manager.MainQuery().Requery();
    TMeasurement session;
    makeMeasurement(session, 2);
    const auto profile = session.Profile;
    EXPECT_THROW(Manager.LoadCurrentRecord(session), RecordError);
    EXPECT_EQ(session.Profile, profile);
}

TEST_F(DatabaseTest, AfterASaveTheFirstRowIsCurrent)
{
    for (int i = 0; i < 5; ++i)
        insertRow(QStringLiteral("R%1").arg(i), at(2024, 1, 1));
    TRecordView &view = Manager.MainQuery();
    view.Requery();
    view.Last();
    ASSERT_EQ(view.RecordNo(), 4);
    TMeasurement session;
    makeMeasurement(session, 1);
    ScriptedDialogs dialogs;
    dialogs.YesNoAnswers = {true, true};
    Manager.SaveMeasurementRecord(dialogs, session, texts(QStringLiteral("R3"))); // modify
    EXPECT_EQ(view.RecordNo(), 0);
    view.Last();
    Manager.SaveMeasurementRecord(dialogs, session, texts(QStringLiteral("NEW"))); // add
    EXPECT_EQ(view.RecordNo(), 0);
    EXPECT_EQ(view.Count(), 6);
}

TEST_F(DatabaseTest, TooLongTextsAreRefusedBeforeAnythingIsAsked)
{
    TMeasurement session;
    makeMeasurement(session, 1);
    const QString fifty(50, QChar(u'号'));
    const RecordTexts cases[] = {texts(fifty + QLatin1Char('1')), texts(QStringLiteral("A"), fifty + QLatin1Char('x')),
                                 texts(QStringLiteral("A"), QStringLiteral("w"), fifty + QLatin1Char('x'))};
    for (const RecordTexts &t : cases) {
        ScriptedDialogs dialogs;
        dialogs.YesNoAnswers = {true};
        EXPECT_THROW(Manager.SaveMeasurementRecord(dialogs, session, t), DatabaseError);
        EXPECT_TRUE(dialogs.Questions.isEmpty());
    }
    EXPECT_EQ(rowCount(), 0);
    ScriptedDialogs dialogs;
    dialogs.YesNoAnswers = {true};
    EXPECT_EQ(Manager.SaveMeasurementRecord(dialogs, session, texts(fifty, fifty, fifty)), 1);
}

TEST_F(DatabaseTest, TheDateFilterOnOneDayCoversItsWholeDay)
{
    insertRow(QStringLiteral("before"), at(2024, 5, 1, 23, 59, 59));
    insertRow(QStringLiteral("first"), at(2024, 5, 2, 0, 0, 0));
    insertRow(QStringLiteral("noon"), at(2024, 5, 2, 12, 0, 0));
    insertRow(QStringLiteral("last"), at(2024, 5, 2, 23, 59, 59));
    insertRow(QStringLiteral("after"), at(2024, 5, 3, 0, 0, 0));
    TRecordView &view = Manager.MainQuery();
    view.ShowDateRange(at(2024, 5, 2, 0, 0, 0), at(2024, 5, 2, 23, 59, 59));
    QStringList ids;
    for (int i = 0; i < view.Count(); ++i)
        ids << view.Row(i).Id.toString();
    EXPECT_EQ(ids, (QStringList{QStringLiteral("first"), QStringLiteral("noon"), QStringLiteral("last")}));
    view.ShowAll();
    EXPECT_EQ(view.Count(), 5);
    EXPECT_FALSE(view.Filtered());
}

TEST_F(DatabaseTest, SearchFindsTheFirstPrefixMatchIgnoringCase)
{
    struct Case {
        RecordField field;
        QString text;
        QString found; // empty: nothing found, the current row stays
    };
    insertRow(QStringLiteral("XAB1"), at(2024, 1, 1), QStringLiteral("Gear"), QStringLiteral("li"));
    insertRow(QStringLiteral("ABC1"), at(2024, 1, 1), QStringLiteral("gearbox"), QStringLiteral("Wang"));
    insertRow(QStringLiteral("abd2"), at(2024, 1, 1), QStringLiteral("轴承"), QStringLiteral("50%_off"));
    insertRow(QStringLiteral("x' OR '1'='1"), at(2024, 1, 1));
    const Case cases[] = {
        {RecordField::Id, QStringLiteral("ab"), QStringLiteral("ABC1")},
        {RecordField::Id, QStringLiteral("AB1"), {}},
        {RecordField::Id, QStringLiteral("abd"), QStringLiteral("abd2")},
        {RecordField::WorkName, QStringLiteral("GEARB"), QStringLiteral("ABC1")},
        {RecordField::WorkName, QStringLiteral("轴"), QStringLiteral("abd2")},
        {RecordField::Operator, QStringLiteral("WA"), QStringLiteral("ABC1")},
        {RecordField::Operator, QStringLiteral("50%_"), QStringLiteral("abd2")},
        {RecordField::Operator, QStringLiteral("5%"), {}},
        {RecordField::Operator, QStringLiteral("_0"), {}},
        {RecordField::Id, QStringLiteral("x' OR '1'='1"), QStringLiteral("x' OR '1'='1")},
        {RecordField::Id, QStringLiteral("' OR '1'='1"), {}},
    };
    TRecordView &view = Manager.MainQuery();
    view.Requery();
    for (const Case &c : cases) {
        view.Last();
        const bool found = view.Locate(c.field, c.text);
        EXPECT_EQ(found, !c.found.isEmpty()) << c.text.toStdString();
        EXPECT_EQ(view.Value(RecordField::Id).toString(), c.found.isEmpty() ? QStringLiteral("x' OR '1'='1") : c.found)
            << c.text.toStdString();
    }
    EXPECT_EQ(rowCount(), 4);
}

TEST_F(DatabaseTest, SearchStaysInsideTheFilteredView)
{
    insertRow(QStringLiteral("AB1"), at(2024, 1, 1));
    insertRow(QStringLiteral("AB2"), at(2024, 2, 1));
    TRecordView &view = Manager.MainQuery();
    view.ShowDateRange(at(2024, 2, 1), at(2024, 2, 1, 23, 59, 59));
    EXPECT_TRUE(view.Locate(RecordField::Id, QStringLiteral("ab")));
    EXPECT_EQ(view.Value(RecordField::Id).toString(), QStringLiteral("AB2"));
}

TEST_F(DatabaseTest, ClearingAllUnderAFilterDeletesOnlyTheFilteredRows)
{
    insertRow(QStringLiteral("jan"), at(2024, 1, 10));
    insertRow(QStringLiteral("feb1"), at(2024, 2, 10));
    insertRow(QStringLiteral("feb2"), at(2024, 2, 11));
    insertRow(QStringLiteral("mar"), at(2024, 3, 10));
    TRecordView &view = Manager.MainQuery();
    view.ShowDateRange(at(2024, 2, 1), at(2024, 2, 28, 23, 59, 59));
    ASSERT_EQ(view.Count(), 2);
    view.DeleteAll();
    EXPECT_EQ(view.Count(), 0);
    EXPECT_FALSE(view.HasCurrent());
    EXPECT_EQ(rowCount(), 2);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from Data where ID like 'feb%'")).toInt(), 0);
    view.ShowAll();
    view.DeleteAll();
    EXPECT_EQ(rowCount(), 0);
}

TEST_F(DatabaseTest, EditsArePostedOnMoveStoredOnPostAndDiscardedOnCancel)
{
    insertRow(QStringLiteral("A"), at(2024, 1, 1), QStringLiteral("w"), QStringLiteral("o"));
    insertRow(QStringLiteral("B"), at(2024, 1, 2));
    TRecordView &view = Manager.MainQuery();
    view.Requery();

    view.SetValue(RecordField::WorkName, QStringLiteral("changed"));
    view.SetValue(RecordField::Remark, QStringLiteral("a remark"));
    EXPECT_TRUE(view.Editing());
    view.Cancel();
    EXPECT_EQ(view.Value(RecordField::WorkName).toString(), QStringLiteral("w"));
    EXPECT_TRUE(view.Value(RecordField::Remark).isNull());

    view.SetValue(RecordField::WorkName, QStringLiteral("posted"));
    view.SetValue(RecordField::DateTime, at(2023, 7, 8, 9, 10, 11));
    view.Post();
    EXPECT_EQ(scalar(QStringLiteral("select WorkName from Data where ID = 'A'")).toString(), QStringLiteral("posted"));
    EXPECT_EQ(scalar(QStringLiteral("select DateTime from Data where ID = 'A'")).toString(),
              QStringLiteral("2023-07-08 09:10:11"));

    view.SetValue(RecordField::Remark, QStringLiteral("on move"));
    view.Next();
    EXPECT_FALSE(view.Editing());
    EXPECT_EQ(scalar(QStringLiteral("select other from Data where ID = 'A'")).toString(), QStringLiteral("on move"));

    view.SetValue(RecordField::Id, QString(51, QLatin1Char('x')));
    EXPECT_THROW(view.Post(), DatabaseError);
    EXPECT_THROW(view.First(), DatabaseError);
    EXPECT_EQ(view.RecordNo(), 1) << "a refused post keeps the row and its edits";
    EXPECT_TRUE(view.Editing());
    view.Cancel();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from Data where ID = 'B'")).toInt(), 1);
}

TEST_F(DatabaseTest, DeletingTheCurrentRowKeepsThePlaceInTheList)
{
    for (int i = 0; i < 3; ++i)
        insertRow(QStringLiteral("R%1").arg(i), at(2024, 1, 1));
    TRecordView &view = Manager.MainQuery();
    view.Requery();
    view.Next();
    view.DeleteCurrent();
    EXPECT_EQ(view.Count(), 2);
    EXPECT_EQ(view.Value(RecordField::Id).toString(), QStringLiteral("R2"));
    view.DeleteCurrent();
    EXPECT_EQ(view.Value(RecordField::Id).toString(), QStringLiteral("R0"));
    view.DeleteCurrent();
    EXPECT_FALSE(view.HasCurrent());
    EXPECT_EQ(rowCount(), 0);
}

TEST_F(DatabaseTest, TheListReadsItsRowsPageByPage)
{
    {
        TDatabaseConnection::Transaction t(Manager.Database());
        for (int i = 0; i < 700; ++i)
            insertRow(QStringLiteral("P%1").arg(i), at(2024, 1, 1 + i % 28));
        t.Commit();
    }
    TRecordView &view = Manager.MainQuery();
    view.ShowDateRange(at(2024, 1, 1), at(2024, 1, 14, 23, 59, 59));
    ASSERT_EQ(view.Count(), 350);
    for (int index : {0, 255, 256, 349})
        EXPECT_EQ(view.Row(index).Id.toString(), QStringLiteral("P%1").arg(index / 14 * 28 + index % 14)) << index;
    // A row that another program deletes after the list ran shows as missing,
    // and its neighbours keep their places.
    view.Requery();
    Manager.Database().Run(QStringLiteral("delete from Data where ID = 'P29'"));
    EXPECT_TRUE(view.Row(15).Missing);
    EXPECT_EQ(view.Row(16).Id.toString(), QStringLiteral("P30"));
}
