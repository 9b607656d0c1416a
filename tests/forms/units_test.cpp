// A measurement on screen keeps its unit system, codes and unit texts while
// the tester is set to the other system: connecting, the stylus window and
// the settings dialog read or set the tester only. The next measurement from
// the tester then comes in the tester's system. Both directions, as the
// chart, the status bar, the message box and the report show them.

#include "../files/SampleMeasurement.h"
#include "../report/RecordingDevice.h"
#include "ScriptedDialogs.h"
#include "TestSupport.h"
#include "link/PickUpFm.h"
#include "link/ReplyFrame.h"
#include "link/ScriptedComm.h"
#include "report/ReportPage.h"
#include "ui/ParaConfigFm.h"
#include "ui/main.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

struct UnitCase {
    const char *Name;
    uint8_t Record; // unit system of the record loaded
    uint8_t Tester; // unit system the tester is set to
};

// What the screen and the report should say about the measurement shown.
struct Shown {
    uint8_t Unit;
    QString Cutoff, Range, Standard;
};

class UnitsOnScreen : public ::testing::TestWithParam<UnitCase> {
protected:
    void SetUp() override
    {
        Session.UseComm(Fake);
        Fake->Present = {1};
        // cutoff 0.25 mm, five lengths, ISO, ±20 μm, GAUSS, then the unit system
        Codes = bytes({1, 4, 0, 1, 2, GetParam().Tester});
        Fake->Responder = [this](int, const QByteArray &frame) { return Answer(frame); };
        Form1.Hooks.ShowStylusWindow = [this] { Form2.ShowStylusPosition(); };
        Form5.Hooks.UpdateStatusBar = [this] { Form1.UpdateStatusBar(); };
        Form5.Hooks.ShowMeasurement = [this] { Form1.ShowMeasurement(); };
        fillMeasurement(Maker); // ±80 μm, 0.8 mm, five lengths, GAUSS, DIN
    }

    // A tester that keeps what it is sent and answers every command.
    QByteArray Answer(const QByteArray &frame)
    {
        switch (frame[2]) {
        case 't': return ReplyFrame::Build('t', Codes);
        case 'l': return ReplyFrame::Build('l', bytes({1, 1}));
        case 'c': Codes.replace(0, 5, frame.mid(4, 5)); break;
        case 'u': Codes[5] = frame[4]; break;
        case 'k':
            if (frame[4] == 1)
                return ReplyFrame::Build('k', bytes({0x00, 0x04}));
            break;
        case 'p': {
            QByteArray text;
            for (int i = 0; i < 12; ++i)
                text += "R9x =" + QByteArray::number(1.262 + i).rightJustified(8, ' ');
            return ReplyFrame::Build('p', text);
        }
        case 'v': {
            const int k = uint8_t(frame[4]) | uint8_t(frame[5]) << 8;
            return ReplyFrame::Packet(
                k, QByteArray(reinterpret_cast<const char *>(Maker.RawData.data()) + (k - 1) * 200, 200));
        }
        }
        return ReplyFrame::Build('a');
    }

    void LoadRecord(uint8_t unit)
    {
        Maker.UnitSystem = unit;
        QByteArray record;
        Maker.SaveMeasurementStream(record);
        Session.LoadMeasurementStream(record);
        Form1.ShowMeasurement();
    }

    QStringList ReportTexts()
    {
        ReportPageInput input;
        input.StatusPanels = Form1.ReportStatusPanels();
        input.Session = &Session;
        RecordingDevice device(1188, 840);
        QPainter painter(&device);
        DrawReportPage(painter, device.width(), device.height(), input);
        painter.end();
        return device.Engine.TextList();
    }

    void ExpectShown(const Shown &shown)
    {
        const bool metric = shown.Unit == 0;
        const QString height = metric ? QStringLiteral("μm") : QStringLiteral("μin");
        const QString other = metric ? QStringLiteral("μin") : QStringLiteral("μm");
        const QString system = metric ? QStringLiteral("单位:公制") : QStringLiteral("单位:英制");
        EXPECT_EQ(Session.UnitSystem, shown.Unit);
        EXPECT_EQ(Form1.RoungnessChart1->yAxis->label(), height);
        EXPECT_EQ(Form1.RoungnessChart1->xAxis->label(), metric ? QStringLiteral("mm") : QStringLiteral("mil"));
        EXPECT_EQ(Form1.StatusPanelText(1), QStringLiteral("取样长度:") + shown.Cutoff);
        EXPECT_EQ(Form1.StatusPanelText(3), QStringLiteral("量程:") + shown.Range);
        EXPECT_EQ(Form1.StatusPanelText(5), QStringLiteral("标准:") + shown.Standard);
        EXPECT_EQ(Form1.StatusPanelText(6), system);

        const QString lastBlock = Form1.Memo1->toPlainText().section(QStringLiteral("数据："), -1);
        EXPECT_TRUE(lastBlock.contains(height)) << qPrintable(lastBlock);
        EXPECT_FALSE(lastBlock.contains(other)) << qPrintable(lastBlock);

        const QStringList report = ReportTexts();
        EXPECT_TRUE(report.contains(QStringLiteral("评定长度:5x") + shown.Cutoff)) << qPrintable(report.join('|'));
        EXPECT_TRUE(report.contains(system));
        const QStringList results = report.filter(QStringLiteral("Ra"));
        ASSERT_FALSE(results.isEmpty());
        EXPECT_TRUE(results.front().endsWith(height)) << qPrintable(results.front());
    }

    Shown RecordShown() const
    {
        const bool metric = GetParam().Record == 0;
        return {GetParam().Record, metric ? "0.8mm" : "0.03inch", metric ? "±80μm" : "±3200uin", "DIN"};
    }

    std::shared_ptr<ScriptedComm> Fake = std::make_shared<ScriptedComm>();
    QByteArray Codes;
    TComToPX510 Session, Maker;
    ScriptedDialogs Dialogs;
    TForm1 Form1{Session, Dialogs, Edition::Station};
    TForm2 Form2{Session, Dialogs};
    TForm5 Form5{Session, Dialogs};
};

TEST_P(UnitsOnScreen, ReadingTheTesterNeverRelabelsTheRecordShown)
{
    const UnitCase c = GetParam();
    LoadRecord(c.Record);
    const double rangeShown = Form1.RoungnessChart1->yAxis->range().upper;
    const double firstValue = Session.Profile[0];
    ASSERT_NO_FATAL_FAILURE(ExpectShown(RecordShown()));

    // Connect: ReadConditions and PushSettings.
    Form1.UpdateActions();
    Form1.StartConnect->trigger();
    ASSERT_EQ(Session.LinkState, LinkIdle);
    EXPECT_EQ(Session.Tester.UnitSystem, c.Tester);
    ExpectShown(RecordShown());

    // The stylus window reads the conditions again and scales for the tester.
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, &Form2, [&] {
        if (Form2.isVisible()) {
            closer.stop();
            Form2.close();
        }
    });
    closer.start();
    Form1.UpdateActions();
    Form1.PickUpPosition->trigger();
    EXPECT_EQ(Form2.Label2->text(), c.Tester == 0 ? QStringLiteral("量程:±20μm") : QStringLiteral("量程:±800uin"));
    Form1.UpdateStatusBar();
    ExpectShown(RecordShown());

    // The settings dialog shows and sets the tester; the record keeps its codes.
    Form5.show();
    EXPECT_EQ(Form5.rdunit->ItemIndex(), c.Tester);
    Form5.rdfilter->ClickItem(3);
    Form5.Button1->click();
    EXPECT_EQ(Dialogs.Informations.last(), QStringLiteral("配置成功！"));
    EXPECT_EQ(Session.Tester.Conditions.FilterCode, 3);
    EXPECT_EQ(Form1.StatusPanelText(4), QStringLiteral("滤波器:GAUSS"));
    ExpectShown(RecordShown());
    EXPECT_DOUBLE_EQ(Form1.RoungnessChart1->yAxis->range().upper, rangeShown);
    EXPECT_DOUBLE_EQ(Session.Profile[0], firstValue);

    // A measurement read from the tester comes in the tester's settings.
    Form1.UpdateActions();
    Form1.LoadData->trigger();
    ASSERT_TRUE(Session.HasData);
    const bool metric = c.Tester == 0;
    ExpectShown({c.Tester, metric ? "0.25mm" : "0.01inch", metric ? "±20μm" : "±800uin", "ISO"});
    EXPECT_EQ(Form1.StatusPanelText(4), QStringLiteral("滤波器:D-P"));
    EXPECT_DOUBLE_EQ(Form1.RoungnessChart1->yAxis->range().upper, metric ? 20 : 800);
    EXPECT_TRUE(Dialogs.Warnings.isEmpty()) << qPrintable(Dialogs.Warnings.join('\n'));
}

TEST_P(UnitsOnScreen, SwitchingTheUnitSystemInTheDialogConvertsTheRecordShown)
{
    const UnitCase c = GetParam();
    LoadRecord(c.Record);
    const double ra = Session.InstrumentParams.Ra.ParamValue;
    Form1.UpdateActions();
    Form1.StartConnect->trigger();
    ASSERT_EQ(Session.LinkState, LinkIdle);
    // To the record's system first: the tester switches, the record is in it.
    Form5.show();
    Form5.rdunit->ClickItem(c.Record);
    Form5.Button1->click();
    EXPECT_DOUBLE_EQ(Session.InstrumentParams.Ra.ParamValue, ra);
    ExpectShown(RecordShown());
    // Then to the other one: the record is converted with the tester.
    Form5.show();
    Form5.rdunit->ClickItem(c.Tester);
    Form5.Button1->click();
    EXPECT_EQ(Dialogs.Informations, (QStringList{"配置成功！", "配置成功！"}));
    EXPECT_DOUBLE_EQ(Session.InstrumentParams.Ra.ParamValue, c.Tester == 1 ? ra * 40 : ra * 0.025);
    const bool metric = c.Tester == 0;
    ExpectShown({c.Tester, metric ? "0.8mm" : "0.03inch", metric ? "±80μm" : "±3200uin", "DIN"});
}

INSTANTIATE_TEST_SUITE_P(Directions, UnitsOnScreen,
                         ::testing::Values(UnitCase{"MetricRecordImperialTester", 0, 1},
                                           UnitCase{"ImperialRecordMetricTester", 1, 0}),
                         [](const auto &info) { return std::string(info.param.Name); });

} // namespace
