#include "gui/planning/noise_model_settings.h"

#include <QSettings>

#include "core/base/program_names.h"
#include "core/loopfilter/noise_model_form.h"

namespace velorin::gui {

namespace {

constexpr const char *kSettingsGroup = "Noise Model";

}  // namespace

core::PhaseNoiseParameters LoadNoiseModel() {
    QSettings settings(core::kSettingsOrganisation, core::kApplicationName);
    settings.beginGroup(kSettingsGroup);
    std::map<std::string, std::string> stored;
    for (const QString &key : settings.childKeys()) {
        stored[key.toStdString()] = settings.value(key).toString().toStdString();
    }
    return core::NoiseModelFromStored(stored);
}

void SaveNoiseModel(const core::PhaseNoiseParameters &parameters) {
    QSettings settings(core::kSettingsOrganisation, core::kApplicationName);
    settings.beginGroup(kSettingsGroup);
    for (const auto &[key, text] : core::NoiseModelToStored(parameters)) {
        settings.setValue(QString::fromStdString(key), QString::fromStdString(text));
    }
}

}  // namespace velorin::gui
