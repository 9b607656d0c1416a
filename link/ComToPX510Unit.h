#pragma once
// The session: the serial link to the tester and the current measurement.
// Every window reaches the measurement through the one instance, ComLink.

#include "analysis/ParameterUnit.h"
#include "link/LinkStatus.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class PComm;
class TPX510FileIO;

// Range, Cutoff, SampleLengths, FilterCode, Standard: in this order.
struct TConditions {
    uint8_t Range = 2;
    uint8_t Cutoff = 2;
    uint8_t SampleLengths = 4;
    uint8_t FilterCode = 2;
    uint8_t Standard = 0;
    bool operator==(const TConditions &) const = default;
};

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

class TComToPX510 {
public:
    static constexpr int MaxSamples = 3000;
    static constexpr int MaxRawBytes = 6000;
    static constexpr int FilterOrigin = 500; // samples the filters consume

    TComToPX510();
    ~TComToPX510();
    TComToPX510(const TComToPX510 &) = delete;
    TComToPX510 &operator=(const TComToPX510 &) = delete;

    // --- measurement record -------------------------------------------------
    std::array<double, MaxSamples> Profile{};
    std::array<uint8_t, MaxRawBytes> RawData{};
    int32_t RawByteCount = 0;
    int32_t SampleCount = 0;
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
    uint8_t UnitSystem = 0;
    TPX510parameters InstrumentParams;
    TISOparameters IsoParams;
    TDINparameters DinParams;
    JISparameters JisParams;
    TANSIparameters AnsiParams;
    std::unique_ptr<TPX510FileIO> FileIO; // the record last read or written
    TConditions Conditions;
    uint8_t ActualRange = 0;
    uint8_t ActualCutoff = 0;
    int32_t ErrorCode = -1;
    double MeasureTime = 0; // not finite when a loaded record's date text could not be read
    // The database record the measurement on screen was loaded from or saved
    // as: its ID (kept by the full edition only, for the save's pre-fill) and
    // its AutoID (both editions, for the report header; 0 for none). A new
    // measurement (ResetMeasurement) and a file belong to no record.
    QString RecordId;
    qint64 RecordAutoId = 0;
    bool HasData = false;
    int32_t DownloadPercent = 0;
    bool Busy = false;
    std::array<double, MaxSamples> RoughnessProfile{};
    double RoughnessOrigin = 0;
    int32_t RoughnessCount = 0;
    std::array<double, 100> BearingCurve{};
    int32_t BearingLevels = 100;
    double BearingLevelStep = 0;

    // Conditions, UnitSystem, ActualRange and ActualCutoff above belong to
    // the measurement; the tester's own settings are these.
    TTesterSettings Tester;

    // --- state --------------------------------------------------------------
    void SetLinkState(uint8_t state);
    // Clears the counts, HasData, ErrorCode and the record the measurement belonged to.
    void ResetMeasurement();
    // The measurement on screen belongs to no database record (RecordId, RecordAutoId).
    void ForgetRecord();
    void SetError(int32_t code);

    // --- derived quantities -------------------------------------------------
    int SampleLengthCount() const;
    double CutoffLength() const;
    double RangeLimit() const;
    double SampleSpacing() const;
    static double MetricToInch(double x) { return x * 40; }
    static double InchToMetric(double x) { return x * 0.025; }
    // RangeLimit for the tester's settings: the stylus window's scale.
    double TesterRangeLimit() const;

    // --- parameter sets -----------------------------------------------------
    void DistributeParameters();
    // Unit texts of InstrumentParams for UnitSystem: heights "μm"/"μin",
    // S and Sm "mm"/"mil", Sk none. Does not distribute them.
    void SetParameterUnitTexts();

    // --- labels -------------------------------------------------------------
    void SampleLengthsText(QString &text) const;
    void CutoffText(QString &text) const;
    void RangeText(QString &text) const;
    void UnitSystemText(QString &text) const;
    void FilterText(QString &text) const;
    void StandardText(QString &text) const;
    void LengthUnitText(QString &text) const;
    void HeightUnitText(QString &text) const;
    void ResultsText(int perRow, QString &text);
    // RangeText for the tester's settings.
    void TesterRangeText(QString &text) const;
    // The label of a range or cutoff code in a unit system (the tables of
    // RangeText and CutoffText); empty outside them.
    static QString RangeLabel(int code, int unitSystem);
    static QString CutoffLabel(int code, int unitSystem);

    // --- the tester's settings (TesterSettings.cpp) -------------------------
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
    void ConvertToImperial();
    void ConvertToMetric();
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
    template <class Work> auto AsCommand(Work &&work);
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
    void ConvertUnits(double factor);
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

public:

    // --- analysis (SessionAnalysis.cpp) -------------------------------------
    // RawData/RawByteCount -> SampleCount, Profile, then ApplyFilter and
    // BuildBearingCurve. A count outside 0 .. 6000 throws RecordError and
    // changes nothing.
    void DecodeProfile();
    // Profile -> RoughnessProfile with the filter of FilterCode; an unknown
    // code leaves the roughness data as they were. RoughnessCount is never
    // negative: a profile the filter cannot use gives an empty one.
    void ApplyFilter();
    void BuildBearingCurve();
    // Lowest and highest roughness height; both 0 for an empty profile.
    void GetProfileMinMax(double &minimum, double &maximum) const;
    // Material ratio in percent (0 .. 100) at depth c percent, read off the curve.
    double MaterialRatioAtDepth(double c) const;

    // --- measurement file (SessionFile.cpp) ---------------------------------
    // A record travels as a QByteArray: a file holds exactly these bytes and
    // the database keeps exactly them in its BLOB column.
    // Replaces the contents of `stream` with the record of the measurement.
    void SaveMeasurementStream(QByteArray &stream);
    // Creates or replaces the file atomically; FileError when that fails.
    void SaveMeasurementFile(const QString &fileName);
    // Checks the whole record, then takes it over as after a download (decode,
    // filter, bearing curve, unit texts, standard sets) and sets HasData.
    // A record it refuses throws RecordError (FileError for a file that cannot
    // be read) with a message naming the cause; the session stays as it was.
    void LoadMeasurementStream(const QByteArray &stream);
    // Reads a regular file of at most one record's size.
    void LoadMeasurementFile(const QString &fileName);
    // A record whose date text cannot be read opens with the time unknown;
    // saving it keeps the record's own date text.
    bool MeasureTimeKnown() const;
    // What the operator is told after such a load; empty when the time is known.
    QString MeasureTimeWarning() const;
};
