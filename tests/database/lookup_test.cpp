// The look-ups: the ID proposal, the ID check and the rows a save pre-fills from.

#include "DatabaseFixture.h"

#include "database/NextId.h"

TEST(NextId, IncreasesTheTrailingNumberKeepingItsWidth)
{
    const std::pair<const char *, const char *> cases[] = {
        {"A001", "A002"}, {"A009", "A010"},
        {"id9", "id10"},  {"999", "1000"},
        {"A0", "A1"},     {"abc", "abc1"},
        {"", "1"},        {"件-7", "件-8"},
        {"X1Y", "X1Y1"},  {"n99999999999999999999", "n100000000000000000000"},
    };
    for (const auto &[id, next] : cases)
        EXPECT_EQ(NextId::After(QString::fromUtf8(id)), QString::fromUtf8(next)) << id;
}

TEST(NextId, TheHighestComparesTrailingNumbersByValue)
{
    const std::pair<QStringList, const char *> cases[] = {
        {{QStringLiteral("id9"), QStringLiteral("id10"), QStringLiteral("id2")}, "id10"},
        {{QStringLiteral("A010"), QStringLiteral("A9")}, "A010"},
        {{QStringLiteral("A5"), QStringLiteral("B1")}, "B1"},
        {{QStringLiteral("x"), QStringLiteral("x3")}, "x3"},
        {{QStringLiteral("n99999999999999999999"), QStringLiteral("n100000000000000000000")}, "n100000000000000000000"},
    };
    for (const auto &[ids, highest] : cases)
        EXPECT_EQ(NextId::Highest(ids), QString::fromUtf8(highest)) << ids.join(QLatin1Char(',')).toStdString();
}

TEST(NextId, ASuggestionSkipsIdsInUse)
{
    const QStringList ids{QStringLiteral("A10"), QStringLiteral("A010"), QStringLiteral("A11")};
    QStringList taken = ids;
    taken << QStringLiteral("A12") << QStringLiteral("A13");
    EXPECT_EQ(NextId::Suggest(ids, [&](const QString &id) { return taken.contains(id); }), QStringLiteral("A14"));
    EXPECT_EQ(NextId::Suggest({}, [](const QString &) { return false; }), QStringLiteral("id0"));
}

TEST_F(DatabaseTest, SuggestNextIdReadsTheStoredIds)
{
    EXPECT_EQ(Manager.SuggestNextId(), QStringLiteral("id0"));
    insertRow(QStringLiteral("id9"), at(2024, 1, 1));
    insertRow(QStringLiteral("id10"), at(2024, 1, 1));
    insertRow(QStringLiteral("id11"), at(2024, 1, 1));
    insertRow(QStringLiteral("id012"), at(2024, 1, 1)); // the same number as id12
    EXPECT_EQ(Manager.SuggestNextId(), QStringLiteral("id013"));
    Manager.MainQuery().ShowDateRange(at(2030, 1, 1), at(2030, 1, 1));
    EXPECT_EQ(Manager.SuggestNextId(), QStringLiteral("id013")) << "the whole table counts, not the view";
}

TEST_F(DatabaseTest, LookupsByIdAndByMeasurementTime)
{
    const double t = at(2024, 6, 1, 12, 0, 0);
    const double second = 1.0 / 86400;
    insertRow(QStringLiteral("early"), t - 21 * second, QStringLiteral("w0"), QStringLiteral("o0"));
    insertRow(QStringLiteral("edge"), t - 20 * second, QStringLiteral("w1"));
    insertRow(QStringLiteral("late"), t + 20 * second, QStringLiteral("w2"), QStringLiteral("o2"));

    auto byId = Manager.LookupById(QStringLiteral("late"));
    ASSERT_TRUE(byId);
    EXPECT_EQ(byId->WorkName, QStringLiteral("w2"));
    EXPECT_EQ(byId->Operator, QStringLiteral("o2"));
    ASSERT_TRUE(Manager.LookupById(QStringLiteral("LATE"))) << "IDs compare without case";
    EXPECT_EQ(Manager.LookupById(QStringLiteral("LATE"))->Id, QStringLiteral("late"));
    EXPECT_FALSE(Manager.LookupById(QString())) << "an empty RecordId finds no row";
    EXPECT_TRUE(Manager.IdExists(QStringLiteral("edge")));
    EXPECT_TRUE(Manager.IdExists(QStringLiteral("EdGe")));
    EXPECT_FALSE(Manager.IdExists(QStringLiteral("edg")));

    auto near = Manager.LookupByMeasureTime(t);
    ASSERT_TRUE(near);
    EXPECT_EQ(near->Id, QStringLiteral("edge")) << "20 seconds before is still inside";
    EXPECT_FALSE(near->Operator) << "a null column stays null";
    auto later = Manager.LookupByMeasureTime(t + 40 * second);
    ASSERT_TRUE(later);
    EXPECT_EQ(later->Id, QStringLiteral("late"));
    EXPECT_FALSE(Manager.LookupByMeasureTime(t + 41 * second));
}
