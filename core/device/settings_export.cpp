#include "core/device/settings_export.h"

#include <filesystem>
#include <string>
#include <utility>

#include "core/base/file_io.h"

namespace velorin::core {

FileRequest ExportSettingsRequest(int block) {
    std::string initialName = DefaultExportName(block);
    initialName.append(".h");
    return FileRequest{{{"C Header Files (*.h)", "*.h"},
                        {"JSON Files (*.json)", "*.json"},
                        {"CSV Files (*.csv)", "*.csv"}},
                       std::string(1, 'h'),
                       std::move(initialName),
                       true};
}

ExportOutcome ExportSettings(Prompts &prompts, const RegisterImage &image, int block,
                             const ExportStamp &stamp) {
    const auto path = prompts.ChooseFileToSave(ExportSettingsRequest(block));
    if (!path) return ExportOutcome::Cancelled;
    const auto format = ExportFormatForPath(*path);
    if (!format) {
        prompts.Tell("The settings were not exported to\n" + *path +
                     "\nGive the file the extension of one of the types: .h, .json or .csv.");
        return ExportOutcome::Failed;
    }
    const std::string stem = std::filesystem::path(*path).stem().string();
    const ImageExport how{*format, block, IsCIdentifier(stem) ? stem : DefaultExportName(block),
                          stamp};
    std::string why;
    if (!WriteFileAtomically(*path, ExportImage(image, how), &why)) {
        prompts.Tell("The settings could not be exported to\n" + *path + "\n" + why);
        return ExportOutcome::Failed;
    }
    return ExportOutcome::Written;
}

}  // namespace velorin::core
