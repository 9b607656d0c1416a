#pragma once
// The session: the serial link to the tester and the current measurement.
// Every window reaches the measurement through the one instance, ComLink.

#include "analysis/ParameterUnit.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class PComm;

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
    // --- measurement download (SessionDownload.cpp) -------------------------
    bool FetchMeasurement();

    // --- analysis (SessionAnalysis.cpp) -------------------------------------

    // --- measurement file (SessionFile.cpp) ---------------------------------
};
