#pragma once
// The session: the serial link to the tester and the current measurement.
// Every window reaches the measurement through the one instance, ComLink.

#include "analysis/ParameterUnit.h"

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
    double MeasureTime = 0;
    QString RecordId; // the database record last opened; kept by the full edition only
    bool HasData = false;
    int32_t DownloadPercent = 0;
    bool Busy = false;
    std::array<double, MaxSamples> RoughnessProfile{};
    double RoughnessOrigin = 0;
    int32_t RoughnessCount = 0;
    std::array<double, 100> BearingCurve{};
    int32_t BearingLevels = 100;
    double BearingLevelStep = 0;

    // --- state --------------------------------------------------------------
    void SetLinkState(uint8_t state);
    void ResetMeasurement();
    void SetError(int32_t code);

    // --- derived quantities -------------------------------------------------
    int SampleLengthCount() const;
    double CutoffLength() const;
    double RangeLimit() const;
    double SampleSpacing() const;
    static double MetricToInch(double x) { return x * 40; }
    static double InchToMetric(double x) { return x * 0.025; }

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

    // Hooks of the windows. Each runs once the command in progress has ended.
    std::function<void()> OnMeasurementReady;           // after every fetch the tester announced
    std::function<void()> OnLinkLost;                   // the port went away
    std::function<void(const QString &)> OnLinkMessage; // a message for the operator

private:
    struct LinkReply;
    class CommandScope;
    class BusyScope;
    bool Exchange(char subCommand, const QByteArray &payload, char success, LinkReply &reply);
    bool Acknowledged(char subCommand, const QByteArray &payload, uint8_t newState);
    bool WriteFrame(const QByteArray &frame);
    int ReadReply(int port, LinkReply &reply, bool forCommand);
    void ProcessPendingEvents();
    void PortLost(int port);
    void AfterCommand(std::function<void()> work);
    void RunAfterCommand();
    void MeasurementFinished();
    void ConvertUnits(double factor);

    std::shared_ptr<PComm> SerialComm;
    bool PortOpen = false;
    bool Waiting = false;
    bool DisconnectPending = false;
    bool FinishedPending = false;
    bool FetchingFinished = false; // MeasurementFinished is running
    bool FinishedAgain = false;    // and the tester announced another end
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
    void LoadMeasurementFile(const QString &fileName);
};
