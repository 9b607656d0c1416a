// The main window against px510sim on a pseudo-terminal: connect, measure,
// and the measurement the tester announces appears on the screen.

#include "UiTestSupport.h"
#include "link/QtSerialComm.h"
#include "tests/link/SimProcess.h"

#include "TestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>

namespace {

TEST(EndToEndTest, ConnectMeasureAndTheAnnouncedMeasurementIsShown)
{
    SimProcess sim({QStringLiteral("--measure-seconds"), QStringLiteral("1")});
    ASSERT_TRUE(sim.Ready()) << sim.Output.constData();
    ScriptedDialogs dialogs;
    TComToPX510 comLink;
    comLink.UseComm(std::make_shared<QtSerialComm>(QStringList{sim.Link}));
    TForm1 form(comLink, dialogs, Edition::Station);
    form.show();

    form.UpdateActions();
    form.StartConnect->trigger();
    ASSERT_EQ(comLink.LinkState, LinkIdle) << dialogs.Warnings.join("\n").toStdString();
    EXPECT_TRUE(form.StatusPanelText(1).startsWith("取样长度:"));

    form.UpdateActions();
    form.RunMeasure->trigger();
    EXPECT_EQ(comLink.LinkState, LinkMeasuring);
    EXPECT_FALSE(form.SaveData->isEnabled());

    // The tester's "s" frame starts the download; the display follows it.
    ASSERT_TRUE(RunUntil([&] { return !form.Memo1->toPlainText().isEmpty(); }, 30000));
    EXPECT_TRUE(comLink.HasData);
    EXPECT_EQ(comLink.LinkState, LinkDownloadComplete);
    EXPECT_GT(comLink.SampleCount, 500);
    EXPECT_EQ(form.Series1->dataCount(), comLink.SampleCount);
    EXPECT_EQ(form.Series2->dataCount(), comLink.RoughnessCount);
    EXPECT_EQ(form.Series3->dataCount(), 100);
    EXPECT_TRUE(form.Memo1->toPlainText().contains("数据："));
    QString cutoff;
    comLink.CutoffText(cutoff);
    EXPECT_EQ(form.StatusPanelText(1), "取样长度:" + cutoff);
    form.UpdateActions();
    EXPECT_TRUE(form.SaveData->isEnabled());
    EXPECT_TRUE(dialogs.Warnings.isEmpty()) << dialogs.Warnings.join("\n").toStdString();
}

} // namespace
