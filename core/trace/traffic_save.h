// "Save..." of the traffic window: the rows shown, as a CSV file the user chooses, written
// through a temporary file so that a failed save leaves an older file whole.
#pragma once

#include "core/base/prompts.h"
#include "core/trace/traffic_view.h"

namespace velorin::core {

enum class TrafficSaveOutcome { Saved, Cancelled, Failed };

FileRequest TrafficFileRequest();

// Asks for the file, writes it, and tells the user when it could not be written.
TrafficSaveOutcome SaveTraffic(const TrafficView &view, Prompts &prompts);

}  // namespace velorin::core
