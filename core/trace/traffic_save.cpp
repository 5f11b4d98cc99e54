#include "core/trace/traffic_save.h"

#include "core/base/file_io.h"
#include "core/base/program_names.h"
#include "core/trace/traffic_table.h"

namespace velorin::core {

FileRequest TrafficFileRequest() {
    FileRequest request;
    request.filters = {{"CSV Files (*.csv)", "*.csv"}, {kAllFilesLabel, "*"}};
    request.defaultExtension = "csv";
    request.initialName = "board-traffic.csv";
    return request;
}

TrafficSaveOutcome SaveTraffic(const TrafficView &view, Prompts &prompts) {
    const auto path = prompts.ChooseFileToSave(TrafficFileRequest());
    if (!path) return TrafficSaveOutcome::Cancelled;
    std::string why;
    if (WriteFileAtomically(*path, TrafficCsv(view), &why)) return TrafficSaveOutcome::Saved;
    prompts.Tell("The board traffic could not be written to\n" + *path + "\n" + why);
    return TrafficSaveOutcome::Failed;
}

}  // namespace velorin::core
