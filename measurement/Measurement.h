#pragma once
// One measurement: the record's fields, its profile as decoded and filtered,
// the bearing-ratio curve and the five parameter sets. Nothing here talks to
// the tester; the session (TComToPX510) is a measurement with a link.

#include "analysis/ParameterUnit.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

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

class TMeasurement {
public:
    static constexpr int MaxSamples = 3000;
    static constexpr int MaxRawBytes = 6000;
    static constexpr int FilterOrigin = 500; // samples the filters consume

    TMeasurement();
    ~TMeasurement();
    TMeasurement(const TMeasurement &) = delete;
    TMeasurement &operator=(const TMeasurement &) = delete;

    // --- measurement record -------------------------------------------------
    std::array<double, MaxSamples> Profile{};
    std::array<uint8_t, MaxRawBytes> RawData{};
    int32_t RawByteCount = 0;
    int32_t SampleCount = 0;
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
    double MeasureTime = 0; // not finite when a loaded record's date text could not be read
    // The database record the measurement on screen was loaded from or saved
    // as: its ID (kept by the full edition only, for the save's pre-fill) and
    // its AutoID (both editions, for the report header; 0 for none). A new
    // measurement (ResetMeasurement) and a file belong to no record.
    QString RecordId;
    qint64 RecordAutoId = 0;
    bool HasData = false;
    std::array<double, MaxSamples> RoughnessProfile{};
    double RoughnessOrigin = 0;
    int32_t RoughnessCount = 0;
    std::array<double, 100> BearingCurve{};
    int32_t BearingLevels = 100;
    double BearingLevelStep = 0;

    // Clears the counts, HasData and the record the measurement belonged to.
    void ResetMeasurement();
    // The measurement on screen belongs to no database record (RecordId, RecordAutoId).
    void ForgetRecord();

    // --- derived quantities -------------------------------------------------
    int SampleLengthCount() const;
    double CutoffLength() const;
    double RangeLimit() const;
    // The range limit for these codes: the range (its used value when automatic)
    // in μm / 1000, in mil when imperial; 0 for a code outside the tables.
    static double RangeLimitOf(uint8_t range, uint8_t actualRange, uint8_t unitSystem);
    double SampleSpacing() const;
    static double MetricToInch(double x) { return x * 40; }
    static double InchToMetric(double x) { return x * 0.025; }

    // --- parameter sets -----------------------------------------------------
    void DistributeParameters();
    // Unit texts of InstrumentParams for UnitSystem: heights "μm"/"μin",
    // S and Sm "mm"/"mil", Sk none. Does not distribute them.
    void SetParameterUnitTexts();

    // --- unit conversion ----------------------------------------------------
    // The values, their unit texts and the profile in the other system; the
    // caller sets UnitSystem.
    void ConvertToImperial();
    void ConvertToMetric();

    // --- labels (MeasurementLabels.cpp) -------------------------------------
    void SampleLengthsText(QString &text) const;
    void CutoffText(QString &text) const;
    void RangeText(QString &text) const;
    void UnitSystemText(QString &text) const;
    void FilterText(QString &text) const;
    void StandardText(QString &text) const;
    void LengthUnitText(QString &text) const;
    void HeightUnitText(QString &text) const;
    void ResultsText(int perRow, QString &text);
    // The label of a range or cutoff code in a unit system (the tables of
    // RangeText and CutoffText); empty outside them.
    static QString RangeLabel(int code, int unitSystem);
    static QString CutoffLabel(int code, int unitSystem);

    // --- analysis (MeasurementAnalysis.cpp) ---------------------------------
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

    // --- measurement file (MeasurementFile.cpp) -----------------------------
    // A record travels as a QByteArray: a file holds exactly these bytes and
    // the database keeps exactly them in its BLOB column.
    // Replaces the contents of `stream` with the record of the measurement.
    void SaveMeasurementStream(QByteArray &stream);
    // Creates or replaces the file atomically; FileError when that fails.
    void SaveMeasurementFile(const QString &fileName);
    // Checks the whole record, then takes it over as after a download (decode,
    // filter, bearing curve, unit texts, standard sets) and sets HasData.
    // A record it refuses throws RecordError (FileError for a file that cannot
    // be read) with a message naming the cause; the measurement stays as it was.
    void LoadMeasurementStream(const QByteArray &stream);
    // Reads a regular file of at most one record's size.
    void LoadMeasurementFile(const QString &fileName);
    // A record whose date text cannot be read opens with the time unknown;
    // saving it keeps the record's own date text.
    bool MeasureTimeKnown() const;
    // What the operator is told after such a load; empty when the time is known.
    QString MeasureTimeWarning() const;

private:
    void ConvertUnits(double factor);
};
