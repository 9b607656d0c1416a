#pragma once
// The session: the current measurement and the serial link to the tester.
// Every window reaches the measurement through the one instance, ComLink.

#include "link/LinkStatus.h"
#include "measurement/Measurement.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class PComm;

// What the tester itself is set to, kept apart from the measurement the
// session holds: reading the tester (connect, the stylus window) and the
// settings dialog change these, never the codes that describe the values of
// a measurement on screen. A fetch takes them over into the new measurement.
struct TTesterSettings {
    TConditions Conditions;
    uint8_t UnitSystem = 0;
    uint8_t ActualRange = 0;
    uint8_t ActualCutoff = 0;
    bool operator==(const TTesterSettings &) const = default;
};

enum LinkStateCode : uint8_t {
    LinkIdle = 0,
    LinkDisconnected = 1,
    LinkDownloadComplete = 2,
    LinkMeasurementFinished = 3,
    LinkStylusMode = 4,
    LinkMeasuring = 5,
    LinkDownloading = 6,
    LinkError = 7,
};

class TComToPX510 : public TMeasurement {
public:
    TComToPX510();
    ~TComToPX510();
    TComToPX510(const TComToPX510 &) = delete;
    TComToPX510 &operator=(const TComToPX510 &) = delete;

    // --- port settings and link state ---------------------------------------
    int32_t PortNo = 1;
    int32_t BaudCode = 12;
    int32_t ParityCode = 0;
    int32_t DataBitsCode = 3;
    int32_t StopBitsCode = 4;
    bool HardwareFlow = false;
    bool SoftwareFlow = false;
    uint8_t DtrState = 1;
    uint8_t RtsState = 1;
    uint8_t LinkState = LinkDisconnected;
    int32_t ErrorCode = -1;
    int32_t DownloadPercent = 0;
    bool Busy = false;

    // Conditions, UnitSystem, ActualRange and ActualCutoff of the measurement
    // describe its values; the tester's own settings are these.
    TTesterSettings Tester;

    // --- state --------------------------------------------------------------
    void SetLinkState(uint8_t state);
    // The measurement's ResetMeasurement, and ErrorCode cleared.
    void ResetMeasurement();
    void SetError(int32_t code);

    // --- the tester's settings (TesterSettings.cpp) -------------------------
    // RangeLimit and RangeText for the tester's settings: the stylus window's scale.
    double TesterRangeLimit() const;
    void TesterRangeText(QString &text) const;
    // The new measurement is made under the tester's settings: its codes
    // become the tester's and its unit texts follow.
    void TakeTesterSettings();

    // --- link commands (SessionCommands.cpp) --------------------------------
    // Each returns true on the tester's success reply. While one command
    // waits for its reply (window events are processed then), a command asked
    // for sends nothing and fails at once; only Disconnect is remembered and
    // sent as soon as the running command has ended.
    bool Connect();
    bool Disconnect();
    bool StartMeasurement();
    bool QueryConditions();
    bool ReadActualSettings();
    bool ReadConditions();
    bool SendConditions(const TConditions &conditions);
    bool ApplyConditions(const TConditions &conditions);
    void SetUnitSystem(uint8_t unit);
    bool PushSettings();
    bool ReadResults();
    bool EnterStylusMode();
    std::optional<double> ReadStylusPosition(); // no value without a "k" reply
    bool ExitStylusMode();
    bool ConfigurePort();
    void ReceiveNotify(int port);

    // The serial layer: ports over QSerialPort unless one is handed in.
    void UseComm(std::shared_ptr<PComm> comm);
    PComm &Comm();
    bool IsWaiting() const { return Waiting; }
    // A command or a download is in progress (window events run while it
    // waits): nothing may start another command or replace the measurement.
    bool ExchangeUnderWay() const { return Busy || Waiting; }
    // What the windows say when they refuse an action for that reason.
    static QString ExchangeUnderWayText()
    {
        return QStringLiteral("正在与PX510通信（联机、测量或传输数据），请等这次通信结束后再试。");
    }
    // Set when the open port went away (LinkState 1); cleared by Connect.
    bool LinkLost = false;
    // How the last exchange ended, beside the commands' true or false.
    LinkStatus LastFailure = LinkStatus::None;

    // Hooks of the windows. Each runs once the command in progress has ended.
    std::function<void()> OnMeasurementReady;           // after every fetch the tester announced
    std::function<void()> OnLinkLost;                   // the port went away
    std::function<void(const QString &)> OnLinkMessage; // a message for the operator

    // Whether the tester's replies carry the checksum a request carries:
    // learned from the handshake replies of each new link.
    enum class ChecksumHabit : uint8_t { Unknown, RequestRule, Other };
    ChecksumHabit ReplyChecksum() const { return Checksum; }

private:
    struct LinkReply;
    class BusyScope;
    // Runs `work` as a command; work queued for after the command runs once
    // the outermost one has ended without an exception (SessionLink.h).
    template <class Work>
    auto AsCommand(Work &&work);
    // Up to `attempts` requests while the replies are unusable.
    bool Exchange(char subCommand, const QByteArray &payload, char success, LinkReply &reply, int attempts = 1);
    // One request and its reply; an error reply is recorded (SetError).
    LinkStatus ExchangeOnce(char subCommand, const QByteArray &payload, char success, LinkReply &reply);
    // Where every exchange ends: keeps `status` as LastFailure; true for None.
    bool Ended(LinkStatus status);
    // A command on a port that is not open: never connected, closed, or lost.
    LinkStatus ClosedStatus() const;
    bool Acknowledged(char subCommand, const QByteArray &payload, uint8_t newState);
    LinkStatus Handshake(int port, LinkReply &reply);
    bool ReplyUsable(const LinkReply &reply) const;
    void PurgeInput(int port);
    void FinishedDuringCommand();
    bool WriteFrame(const QByteArray &frame);
    int ReadReply(int port, LinkReply &reply, bool forCommand);
    void ProcessPendingEvents();
    void PortLost(int port);
    void AfterCommand(std::function<void()> work);
    void RunAfterCommand();
    void MeasurementFinished();
    // While no measurement is held, its codes follow the tester (the status
    // bar then names the tester's settings); a held one keeps its own.
    void FollowTesterWithoutData();

    std::shared_ptr<PComm> SerialComm;
    bool PortOpen = false;
    bool Waiting = false;
    bool DisconnectPending = false;
    bool FinishedPending = false;
    bool FetchingFinished = false; // MeasurementFinished is running
    bool FinishedAgain = false;    // and the tester announced another end
    ChecksumHabit Checksum = ChecksumHabit::Unknown;
    bool LineUnsettled = false; // the last read gave up: the rest of a reply may still come
    int CommandDepth = 0;
    std::vector<std::function<void()>> AfterCommandWork;

public:
    // --- measurement download (SessionDownload.cpp) -------------------------
    bool FetchMeasurement();
    bool DownloadProfile(std::array<uint8_t, MaxRawBytes> &destination, int32_t &byteCount);
    // The last fetch missed a profile packet; nothing of it is shown.
    bool TransferIncomplete = false;

private:
    bool FetchPacket(int packetNo, std::array<uint8_t, MaxRawBytes> &destination);
    void FetchFailed(bool tell);
};
