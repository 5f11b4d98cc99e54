#include "sim/request_log.h"

#include <cerrno>
#include <cstring>

namespace velorin::sim {

const char *OutcomeName(Outcome outcome) {
    switch (outcome) {
        case Outcome::Completed:
            return "completed";
        case Outcome::Rejected:
            return "rejected";
        case Outcome::Failed:
            return "failed";
        case Outcome::Dropped:
            return "dropped";
        case Outcome::Truncated:
            return "truncated";
        case Outcome::Unplugged:
            return "unplugged";
    }
    return "?";
}

RequestLog::~RequestLog() {
    if (file_ != nullptr) std::fclose(file_);
}

bool RequestLog::OpenFile(const std::string &path, std::string &error) {
    std::FILE *file = std::fopen(path.c_str(), "a");
    if (file == nullptr) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    std::lock_guard lock(mutex_);
    if (file_ != nullptr) std::fclose(file_);
    file_ = file;
    return true;
}

uint64_t RequestLog::NextNumber() {
    std::lock_guard lock(mutex_);
    return ++counter_;
}

uint64_t RequestLog::Numbered() const {
    std::lock_guard lock(mutex_);
    return counter_;
}

void RequestLog::Add(const LogEntry &entry) {
    std::lock_guard lock(mutex_);
    if (capacity_ > 0) {
        if (entries_.size() == capacity_) entries_.pop_front();
        entries_.push_back(entry);
    }
    if (file_ != nullptr) {
        std::fputs(FormatLine(entry, origin_).c_str(), file_);
        std::fflush(file_);
    }
}

std::vector<LogEntry> RequestLog::Entries() const {
    std::lock_guard lock(mutex_);
    return std::vector<LogEntry>(entries_.begin(), entries_.end());
}

void RequestLog::Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
    counter_ = 0;
}

std::string RequestLog::FormatLine(const LogEntry &entry,
                                   std::chrono::steady_clock::time_point origin) {
    auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(entry.time - origin).count();
    char line[128];
    std::snprintf(
        line, sizeof(line), "%12.6f #%llu command=%02X value=%04X index=%04X answer=%u %s\n",
        static_cast<double>(micros) / 1e6, static_cast<unsigned long long>(entry.number),
        entry.command, entry.value, entry.index, entry.answerLength, OutcomeName(entry.outcome));
    return line;
}

}  // namespace velorin::sim
