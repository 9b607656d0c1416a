#include "common/DateTimeText.h"
#include "common/TextCodec.h"
#include "measurement/Measurement.h"

#include <gtest/gtest.h>

namespace {

using Label = void (TMeasurement::*)(QString &) const;

struct LabelCase {
    const char *name;
    Label label;
    uint8_t TConditions::*field; // null: the label follows UnitSystem
    std::vector<const char *> metric;
    std::vector<const char *> imperial;
};

QString call(TMeasurement &s, Label label)
{
    QString text = QStringLiteral("unchanged");
    (s.*label)(text);
    return text;
}

} // namespace

TEST(Labels, EveryCodeHasItsTextInBothUnitSystems)
{
    const std::vector<LabelCase> table = {
        {"SampleLengthsText",
         &TMeasurement::SampleLengthsText,
         &TConditions::SampleLengths,
         {"1", "2", "3", "4", "5"},
         {"1", "2", "3", "4", "5"}},
        {"CutoffText",
         &TMeasurement::CutoffText,
         &TConditions::Cutoff,
         {"自动", "0.25mm", "0.8mm", "2.5mm"},
         {"自动", "0.01inch", "0.03inch", "0.1inch"}},
        {"RangeText",
         &TMeasurement::RangeText,
         &TConditions::Range,
         {"自动", "±20μm", "±40μm", "±80μm"},
         {"自动", "±800uin", "±1600uin", "±3200uin"}},
        {"FilterText",
         &TMeasurement::FilterText,
         &TConditions::FilterCode,
         {"R-C", "PC-RC", "GAUSS", "D-P"},
         {"R-C", "PC-RC", "GAUSS", "D-P"}},
        {"StandardText",
         &TMeasurement::StandardText,
         &TConditions::Standard,
         {"ISO", "DIN", "JIS", "ANSI"},
         {"ISO", "DIN", "JIS", "ANSI"}},
    };
    for (const LabelCase &c : table) {
        for (uint8_t unit : {0, 1}) {
            const auto &expected = unit == 0 ? c.metric : c.imperial;
            TMeasurement s;
            s.UnitSystem = unit;
            s.ActualRange = 3;
            for (size_t code = 0; code < expected.size(); ++code) {
                s.Conditions.*c.field = static_cast<uint8_t>(code);
                EXPECT_EQ(call(s, c.label), QString::fromUtf8(expected[code])) << c.name << " " << code;
            }
            s.Conditions.*c.field = static_cast<uint8_t>(expected.size());
            EXPECT_EQ(call(s, c.label), "unchanged") << c.name << " outside its table";
        }
    }
}

TEST(Labels, UnitSystemLabels)
{
    TMeasurement s;
    EXPECT_EQ(call(s, &TMeasurement::UnitSystemText), "公制");
    EXPECT_EQ(call(s, &TMeasurement::LengthUnitText), "mm");
    EXPECT_EQ(call(s, &TMeasurement::HeightUnitText), "μm");
    s.UnitSystem = 1;
    EXPECT_EQ(call(s, &TMeasurement::UnitSystemText), "英制");
    EXPECT_EQ(call(s, &TMeasurement::LengthUnitText), "mil");
    EXPECT_EQ(call(s, &TMeasurement::HeightUnitText), "μin");
    s.UnitSystem = 2;
    for (Label l : {&TMeasurement::UnitSystemText, &TMeasurement::LengthUnitText, &TMeasurement::HeightUnitText,
                    &TMeasurement::CutoffText, &TMeasurement::RangeText})
        EXPECT_EQ(call(s, l), "unchanged");
}

TEST(Labels, ResultBlockHeadersHaveOneWidth)
{
    const char *headers[] = {"ISO数据：", "DIN数据：", "JIS数据：", "ANSI数据："};
    for (uint8_t standard = 0; standard < 4; ++standard) {
        TMeasurement s;
        s.MeasureTime = 46000.5;
        s.Conditions.Standard = standard;
        QString text;
        s.ResultsText(6, text);
        QString time = DateTimeText::displayText(s.MeasureTime);
        ASSERT_TRUE(text.startsWith(time)) << text.toStdString();
        QString header = text.mid(time.size(), text.indexOf("\r\n") - time.size());
        EXPECT_TRUE(header.endsWith(QString::fromUtf8(headers[standard])));
        EXPECT_EQ(header.size(), 29);
        EXPECT_EQ(TextCodec::gb2312Length(header), 32);
        EXPECT_EQ(header.count(' '), standard == 3 ? 22 : 23);
        EXPECT_TRUE(text.endsWith("\r\n\r\n"));
    }
}

TEST(Labels, ResultBlockOfAnUnknownStandardIsOneLineEnd)
{
    TMeasurement s;
    s.Conditions.Standard = 4;
    QString text = QStringLiteral("before");
    s.ResultsText(6, text);
    EXPECT_EQ(text, "before\r\n");
}
