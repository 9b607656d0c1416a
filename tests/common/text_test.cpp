#include "common/DateTimeText.h"
#include "common/NumberText.h"
#include "common/TextCodec.h"

#include <QLocale>

#include <gtest/gtest.h>

TEST(Text, Gb2312BothWays)
{
    QString text = QStringLiteral("ISO数据：μm");
    QByteArray gb = TextCodec::toGb2312(text);
    EXPECT_EQ(gb.size(), 3 + 2 + 2 + 2 + 2 + 1);
    EXPECT_EQ(TextCodec::fromGb2312(gb), text);
    EXPECT_EQ(TextCodec::fromGb2312(QByteArray("ab\0cd", 5)), "ab") << "fixed fields end at NUL";
    EXPECT_EQ(TextCodec::toGb2312(QString::fromUtf8("\u00b5")), "?") << "MICRO SIGN has no code";
}

TEST(Text, DaysRoundTripThroughEveryForm)
{
    const double days = 46000.75; // 2025-12-09 18:00:00
    EXPECT_EQ(DateTimeText::toDateTime(days), QDateTime(QDate(2025, 12, 9), QTime(18, 0)));
    EXPECT_EQ(DateTimeText::recordText(days), "2025-12-9 18:00:00");
    EXPECT_EQ(DateTimeText::recordText(46000.0), "2025-12-9") << "midnight leaves the time out";
    EXPECT_EQ(DateTimeText::storageText(days), "2025-12-09 18:00:00");
    EXPECT_DOUBLE_EQ(*DateTimeText::parseRecordText("2025-12-9 18:00:00"), days);
    EXPECT_DOUBLE_EQ(*DateTimeText::parseRecordText("2025/12/9 18:00"), days);
    EXPECT_DOUBLE_EQ(*DateTimeText::parseRecordText("2025-12-09"), 46000.0);
    EXPECT_DOUBLE_EQ(*DateTimeText::parseStorageText("2025-12-09 18:00:00"), days);
    for (const char *bad : {"", "yesterday", "2025-13-01", "2025-2-30 10:00:00", "2025-1-1 25:00"})
        EXPECT_FALSE(DateTimeText::parseRecordText(bad).has_value()) << bad;
    EXPECT_FALSE(DateTimeText::displayText(days).contains("UTC"));
    EXPECT_TRUE(DateTimeText::displayText(days).contains("18:00:00"));
}

TEST(Text, RecordDatesOfOtherRegionalSettingsRead)
{
    const QDateTime expected(QDate(2024, 1, 5), QTime(15, 5, 3));
    const QDateTime morning(QDate(2024, 1, 5), QTime(9, 5, 3));
    const struct {
        const char *text;
        QDateTime when;
    } cases[] = {
        {"2024/1/5 下午3:05:03", expected},
        {"2024/1/5 上午9:05:03", morning},
        {"2024-1-5 3:05:03 下午", expected},
        {"2024-01-05 15:05:03", expected},
        {"24-1-5 9:05:03", morning}, // two-digit year first
        {"24/1/5 15:05:03", expected},
        {"5.1.2024 15:05:03", expected}, // day first with dots
        {"05.01.24 15:05:03", expected},
        {"1/5/2024 3:05:03 PM", expected}, // AM/PM: month first
        {"1/5/2024 9:05:03 am", morning},
        {"13/1/2024 15:05:03", QDateTime(QDate(2024, 1, 13), QTime(15, 5, 3))}, // only a day can be 13
        {"1/13/2024 15:05:03", QDateTime(QDate(2024, 1, 13), QTime(15, 5, 3))},
        {"5/1/2024 15:05:03", expected}, // otherwise day first
        {"1/5/2024 12:00:00 AM", QDateTime(QDate(2024, 1, 5), QTime(0, 0))},
        {"1/5/2024 12:30:00 PM", QDateTime(QDate(2024, 1, 5), QTime(12, 30))},
        {"5.1.2024", QDateTime(QDate(2024, 1, 5), QTime(0, 0))},
        {"99-12-31 23:59:59", QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))}, // never a future year
    };
    for (const auto &c : cases) {
        const std::optional<double> days = DateTimeText::parseRecordText(QString::fromUtf8(c.text));
        ASSERT_TRUE(days.has_value()) << c.text;
        EXPECT_EQ(DateTimeText::toDateTime(*days), c.when) << c.text;
    }
    for (const char *bad : {"2024/1/5 下午15:05:03", "下午2024/1/5", "1/5/2024 下午3:05 PM", "2024-1-5 3:05:03 PM 下午",
                            "2024.1", "2024-1/5", "2024-100-5", "12024-1-5"})
        EXPECT_FALSE(DateTimeText::parseRecordText(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(Text, NumbersIgnoreTheLocale)
{
    EXPECT_DOUBLE_EQ(*NumberText::parseDouble(" 0.812"), 0.812);
    EXPECT_DOUBLE_EQ(*NumberText::parseDouble("-1,5"), -1.5);
    EXPECT_DOUBLE_EQ(*NumberText::parseDouble("1e-3"), 0.001);
    for (const char *bad : {"", "abc", "1e309", "nan", "1.2.3"})
        EXPECT_FALSE(NumberText::parseDouble(bad).has_value()) << bad;
    EXPECT_EQ(QString::asprintf("%8.3f", 0.8), "   0.800");
}

TEST(Text, GeneralNumberFormat)
{
    // The decimal separator follows the locale; compare with '.' put back.
    auto general = [](double v) { return NumberText::formatGeneral(v).replace(QLocale().decimalPoint(), "."); };
    EXPECT_EQ(general(0), "0");
    EXPECT_EQ(general(0.52), "0.52");
    EXPECT_EQ(general(-12.5), "-12.5");
    EXPECT_EQ(general(5e-5), "0.00005") << "fixed from 1E-5 up";
    EXPECT_EQ(general(1e-5), "0.00001");
    EXPECT_TRUE(general(1e-6).contains('e'));
    EXPECT_EQ(general(0.1 + 0.2), "0.3") << "at most 15 significant digits";
    EXPECT_EQ(general(123456789012345.0), "123456789012345");
    EXPECT_TRUE(general(1e15).contains('e'));
}
