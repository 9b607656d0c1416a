// While an exchange with the tester is under way (the port search, the
// three-minute handshake, a download), window events keep running: nothing
// the operator clicks then may start a second command or mix a file or a
// database record into the measurement being downloaded.

#include "TestSupport.h"
#include "UiTestSupport.h"
#include "database/dbmangagefm.h"
#include "link/ReplyFrame.h"
#include "link/ScriptedComm.h"
#include "ui/ParaConfigFm.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cmath>

namespace {

// A tester on port 3 holding a one-sampling-length measurement (10 packets).
class ExchangeTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        for (int i = 0; i < 1000; ++i) {
            const auto v = static_cast<int16_t>(std::lround(700 * std::sin(i * 0.05)));
            Raw.append(char(v & 0xFF));
            Raw.append(char((v >> 8) & 0xFF));
        }
        Comm->Present = {3};
        Comm->Responder = [this](int, const QByteArray &frame) { return Answer(frame); };
        ComLink.UseComm(Comm);
    }

    QByteArray Answer(const QByteArray &frame)
    {
        const char command = frame[2];
        const int packet = command == 'v' ? uint8_t(frame[4]) | uint8_t(frame[5]) << 8 : 0;
        if (During)
            During(command, packet);
        switch (command) {
        case 't': return ReplyFrame::Build('t', bytes({2, 0, 0, 2, 2, 0}));
        case 'l': return ReplyFrame::Build('l', bytes({2, 2}));
        case 'p': {
            QByteArray text;
            for (int i = 0; i < 12; ++i)
                text += "R9x =" + QByteArray::number(1.5 + i).rightJustified(8, ' ');
            return ReplyFrame::Build('p', text);
        }
        case 'v': return ReplyFrame::Packet(packet, Raw.mid((packet - 1) * 200, 200));
        default: return ReplyFrame::Build('a');
        }
    }

    // Runs `work` as a click would arrive: while the command waits for its reply.
    static void WhileWaiting(std::function<void()> work)
    {
        QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
    }

    void Connect()
    {
        ASSERT_TRUE(ComLink.Connect());
        Form->UpdateActions();
    }
    QString Commands() const
    {
        QString letters;
        for (const QByteArray &frame : Comm->Written(3))
            letters += QLatin1Char(frame[2]);
        return letters;
    }
    QByteArray Received() const
    {
        return QByteArray(reinterpret_cast<const char *>(ComLink.RawData.data()), ComLink.RawByteCount);
    }
    int ResultBlocks() const { return int(Form->Memo1->toPlainText().count(QStringLiteral("数据："))); }
    QStringList CommandsEnabled()
    {
        Form->UpdateActions();
        QStringList names;
        for (QAction *action :
             {Form->StartConnect, Form->RunMeasure, Form->PickUpPosition, Form->LoadData, Form->PreferenceConfig})
            if (action->isEnabled())
                names << action->text();
        return names;
    }

    std::shared_ptr<ScriptedComm> Comm = std::make_shared<ScriptedComm>();
    QByteArray Raw;
    std::function<void(char command, int packet)> During;
};

TEST_P(ExchangeTest, CommandsAreGreyedWhileAnExchangeRunsAndAClickThatSlipsInIsRefusedAloud)
{
    const struct {
        const char *name;
        bool connected;
        QAction *TForm1::*clicked;
    } cases[] = {
        {"port search", false, &TForm1::StartConnect},
        {"three-minute handshake", true, &TForm1::RunMeasure},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.connected)
            Connect();
        Form->UpdateActions();
        Dialogs.Warnings.clear();
        QStringList enabledMeanwhile = {"not asked"};
        bool asked = false;
        During = [&](char command, int) {
            if (command != 'w' || asked)
                return;
            asked = true;
            // Clicked before the idle-time enabling caught up, then looked at.
            WhileWaiting([&, c] { (Form.get()->*c.clicked)->trigger(); });
            WhileWaiting([&] { enabledMeanwhile = CommandsEnabled(); });
        };
        const int written = int(Commands().size());
        if (c.connected)
            Form->LinkTimerTick();
        else
            Form->StartConnect->trigger();
        During = nullptr;

        EXPECT_EQ(enabledMeanwhile, QStringList());
        EXPECT_EQ(Dialogs.Warnings, QStringList{TComToPX510::ExchangeUnderWayText()});
        EXPECT_EQ(ComLink.LinkState, LinkIdle) << "the first command went on and succeeded";
        EXPECT_FALSE(Commands().mid(written).contains('s')) << "no measurement was started";
        EXPECT_EQ(CommandsEnabled(), QStringList({"启动测量", "拾取针位", "载入数据", "配置"}));
    }
}

TEST_P(ExchangeTest, AFileOpenedDuringADownloadIsRefusedAndNothingMerges)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("other.PX510");
    {
        TComToPX510 other;
        MakeMeasurement(other);
        other.SaveMeasurementFile(file);
    }
    Connect();
    During = [&](char command, int packet) {
        if (command == 'v' && packet == 3)
            WhileWaiting([&] { Form->InportDataFromFile->trigger(); });
    };
    Dialogs.FileAnswers = {file};
    Form->LoadData->trigger();
    During = nullptr;

    EXPECT_EQ(Dialogs.Warnings, QStringList{"现在不能打开文件：" + TComToPX510::ExchangeUnderWayText()});
    EXPECT_TRUE(Dialogs.FilePrompts.isEmpty()) << "refused before the file was chosen";
    EXPECT_TRUE(ComLink.HasData);
    EXPECT_EQ(Received(), Raw);
    EXPECT_EQ(ComLink.SampleCount, 1000);
    EXPECT_EQ(ResultBlocks(), 1);

    // Once the download is over the same file opens.
    Form->UpdateActions();
    Form->InportDataFromFile->trigger();
    EXPECT_EQ(Dialogs.Warnings.size(), 1);
    EXPECT_EQ(ComLink.SampleCount, 3000);
    EXPECT_EQ(ResultBlocks(), 2);
}

TEST_P(ExchangeTest, ARecordLoadedDuringADownloadIsRefusedAndNothingMerges)
{
    QTemporaryDir appDir;
    ASSERT_TRUE(QDir(appDir.path()).mkpath("file"));
    const QString database = appDir.filePath("file/DataViewDB.mdb");
    ASSERT_TRUE(QFile::copy(QStringLiteral(PX510_PROGRAM_DIR "/file/DataViewDB.mdb"), database));
    QFile::setPermissions(database, QFile::permissions(database) | QFile::WriteOwner);
    TForm3 manager(ComLink, Dialogs, GetParam(), appDir.path() + '/');
    int shown = 0;
    manager.ShowMeasurement = [&shown] { ++shown; };
    MakeMeasurement(ComLink);
    Dialogs.YesNoAnswers = {true};
    ASSERT_EQ(manager.SaveMeasurementRecord({"A001", "轴", "李", ""}), 1);
    ComLink.ResetMeasurement();
    ComLink.RecordId.clear();
    Dialogs.Warnings.clear();

    Connect();
    During = [&](char command, int packet) {
        if (command == 'v' && packet == 3)
            WhileWaiting([&] { manager.LoadMeasurementRecord(); });
    };
    Form->LoadData->trigger();
    During = nullptr;

    EXPECT_EQ(Dialogs.Warnings, QStringList{"现在不能载入数据：" + TComToPX510::ExchangeUnderWayText()});
    EXPECT_EQ(shown, 0);
    EXPECT_TRUE(ComLink.RecordId.isEmpty());
    EXPECT_EQ(Received(), Raw);
    EXPECT_EQ(ComLink.SampleCount, 1000);

    manager.LoadMeasurementRecord(); // after the download it loads
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(ComLink.SampleCount, 3000);
}

TEST_P(ExchangeTest, TheSettingsAreSentOnceAndNotDuringAnotherExchange)
{
    Connect();
    TForm5 settings(ComLink, Dialogs);
    settings.FormShow();
    settings.rdfilter->SetItemIndex(1);

    // A second 确定 while the first one's conditions are on their way.
    During = [&](char command, int) {
        if (command == 'c')
            WhileWaiting([&] { settings.Button1->click(); });
    };
    int written = int(Commands().size());
    settings.Button1->click();
    EXPECT_EQ(Commands().mid(written), "c");
    EXPECT_EQ(Dialogs.Informations, QStringList{"配置成功！"});
    EXPECT_EQ(ComLink.Conditions.FilterCode, 1);
    EXPECT_TRUE(settings.Button1->isEnabled());

    // 确定 while the three-minute handshake waits.
    settings.FormShow();
    settings.rdfilter->SetItemIndex(3);
    During = [&](char command, int) {
        if (command == 'w')
            WhileWaiting([&] { settings.Button1->click(); });
    };
    written = int(Commands().size());
    Form->LinkTimerTick();
    During = nullptr;
    EXPECT_EQ(Commands().mid(written), "w");
    EXPECT_EQ(Dialogs.Warnings, QStringList{"现在不能配置：" + TComToPX510::ExchangeUnderWayText()});
    EXPECT_EQ(ComLink.Conditions.FilterCode, 1);
}

INSTANTIATE_TEST_SUITE_P(Editions, ExchangeTest, ::testing::Values(Edition::Station, Edition::View),
                         [](const auto &info) { return std::string(EditionName(info.param)); });

} // namespace
