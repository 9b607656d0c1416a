#include "common/TextCodec.h"
#include "measurement/Measurement.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<QString> captions(const Tparameters &set)
{
    std::vector<QString> out;
    for (int i = 0; i < set.ParamCount; ++i)
        out.push_back(set.ParamSlots[static_cast<size_t>(i)]->ParamCaption);
    for (int i = set.ParamCount; i < Tparameters::SlotCount; ++i)
        EXPECT_EQ(set.ParamSlots[static_cast<size_t>(i)], nullptr);
    return out;
}

std::vector<QString> names(const Tparameters &set)
{
    std::vector<QString> out;
    for (int i = 0; i < set.ParamCount; ++i)
        out.push_back(set.ParamSlots[static_cast<size_t>(i)]->ParamName);
    return out;
}

void setInstrumentValues(TMeasurement &s)
{
    double v = 1;
    for (Tparameter *p : s.InstrumentParams.InReportOrder())
        p->ParamValue = v++; // Ra=1, Rq=2, Rz=3, R3z=4, Ryi=5, Ryd=6, Rt=7, Rp=8, Rv=9, S=10, Sm=11, Sk=12
}

} // namespace

TEST(Parameters, KindsCarryTheirDefaults)
{
    TRyd ryd;
    EXPECT_EQ(ryd.ParamName, "Ryt");
    EXPECT_EQ(ryd.ParamCaption, "");
    TSk sk;
    EXPECT_EQ(sk.ParamCaption, "RSk");
    EXPECT_EQ(sk.ParamUnit, "");
    TSm sm;
    EXPECT_EQ(sm.ParamUnit, "mm");
    EXPECT_EQ(sm.ParamValue, 0);
    TRa ra;
    EXPECT_EQ(ra.ParamUnit, QString::fromUtf8("\u03bcm"));
    EXPECT_EQ(TextCodec::toGb2312(ra.ParamUnit), QByteArray("\xA6\xCCm"));
}

TEST(Parameters, CopyKeepsTheDestinationCaption)
{
    TRyi source;
    source.ParamValue = 3.25;
    source.ParamUnit = QStringLiteral("μin");
    TRyi destination;
    destination.ParamCaption = QStringLiteral("Rz");
    tparameter_copy(destination, source);
    EXPECT_EQ(destination.ParamName, "Ryi");
    EXPECT_EQ(destination.ParamCaption, "Rz");
    EXPECT_EQ(destination.ParamValue, 3.25);
    EXPECT_EQ(destination.ParamUnit, "μin");
    destination.Evaluate(nullptr, {});
    EXPECT_EQ(destination.ParamValue, 3.25);
}

TEST(Parameters, SetsHaveTheirSlotsAndCaptions)
{
    TMeasurement s;
    using V = std::vector<QString>;
    EXPECT_EQ(captions(s.InstrumentParams),
              (V{"Ra", "R3z", "Rv", "Rp", "Rt", "Ryi", "", "Rz", "RS", "RSk", "RSm", "Rq"}));
    EXPECT_EQ(captions(s.IsoParams), (V{"Ra", "Rq", "Rz", "Rt", "Rp", "Rv", "RS", "RSm", "RSk"}));
    EXPECT_EQ(captions(s.DinParams), (V{"Ra", "Rq", "Rz", "Ry", "Rmax", "RS", "Sm"}));
    EXPECT_EQ(captions(s.JisParams), (V{"Ra", "Rq", "Rz", "R3z", "Ry", "Rt", "Rp", "RS", "RSm"}));
    EXPECT_EQ(captions(s.AnsiParams), (V{"Ra", "Rq", "Rz", "Rmax", "Rt", "RS", "RSm"}));
}

TEST(Parameters, DistributeCopiesFromTheTabledInstrumentParameters)
{
    TMeasurement s;
    setInstrumentValues(s);
    s.DistributeParameters();
    auto values = [](const Tparameters &set) {
        std::vector<double> out;
        for (int i = 0; i < set.ParamCount; ++i)
            out.push_back(set.ParamSlots[static_cast<size_t>(i)]->ParamValue);
        return out;
    };
    using D = std::vector<double>;
    EXPECT_EQ(values(s.IsoParams), (D{1, 2, 5, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(values(s.DinParams), (D{1, 2, 5, 7, 7, 10, 11})) << "Ryi under Rz, Rt twice";
    EXPECT_EQ(values(s.JisParams), (D{1, 2, 3, 4, 5, 7, 8, 10, 11}));
    EXPECT_EQ(values(s.AnsiParams), (D{1, 2, 5, 7, 7, 10, 11}));
    EXPECT_EQ(names(s.DinParams), (std::vector<QString>{"Ra", "Rq", "Ryi", "Rt", "Rt", "S", "Sm"}));
}

TEST(Parameters, IsoListingBytes)
{
    TMeasurement s;
    s.InstrumentParams.Ra.ParamValue = 0.8;
    s.DistributeParameters();
    QString text;
    ParametersToText(s.IsoParams, 6, text);
    QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3); // two lines, then what follows the last CR LF
    EXPECT_EQ(lines[2], "");
    QByteArray first = TextCodec::toGb2312(lines[0]);
    QByteArray ra = QByteArray(18, ' ') + "Ra =   0.800" + "\xA6\xCCm" + QByteArray(5, ' ');
    EXPECT_EQ(first.left(ra.size()), ra);
    EXPECT_EQ(first.size(), 6 * 38);
    EXPECT_TRUE(lines[1].contains("RS =") && lines[1].contains("RSm =") && lines[1].contains("RSk ="));
    EXPECT_EQ(TextCodec::toGb2312(lines[1]).size(), 3 * 38);
}

TEST(Parameters, InstrumentListingEndsWithAnEmptyLine)
{
    TMeasurement s;
    QString text;
    ParametersToText(s.InstrumentParams, 6, text);
    QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[2], "") << "twelve entries, six a line, then an empty third line";
    EXPECT_TRUE(lines[0].contains("   0.000"));
    // Ryd's empty caption is 20 blanks, never a placeholder.
    EXPECT_TRUE(lines[1].startsWith(QString(20, ' ') + " ="));
}

TEST(Parameters, ListingNeverReadsPastTheSlots)
{
    TMeasurement s;
    for (int perLine = 1; perLine <= 20; ++perLine) {
        QString text;
        ParametersToText(s.InstrumentParams, perLine, text);
        EXPECT_EQ(text.count(" ="), 12) << "per line " << perLine;
        EXPECT_EQ(text.count("\r\n"), 12 / perLine + 1);
    }
}
