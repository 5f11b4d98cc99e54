// The traffic window's columns as text: the table's cells, the CSV file, the copied rows and
// velorinctl's trace line all say the same.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <span>
#include <string>

#include "core/trace/board_call.h"
#include "core/trace/traffic_view.h"

namespace velorin::core {

enum class TrafficColumn { Time, Block, Call, Meaning, Command, Value, Index, Answer, Result };
constexpr size_t kTrafficColumnCount = 9;

// "Time (ms)", "Block", ...
const char *TrafficColumnTitle(TrafficColumn column);

// One cell: time since `origin` in ms with three decimals; block letter; the call as made;
// its meaning; command, value and index of its request in hexadecimal (the index as a range
// for a per-byte transfer, whose writes carry their data byte where the value shows "xx");
// the answer bytes of a read; "ok" or the library's error.
std::string TrafficCell(const BoardCall &call, TrafficColumn column,
                        std::chrono::steady_clock::time_point origin);

// A header line and one line per row, as comma-separated values (RFC 4180).
std::string TrafficCsv(const TrafficView &view);

// The given rows, one line each, cells separated by tabs, for the clipboard.
std::string TrafficRowsText(const TrafficView &view, std::span<const size_t> rows);

// "+12.345 ms WriteOneWire(index=0, value=0x06) -> ok  [A0 0006 0000]  stage Byte0 = 06"
std::string TraceLine(const BoardCall &call, std::chrono::steady_clock::time_point origin);

}  // namespace velorin::core
