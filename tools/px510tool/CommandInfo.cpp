// px510tool info FILE: the record and what decoding made of it, as one JSON object.

#include "Command.h"

#include "files/PX510FileUnit.h"
#include "measurement/Measurement.h"

#include <string>

namespace {

std::string jsonString(const QString &text)
{
    std::string out = "\"";
    for (char c : text.toStdString()) {
        auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace

int CommandInfo(const QStringList &args)
{
    Tool::expectArguments(args, 1);
    TMeasurement s;
    s.LoadMeasurementFile(args.at(0));

    std::string out = "{";
    auto field = [&out](const char *key, const std::string &value) {
        if (out.size() > 1)
            out += ", ";
        out += std::string("\"") + key + "\": " + value;
    };
    auto integer = [](int value) { return std::to_string(value); };
    field("format", integer(s.FileIO->FormatByte));
    field("date_text", jsonString(s.FileIO->DateText()));
    field("measure_time", s.MeasureTimeKnown() ? Tool::number(s.MeasureTime) : std::string("null"));
    field("cutoff", integer(s.Conditions.Cutoff));
    field("sample_lengths", integer(s.Conditions.SampleLengths));
    field("standard", integer(s.Conditions.Standard));
    field("range", integer(s.Conditions.Range));
    field("filter", integer(s.Conditions.FilterCode));
    field("unit_system", integer(s.UnitSystem));
    field("actual_range", integer(s.ActualRange));
    field("actual_cutoff", integer(s.ActualCutoff));
    field("raw_byte_count", integer(s.RawByteCount));
    field("sample_count", integer(s.SampleCount));
    field("roughness_count", integer(s.RoughnessCount));
    field("sample_spacing", Tool::number(s.SampleSpacing()));
    field("roughness_origin", Tool::number(s.RoughnessOrigin));
    field("bearing_level_step", Tool::number(s.BearingLevelStep));
    std::string params = "{";
    const char *keys[] = {"Ra", "Rq", "Rz", "R3z", "Ryi", "Ryd", "Rt", "Rp", "Rv", "S", "Sm", "Sk"};
    auto parameters = s.InstrumentParams.InReportOrder();
    for (int i = 0; i < 12; ++i)
        params += std::string(i ? ", " : "") + "\"" + keys[i] + "\": " + Tool::number(parameters[i]->ParamValue);
    field("params", params + "}");
    Tool::print(out + "}\n");
    return 0;
}
