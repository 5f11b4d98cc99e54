#include "core/loopfilter/noise_model_form.h"

#include <algorithm>

namespace velorin::core {

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

struct NumberField {
    const char *name;    // as the dialog labels it
    const char *stored;  // the settings key
    double PhaseNoiseParameters::*value;
    std::string NoiseModelTexts::*text;
};

const NumberField kNumberFields[] = {
    {"Charge-pump floor (dBc/Hz)", "pfdFomDbc", &PhaseNoiseParameters::pfdFomDbc,
     &NoiseModelTexts::pfdFom},
    {"Charge-pump flicker (dBc/Hz)", "pfdFlickerDbc", &PhaseNoiseParameters::pfdFlickerDbc,
     &NoiseModelTexts::pfdFlicker},
    {"Temperature (K)", "temperatureK", &PhaseNoiseParameters::temperatureK,
     &NoiseModelTexts::temperature},
    {"Jitter band from (Hz)", "bandLowHz", &PhaseNoiseParameters::bandLowHz,
     &NoiseModelTexts::bandLow},
    {"Jitter band to (Hz)", "bandHighHz", &PhaseNoiseParameters::bandHighHz,
     &NoiseModelTexts::bandHigh},
};

constexpr const char *kVcoKey = "vcoPoints";
constexpr const char *kReferenceKey = "referencePoints";

Rows ToRows(const std::vector<NoisePoint> &points) {
    Rows rows;
    for (const NoisePoint &p : points)
        rows.emplace_back(NoiseNumber(p.offsetHz), NoiseNumber(p.dbc));
    return rows;
}

bool IsBlank(const std::string &text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

std::string ReadRows(const char *table, const Rows &rows, std::vector<NoisePoint> &points) {
    points.clear();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (IsBlank(rows[i].first) && IsBlank(rows[i].second)) continue;
        const auto offset = ReadDecimal(rows[i].first);
        const auto dbc = ReadDecimal(rows[i].second);
        const std::string where = std::string(table) + ", row " + std::to_string(i + 1) + ": ";
        if (!offset || !(*offset > 0.0))
            return where + "the offset must be a positive number of Hz";
        if (!dbc) return where + "the noise must be a number of dBc/Hz";
        points.push_back({*offset, *dbc});
    }
    std::stable_sort(points.begin(), points.end(), [](const NoisePoint &a, const NoisePoint &b) {
        return a.offsetHz < b.offsetHz;
    });
    for (size_t i = 1; i < points.size(); ++i) {
        if (points[i].offsetHz == points[i - 1].offsetHz) {
            return std::string(table) + ": the offset " + NoiseNumber(points[i].offsetHz) +
                   " Hz is given twice";
        }
    }
    if (points.empty()) return std::string(table) + ": there must be at least one point";
    return std::string();
}

}  // namespace

NoiseModelTexts NoiseModelToTexts(const PhaseNoiseParameters &p) {
    NoiseModelTexts texts;
    for (const NumberField &f : kNumberFields) texts.*f.text = NoiseNumber(p.*f.value);
    texts.vcoRows = ToRows(p.vcoPoints);
    texts.referenceRows = ToRows(p.referencePoints);
    return texts;
}

NoiseModelRead ReadNoiseModelTexts(const NoiseModelTexts &texts) {
    NoiseModelRead read;
    for (const NumberField &f : kNumberFields) {
        const auto value = ReadDecimal(texts.*f.text);
        if (!value) {
            read.error = std::string(f.name) + " must be a number.";
            return read;
        }
        read.parameters.*f.value = *value;
    }
    read.error = ReadRows("VCO noise", texts.vcoRows, read.parameters.vcoPoints);
    if (read.error.empty()) {
        read.error =
            ReadRows("Reference noise", texts.referenceRows, read.parameters.referencePoints);
    }
    if (read.error.empty()) read.error = CheckPhaseNoiseParameters(read.parameters);
    if (!read.error.empty() && read.error.back() != '.') read.error += '.';
    return read;
}

std::map<std::string, std::string> NoiseModelToStored(const PhaseNoiseParameters &p) {
    std::map<std::string, std::string> stored;
    for (const NumberField &f : kNumberFields) stored[f.stored] = NoiseNumber(p.*f.value);
    stored[kVcoKey] = FormatNoisePoints(p.vcoPoints);
    stored[kReferenceKey] = FormatNoisePoints(p.referencePoints);
    return stored;
}

PhaseNoiseParameters NoiseModelFromStored(const std::map<std::string, std::string> &stored) {
    PhaseNoiseParameters p;
    const auto entry = [&stored](const char *key) -> const std::string * {
        const auto found = stored.find(key);
        return found == stored.end() ? nullptr : &found->second;
    };
    for (const NumberField &f : kNumberFields) {
        if (const std::string *text = entry(f.stored)) {
            if (const auto value = ReadDecimal(*text)) p.*f.value = *value;
        }
    }
    for (const auto &[key, points] :
         {std::pair{kVcoKey, &p.vcoPoints}, std::pair{kReferenceKey, &p.referencePoints}}) {
        if (const std::string *text = entry(key)) {
            NoisePointsText read = ReadNoisePoints(*text);
            if (read.error.empty()) *points = std::move(read.points);
        }
    }
    if (!CheckPhaseNoiseParameters(p).empty()) return PhaseNoiseParameters{};
    return p;
}

}  // namespace velorin::core
