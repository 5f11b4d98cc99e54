// A register image in the forms a firmware build takes: a C header (compiles as C99 and C++),
// a JSON object and an RFC 4180 CSV table, each listing every field of the image in words.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/device/register_image.h"

namespace velorin::core {

enum class ExportFormat { CHeader, Json, Csv };

// "c", "json" or "csv", as the command line names them.
std::optional<ExportFormat> ExportFormatNamed(std::string_view name);
// By the file name's extension, any case: ".h", ".json", ".csv".
std::optional<ExportFormat> ExportFormatForPath(std::string_view path);

// Who wrote the export and when, for the C header's comment: "2026-12-08", "velorinctl 1.4.0".
struct ExportStamp {
    std::string date;
    std::string program;
};
// Today's date (UTC) as YYYY-MM-DD, or that of SOURCE_DATE_EPOCH when it is set.
std::string TodayIsoDate();

// Letters, digits and underscores, not starting with a digit or an underscore (names with a
// leading underscore are the compiler's), and no keyword of C or C++.
bool IsCIdentifier(std::string_view name);
constexpr const char *kCIdentifierRule =
    "a C identifier: letters, digits and underscores, starting with a letter, not a keyword";
// "mxrg817a_block_a" for block A.
std::string DefaultExportName(int block);

struct ImageExport {
    ExportFormat format = ExportFormat::CHeader;
    int block = 0;     // 0-3
    std::string name;  // the C header's array; the macros and the guard are its upper case
    ExportStamp stamp;
};

std::string ExportImage(const RegisterImage &image, const ImageExport &how);

}  // namespace velorin::core
