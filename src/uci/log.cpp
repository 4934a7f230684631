#include "uci/log.h"

#include <cstring>
#include <ctime>

#include "platform/clock.h"
#include "uci/text.h"

FILE* log_file = nullptr;
bool log_tried = false;

namespace {
constexpr const char* LOG_FILE_NAME = "quillbrook_uci.log";
}

void log_open() {
    if (log_tried) return;
    log_tried = true;
    log_file = std::fopen(LOG_FILE_NAME, "ab");
    if (!log_file) return;
    time_t now = std::time(nullptr);
    std::fprintf(log_file, "\n=== Session start %s", std::ctime(&now));
    std::fflush(log_file);
}

void log_input_line(const char* tag, const char* line) {
    if (!log_tried) log_open();
    if (!log_file) return;
    LocalTimeOfDay t = local_time_of_day();
    std::fprintf(log_file, "%02d:%02d:%02d.%03d %s %s\n", t.hour, t.minute, t.second, t.millisecond, tag, line);
    std::fflush(log_file);
}

void log_output_line(const char* text) {
    if (!log_tried) log_open();
    if (!log_file || !text) return;
    char buffer[1024];
    std::snprintf(buffer, sizeof(buffer), "%s", text);
    strip_line_end(buffer);
    LocalTimeOfDay t = local_time_of_day();
    std::fprintf(log_file, "%02d:%02d:%02d.%03d >>> %s\n", t.hour, t.minute, t.second, t.millisecond, buffer);
    std::fflush(log_file);
}

void log_close() {
    if (!log_file) return;
    std::fprintf(log_file, "=== Session end ===\n\n");
    std::fclose(log_file);
    log_file = nullptr;
}
