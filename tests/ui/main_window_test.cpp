// Start-up, the state right after it, the enabling of the actions, the
// display of a measurement and the status bar.

#include "UiTestSupport.h"
#include "database/dbinformfm.h"
#include "database/dbmangagefm.h"
#include "link/HintFm.h"
#include "link/PickUpFm.h"
#include "report/PrintPreviewFM.h"
#include "ui/ParaConfigFm.h"
#include "ui/ProgramStart.h"
#include "ui/aboutunit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using Form1Test = MainWindowTest;

QStringList enabledOf(const std::vector<QAction *> &actions)
{
    QStringList names;
    for (QAction *action : actions)
        if (action->isEnabled())
            names << action->text();
    return names;
}

TEST_P(Form1Test, StartsEmptyWithDesignTextsAndOnlyConnectAndExitOfTheLinkCommands)
{
    EXPECT_TRUE(Form->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(Form->Memo1->isReadOnly(), Station());
    const QStringList design = {"准备", "取样长度：", "评定长度：", "量程:", "滤波器：", "标准：", "单位："};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Form->StatusPanelText(i), design[i]);

    TRoungnessChart *chart = Form->RoungnessChart1;
    EXPECT_EQ(chart->yAxis->range(), QCPRange(-40, 40));
    EXPECT_EQ(chart->xAxis->range(), QCPRange(0, 25));
    EXPECT_EQ(chart->yAxis->label(), "μm");
    EXPECT_EQ(chart->xAxis->label(), "mm");
    EXPECT_TRUE(chart->ZoomMode());
    EXPECT_EQ(chart->graphCount(), Station() ? 4 : 3);
    EXPECT_EQ(Form->Series4 != nullptr, Station());
    EXPECT_FALSE(Form->BearingPanel->isVisible());
    EXPECT_TRUE(Form->AppDir.endsWith('/'));
    EXPECT_EQ(Form->Timer1->interval(), 180000);
    EXPECT_TRUE(Form->Timer1->isActive());

    Form->UpdateActions();
    EXPECT_EQ(enabledOf({Form->StartConnect, Form->exitpro, Form->StopConnect, Form->RunMeasure, Form->PickUpPosition,
                         Form->LoadData, Form->PreferenceConfig, Form->SaveData, Form->ExportDataToFile}),
              QStringList({"启动连接", "退出"}));
    for (QAction *always : {Form->InportDataFromFile, Form->OpenDataManager, Form->PrintView, Form->UnfilterCurve,
                            Form->RounessCurve, Form->RAndUnfCurve, Form->TPCurve, Form->DefaultViewPort,
                            Form->ScreenAll, Form->BrowseVantrel, Form->About, Form->ShowAsistLine, Form->AutoScale})
        EXPECT_TRUE(always->isEnabled()) << always->text().toStdString();
    EXPECT_FALSE(Form->ZoomScale->isEnabled()); // zoom mode is on at start
    EXPECT_FALSE(Form->HideAsistLine->isEnabled());
    EXPECT_FALSE(Form->CancleAutoScale->isEnabled());
    EXPECT_EQ(Form->OpenHelp->isEnabled(), Station()); // corviaview has no help
}

TEST_P(Form1Test, LinkCommandsFollowTheLinkStateAndSavingFollowsHasData)
{
    const std::vector<QAction *> link = {Form->StartConnect,   Form->exitpro,  Form->StopConnect,     Form->RunMeasure,
                                         Form->PickUpPosition, Form->LoadData, Form->PreferenceConfig};
    const QStringList connectedIdle = {"断开连接", "启动测量", "拾取针位", "载入数据", "配置"};
    const QStringList expected[8] = {
        connectedIdle, {"启动连接", "退出"}, connectedIdle, {"拾取针位", "配置"}, {"配置"}, {"配置"}, {"配置"},
        {"配置"},
    };
    for (int state = 0; state < 8; ++state) {
        ComLink.LinkState = static_cast<uint8_t>(state);
        Form->UpdateActions();
        EXPECT_EQ(enabledOf(link), expected[state]) << "LinkState " << state;
    }
    for (bool hasData : {false, true}) {
        ComLink.HasData = hasData;
        Form->UpdateActions();
        EXPECT_EQ(Form->SaveData->isEnabled(), hasData);
        EXPECT_EQ(Form->ExportDataToFile->isEnabled(), hasData);
    }
}

TEST_P(Form1Test, ShowMeasurementDoesNothingWithoutData)
{
    ComLink.SampleCount = 10;
    Form->ShowMeasurement();
    EXPECT_TRUE(Form->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(Form->Series1->dataCount(), 0);
    EXPECT_EQ(Form->StatusPanelText(1), "取样长度：");
    EXPECT_TRUE(Form->RoungnessChart1->ZoomMode());
}

TEST_P(Form1Test, ShowMeasurementFillsTheCurvesAppendsOneBlockAndResetsTheView)
{
    ShowWindow();
    Form->TPCurveExecute();
    Form->ZoomScaleExecute();
    Display();

    const double s = ComLink.SampleSpacing();
    ASSERT_EQ(Form->Series1->dataCount(), ComLink.SampleCount);
    EXPECT_DOUBLE_EQ(Form->Series1->data()->at(10)->key, 10 * s);
    EXPECT_DOUBLE_EQ(Form->Series1->data()->at(10)->value, ComLink.Profile[10]);
    ASSERT_EQ(Form->Series2->dataCount(), ComLink.RoughnessCount);
    EXPECT_DOUBLE_EQ(Form->Series2->data()->at(0)->key, ComLink.RoughnessOrigin);
    EXPECT_DOUBLE_EQ(Form->Series2->data()->at(7)->value, ComLink.RoughnessProfile[7]);
    ASSERT_EQ(Form->Series3->dataCount(), 100);
    EXPECT_DOUBLE_EQ(Form->Series3->data()->at(40)->value, 40);
    EXPECT_DOUBLE_EQ(Form->Series3->data()->at(40)->key, ComLink.BearingCurve[40]);

    // The roughness view at the default scale, whatever was shown before.
    TRoungnessChart *chart = Form->RoungnessChart1;
    EXPECT_FALSE(Form->Series1->visible());
    EXPECT_TRUE(Form->Series2->visible());
    EXPECT_FALSE(Form->Series3->visible());
    EXPECT_FALSE(Form->BearingPanel->isVisible());
    EXPECT_FALSE(chart->ZoomMode());
    EXPECT_EQ(chart->yAxis->range(), QCPRange(-40, 40));
    EXPECT_TRUE(chart->AxisAutomatic(chart->xAxis));
    EXPECT_NEAR(chart->xAxis->range().upper, ComLink.RoughnessOrigin + (ComLink.RoughnessCount - 1) * s, 1e-9);
    if (Station()) {
        EXPECT_EQ(Form->Label9->text(), "C:μm");
    }

    const QString memo = Form->Memo1->toPlainText();
    EXPECT_EQ(memo.count("ISO数据："), 1);
    EXPECT_TRUE(memo.contains("Ra =   1.234μm")) << memo.toStdString();
    Form->ShowMeasurement();
    EXPECT_EQ(Form->Memo1->toPlainText().count("ISO数据："), 2);
}

TEST_P(Form1Test, UpdateStatusBarWritesTheSixConditionPanels)
{
    ComLink.Conditions = TConditions{3, 1, 2, 0, 1};
    ComLink.UnitSystem = 1;
    Form->UpdateStatusBar();
    const QStringList expected = {"准备",       "取样长度:0.01inch", "评定长度:3", "量程:±3200uin",
                                  "滤波器:R-C", "标准:DIN",          "单位:英制"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Form->StatusPanelText(i), expected[i]);
    EXPECT_EQ(Form->ReportStatusPanels()[0], "评定长度:3");
    EXPECT_EQ(Form->ReportStatusPanels()[4], "单位:英制");

    // The longest labels, the imperial cutoff and range, are not cut.
    ShowWindow();
    for (int i = 1; i < 7; ++i) {
        const QLabel *panel = Form->StatusPanels[size_t(i)];
        EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()), panel->contentsRect().width())
            << qPrintable(panel->text());
    }
}

TEST_P(Form1Test, HoverTextsTooltipAndStatusBarDoubleClick)
{
    ShowWindow();
    auto hover = [](QWidget *widget) {
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(widget, &enter);
    };
    hover(Form->ToolBar1->widgetForAction(Form->SaveData));
    EXPECT_EQ(Form->StatusPanelText(0), "将当前数据保存到数据库中");
    hover(Form->ToolBar1->widgetForAction(Form->ZoomScale));
    EXPECT_EQ(Form->StatusPanelText(0), "放大图像");
    hover(Form->ToolBar1->widgetForAction(Form->DefaultViewPort)); // has none
    EXPECT_EQ(Form->StatusPanelText(0), "放大图像");
    hover(Form->Memo1);
    EXPECT_EQ(Form->StatusPanelText(0), "信息");
    hover(Form->Panel1);
    EXPECT_EQ(Form->StatusPanelText(0), "辅助信息");

    QWidget *connect = Form->ToolBar1->widgetForAction(Form->StartConnect);
    QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), connect->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(connect, &tip);
    EXPECT_EQ(Form->StatusPanelText(0), "单击启动联机...");

    int settings = 0;
    Form->Hooks.ShowSettings = [&settings] { ++settings; };
    QTest::mouseDClick(Form->StatusPanels[3], Qt::LeftButton);
    EXPECT_EQ(settings, 1); // in any link state, disconnected too
}

TEST_P(Form1Test, ActionsOfOtherWindowsGoThroughTheirHooks)
{
    QTemporaryDir programDir;
    ASSERT_TRUE(QDir(programDir.path()).mkpath("help"));
    QFile help(programDir.filePath("help/px510help.html"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    Form->AppDir = programDir.path() + '/';

    QStringList calls;
    Form->Hooks.ShowDataManager = [&] { calls << "data manager"; };
    Form->Hooks.ShowReport = [&] { calls << "report"; };
    Form->Hooks.ShowAbout = [&] { calls << "about"; };
    Form->Hooks.OpenUrl = [&](const QString &url) {
        calls << url;
        return true;
    };
    Form->OpenDataManager->trigger();
    Form->PrintView->trigger();
    Form->About->trigger();
    Form->BrowseVantrel->trigger();
    Form->OpenHelp->trigger();
    QStringList expected = {"data manager", "report", "about", TForm1::MakerWebAddress};
    if (Station())
        expected << "file://" + Form->AppDir + "help/px510help.html";
    EXPECT_EQ(calls, expected);
    EXPECT_TRUE(Dialogs.Warnings.isEmpty());
}

// Without a program for the file type or a browser the desktop opens
// nothing: the operator is told what could not be opened.
TEST_P(Form1Test, HelpAndWebSiteThatCannotBeOpenedAreNamed)
{
    QTemporaryDir programDir;
    Form->AppDir = programDir.path() + '/';
    const QString helpFile = QDir::toNativeSeparators(Form->AppDir + "help/px510help.html");
    QStringList opened;
    Form->Hooks.OpenUrl = [&](const QString &url) {
        opened << url;
        return false;
    };
    const struct {
        const char *name;
        bool helpThere;
        QAction *action;
        QString expected;
    } cases[] = {
        {"no browser", false, Form->BrowseVantrel,
         "无法打开网址“" + TForm1::MakerWebAddress + "”：系统中没有设置默认的网页浏览器。"},
        {"help file missing", false, Form->OpenHelp, "无法打开帮助：找不到帮助文件“" + helpFile + "”。"},
        {"no program for the help file", true, Form->OpenHelp,
         "无法打开帮助文件“" + helpFile + "”：系统中没有能打开这类文件的程序。"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.action == Form->OpenHelp && !Station())
            continue; // corviaview has no help command
        if (c.helpThere) {
            ASSERT_TRUE(QDir(programDir.path()).mkpath("help"));
            QFile help(programDir.filePath("help/px510help.html"));
            ASSERT_TRUE(help.open(QIODevice::WriteOnly));
        }
        Dialogs.Warnings.clear();
        opened.clear();
        c.action->trigger();
        EXPECT_EQ(Dialogs.Warnings, QStringList{c.expected});
        EXPECT_EQ(opened.size(), c.helpThere || c.action == Form->BrowseVantrel ? 1 : 0);
    }
}

// The about window's link runs the main window's web action, failure message included.
TEST_P(Form1Test, TheAboutLinkReportsAnAddressThatCannotBeOpened)
{
    ScriptedDialogs dialogs;
    TProgram program(GetParam(), &dialogs);
    program.Form1->Hooks.OpenUrl = [](const QString &) { return false; };
    program.Form1->UpdateActions();
    dialogs.Warnings.clear();
    program.Form9->Label8Click();
    ASSERT_EQ(dialogs.Warnings.size(), 1);
    EXPECT_TRUE(dialogs.Warnings[0].contains(TForm1::MakerWebAddress));
}

TEST_P(Form1Test, StartUpCreatesTheSessionThenTheWindowsInOrderAllHidden)
{
    ScriptedDialogs dialogs;
    TProgram program(GetParam(), &dialogs);
    EXPECT_EQ(program.CreationOrder,
              QStringList({"TForm1", "TForm2", "TForm3", "TForm5", "TForm6", "TForm7", "TForm8", "TForm9"}));
    const std::vector<QWidget *> windows = {program.Form1.get(), program.Form2, program.Form3, program.Form5,
                                            program.Form6,       program.Form7, program.Form8, program.Form9};
    for (QWidget *window : windows)
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
    EXPECT_EQ(program.ComLink.LinkState, LinkDisconnected);
    EXPECT_EQ(QCoreApplication::applicationName(), Station() ? "Corvia For PX510 V1.0" : "CorviaLab  for  PX510");
    EXPECT_EQ(program.Form1->windowTitle(), Station() ? "Corvia For PX510 V1.0" : "Corvialab for PX510");
    // The windows reach the main window through the hooks start-up filled in.
    EXPECT_TRUE(program.Form3->ShowMeasurement);
    EXPECT_TRUE(program.Form5->Hooks.ShowMeasurement);
    EXPECT_TRUE(program.Form5->Hooks.UpdateStatusBar);
    EXPECT_TRUE(program.Form6->Sources.StatusPanels);
    EXPECT_EQ(program.Form6->Sources.StatusPanels()[4], "单位：");
    EXPECT_TRUE(program.Form9->BrowseVantrel);
    EXPECT_TRUE(program.Form1->Hooks.StartProgressWatch);
}

INSTANTIATE_TEST_SUITE_P(Editions, Form1Test, ::testing::Values(Edition::Station, Edition::View),
                         [](const auto &info) { return std::string(EditionName(info.param)); });

} // namespace
