// The windows of a whole program against px510sim on a pseudo-terminal: the
// progress window through a measurement, an error the tester reports, and
// the stylus window.

#include "../link/SimProcess.h"
#include "ScriptedDialogs.h"
#include "link/HintFm.h"
#include "link/PickUpFm.h"
#include "link/QtSerialComm.h"
#include "ui/ProgramStart.h"
#include "ui/main.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>

namespace {

// What the progress window showed after one of its ticks.
struct Tick {
    int State;
    bool Visible;
    QString Text;
    int Bar;
};

class ProgramWithSimulator : public ::testing::Test {
protected:
    void Start(const QStringList &options)
    {
        Sim = std::make_unique<SimProcess>(options);
        ASSERT_TRUE(Sim->Ready()) << Sim->Output.constData();
        Program = std::make_unique<TProgram>(Edition::Station, &Dialogs);
        // Tests run beside no shipped database; the data manager's word on that
        // is not what these tests look at.
        Dialogs.Warnings.clear();
        Program->ComLink.UseComm(std::make_shared<QtSerialComm>(QStringList{Sim->Link}));
        TForm7 *progress = Program->Form7;
        progress->Timer1->setInterval(100); // the window's three seconds, shortened
        // Connected after the window's own handler, so it sees each tick's outcome.
        QObject::connect(progress->Timer1, &QTimer::timeout, progress, [this, progress] {
            Ticks.push_back({Program->ComLink.LinkState, progress->isVisible(), progress->HintLable->text(),
                             progress->ProgressBar1->value()});
        });
        Form1 = Program->Form1.get();
        Form1->show();
        Form1->UpdateActions();
        Form1->StartConnect->trigger();
        ASSERT_EQ(Program->ComLink.LinkState, LinkIdle) << Dialogs.Warnings.join("\n").toStdString();
        Form1->UpdateActions();
    }
    bool SawTick(int state, bool visible, const QString &text) const
    {
        return std::any_of(Ticks.begin(), Ticks.end(),
                           [&](const Tick &t) { return t.State == state && t.Visible == visible && t.Text == text; });
    }
    void TearDown() override
    {
        Program.reset();
        if (Sim)
            Sim->Stop();
    }

    ScriptedDialogs Dialogs;
    std::unique_ptr<SimProcess> Sim;
    std::unique_ptr<TProgram> Program;
    TForm1 *Form1 = nullptr;
    std::vector<Tick> Ticks;
};

TEST_F(ProgramWithSimulator, TheProgressWindowFollowsAWholeMeasurement)
{
    Start({"--measure-seconds", "1", "--turnaround", "20"});
    Form1->RunMeasure->trigger();
    ASSERT_EQ(Program->ComLink.LinkState, LinkMeasuring);

    ASSERT_TRUE(RunUntil([&] { return Form1->Memo1->toPlainText().contains("数据："); }, 30000));
    ASSERT_TRUE(RunUntil([&] { return !Ticks.empty() && Ticks.back().State == LinkDownloadComplete; }, 2000));
    EXPECT_TRUE(SawTick(LinkMeasuring, true, QStringLiteral("正在测量,请稍候......")));
    EXPECT_TRUE(SawTick(LinkDownloading, true, QStringLiteral("正在传输数据,请稍候......")));
    EXPECT_FALSE(Ticks.back().Visible);
    EXPECT_EQ(Ticks.back().Text, QStringLiteral("数据传输完毕!"));
    EXPECT_EQ(Ticks.back().Bar, 0);
    EXPECT_TRUE(Program->Form7->Timer1->isActive()); // it keeps watching
    EXPECT_TRUE(Program->ComLink.HasData);
    EXPECT_TRUE(Dialogs.Warnings.isEmpty()) << Dialogs.Warnings.join("\n").toStdString();
}

TEST_F(ProgramWithSimulator, AStalledMotorIsReportedAndTheLinkClosed)
{
    Start({"--error", "s:3"});
    Form1->RunMeasure->trigger();
    EXPECT_EQ(Program->ComLink.LinkState, LinkError);
    ASSERT_TRUE(RunUntil([&] { return Program->ComLink.LinkState == LinkDisconnected; }, 5000));
    EXPECT_EQ(Dialogs.Warnings, QStringList{QStringLiteral("PX510 出错：错误类型(电机走死!)")});
    EXPECT_FALSE(Program->Form7->isVisible());
    EXPECT_FALSE(Program->Form7->Timer1->isActive());
    Form1->UpdateActions();
    EXPECT_TRUE(Form1->StartConnect->isEnabled()); // the operator can connect again
}

TEST_F(ProgramWithSimulator, TheStylusWindowShowsThePositionWhileOpen)
{
    Start({});
    TForm2 *stylus = Program->Form2;
    std::optional<double> plotted;
    QString range;
    int stateWhileShown = -1;
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, stylus, [&] {
        if (!stylus->isVisible())
            return;
        watcher.stop();
        stateWhileShown = Program->ComLink.LinkState;
        stylus->Timer1Timer();
        plotted = stylus->PlottedValue();
        range = stylus->Label2->text();
        stylus->close();
    });
    watcher.start();
    Form1->PickUpPosition->trigger();
    EXPECT_EQ(stateWhileShown, LinkStylusMode);
    ASSERT_TRUE(plotted.has_value());
    // The simulated stylus stays well inside its range.
    EXPECT_LE(std::abs(*plotted), 0.4 * Program->ComLink.RangeLimit() * 1000);
    QString rangeText;
    Program->ComLink.RangeText(rangeText);
    EXPECT_EQ(range, QStringLiteral("量程:") + rangeText);
    EXPECT_EQ(Program->ComLink.LinkState, LinkIdle); // stylus mode left when closed
}

} // namespace
