// Saving the measurement to a file and opening one for display.

#include "UiTestSupport.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>

namespace {

using FilesTest = MainWindowTest;

TEST_P(FilesTest, ExportAppendsPx510UnlessTheNameEndsInExactlyPX510)
{
    QTemporaryDir dir;
    MakeMeasurement(ComLink);
    Form->UpdateActions();
    const struct {
        const char *chosen, *written;
    } cases[] = {{"run1", "run1.Px510"},
                 {"run1.PX510", "run1.PX510"},
                 {"run1.px510", "run1.px510.Px510"},
                 {"run2.Px510", "run2.Px510.Px510"}};
    for (const auto &c : cases) {
        EXPECT_EQ(TForm1::ExportFileName(dir.filePath(c.chosen)), dir.filePath(c.written));
        Dialogs.FileAnswers = {dir.filePath(c.chosen)};
        Form->ExportDataToFile->trigger();
        EXPECT_TRUE(QFile::exists(dir.filePath(c.written))) << c.written;
    }
    EXPECT_EQ(Dialogs.FilePrompts.first(), "请选择的数据文件");

    // Saving over a file replaces it without a question.
    QFile old(dir.filePath("old.PX510"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("not a measurement");
    old.close();
    Dialogs.FileAnswers = {dir.filePath("old.PX510")};
    Form->ExportDataToFile->trigger();
    EXPECT_GT(QFileInfo(dir.filePath("old.PX510")).size(), 561);
    EXPECT_TRUE(Dialogs.Questions.isEmpty());
    EXPECT_TRUE(Dialogs.Warnings.isEmpty());

    Dialogs.FileAnswers = {std::nullopt}; // cancelled
    Form->ExportDataToFile->trigger();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 5);
}

TEST_P(FilesTest, ImportOfAnImperialFileSwitchesUnitsEverywhere)
{
    QTemporaryDir dir;
    {
        TComToPX510 imperial;
        MakeMeasurement(imperial);
        imperial.UnitSystem = 1;
        imperial.DecodeProfile();
        imperial.SetParameterUnitTexts();
        imperial.DistributeParameters();
        imperial.SaveMeasurementFile(dir.filePath("inch.PX510"));
    }
    ShowWindow();
    Dialogs.FileAnswers = {dir.filePath("inch.PX510")};
    Form->InportDataFromFile->trigger();
    ASSERT_TRUE(Dialogs.Warnings.isEmpty()) << Dialogs.Warnings.join("\n").toStdString();
    EXPECT_EQ(Dialogs.FilePrompts, QStringList({"请选择要导入的数据文件"}));
    EXPECT_TRUE(ComLink.HasData);
    EXPECT_EQ(Form->RoungnessChart1->yAxis->label(), "μin");
    EXPECT_EQ(Form->RoungnessChart1->xAxis->label(), "mil");
    EXPECT_EQ(Form->StatusPanelText(6), "单位:英制");
    const QString memo = Form->Memo1->toPlainText();
    EXPECT_TRUE(memo.contains("μin")) << memo.toStdString();
    EXPECT_TRUE(memo.contains("mil"));
    EXPECT_FALSE(memo.contains("μm"));
    Form->ChartMouseMove(Form->RoungnessChart1->PlotRect().center(), Qt::NoButton, Qt::NoModifier);
    EXPECT_TRUE(Form->LBMousePositionX->text().endsWith("mil"));
}

TEST_P(FilesTest, ImportRefusesADamagedFileAndIgnoresAMissingOne)
{
    QTemporaryDir dir;
    ShowWindow();
    Display();
    const QString memo = Form->Memo1->toPlainText();
    const int points = Form->Series1->dataCount();

    QFile damaged(dir.filePath("bad.PX510"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(600, '\x7f'));
    damaged.close();
    Dialogs.FileAnswers = {dir.filePath("bad.PX510"), dir.filePath("missing.PX510"), std::nullopt};
    Form->InportDataFromFile->trigger();
    Form->InportDataFromFile->trigger();
    Form->InportDataFromFile->trigger();
    EXPECT_EQ(Dialogs.Warnings.size(), 1);
    EXPECT_TRUE(ComLink.HasData);
    EXPECT_EQ(Form->Memo1->toPlainText(), memo);
    EXPECT_EQ(Form->Series1->dataCount(), points);
}

INSTANTIATE_TEST_SUITE_P(Editions, FilesTest, ::testing::Values(Edition::Station, Edition::View),
                         [](const auto &info) { return std::string(EditionName(info.param)); });

} // namespace
