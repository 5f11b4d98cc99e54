#include "core/device/image_export.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>

#include "core/base/ascii_text.h"
#include "core/base/hex_text.h"
#include "core/device/image_fields.h"

namespace velorin::core {

namespace {

constexpr const char *kChip = "MXRG817A";

// C99 and C++ keywords and the alternative operator names, which cannot name an array, and
// main, which names the program's function; each between blanks.
constexpr std::string_view kReservedNames =
    " _Bool _Complex _Imaginary alignas alignof and and_eq asm auto bitand bitor bool break case "
    "catch char char16_t char32_t char8_t class co_await co_return co_yield compl concept const "
    "const_cast consteval constexpr constinit continue decltype default delete do double "
    "dynamic_cast else enum explicit export extern false float for friend goto if inline int "
    "long main mutable namespace new noexcept not not_eq nullptr operator or or_eq private "
    "protected public register reinterpret_cast requires restrict return short signed sizeof "
    "static static_assert static_cast struct switch template this thread_local throw true try "
    "typedef typeid typename union unsigned using virtual void volatile wchar_t while xor xor_eq ";

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Comments stay plain ASCII for every compiler a firmware team may use, and never end early.
std::string CommentText(std::string text) {
    for (size_t at = text.find("\xC2\xB5"); at != std::string::npos; at = text.find("\xC2\xB5"))
        text.replace(at, 2, "u");
    for (size_t at = text.find("*/"); at != std::string::npos; at = text.find("*/"))
        text.replace(at, 2, "* /");
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; },
        '?');
    return text;
}

// One line of the comment's field table.
std::string FieldLine(const std::string &label, const std::string &bits, const std::string &code,
                      const std::string &meaning) {
    char line[256];
    std::snprintf(line, sizeof(line), " *   %-26s %-17s %4s  %s\n", label.c_str(), bits.c_str(),
                  code.c_str(), meaning.c_str());
    return CommentText(line);
}

std::string CHeader(const RegisterImage &image, const ImageExport &how) {
    const std::string macro = Upper(how.name);
    std::string text = "/* Settings of an " + std::string(kChip) + " clock generator for " +
                       BlockName(how.block) + ": its six register bytes.\n";
    text += CommentText(" * Written " + how.stamp.date + " by " + how.stamp.program + ".\n");
    text +=
        " * The bytes go to the chip Byte0 first; Byte1 to Byte4 are the control word, least\n"
        " * significant byte first.\n *\n";
    text += FieldLine("field", "bits", "code", "meaning");
    for (const ImageField &field : ImageFields()) {
        const int code = ReadImageField(image, field);
        text += FieldLine(field.label, ImageFieldBits(field), std::to_string(code),
                          ImageFieldText(field, code));
    }
    text += " */\n";
    text += "#ifndef " + macro + "_H\n#define " + macro + "_H\n\n#include <stdint.h>\n\n";
    text += "static const uint8_t " + how.name + "[6] = {";
    for (size_t i = 0; i < image.bytes.size(); ++i) {
        text += (i == 0 ? "" : ", ") + HexByte(image.bytes[i]);
    }
    text += "};\n";
    text += "#define " + macro + "_CONTROL_WORD 0x" + FormatHex(image.ControlWord(), 8) + "u\n";
    text += "\n#endif /* " + macro + "_H */\n";
    return text;
}

std::string JsonExport(const RegisterImage &image, const ImageExport &how) {
    nlohmann::ordered_json fields = nlohmann::ordered_json::array();
    for (const ImageField &field : ImageFields()) {
        const int code = ReadImageField(image, field);
        fields.push_back({{"name", field.key},
                          {"bits", ImageFieldBits(field)},
                          {"code", code},
                          {"text", ImageFieldText(field, code)}});
    }
    const nlohmann::ordered_json result = {
        {"chip", kChip},
        {"block", std::string(1, BlockLetter(how.block))},
        {"bytes", FormatHexBytes(image.bytes.data(), image.bytes.size())},
        {"controlWord", FormatHex(image.ControlWord(), 8)},
        {"fields", fields}};
    return result.dump(2) + "\n";
}

// RFC 4180: a field with a comma, a quote or a line break is quoted, its quotes doubled.
std::string CsvField(const std::string &text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string CsvExport(const RegisterImage &image) {
    std::string text = "field,bits,code,meaning\r\n";
    for (const ImageField &field : ImageFields()) {
        const int code = ReadImageField(image, field);
        text += CsvField(field.key) + "," + CsvField(ImageFieldBits(field)) + "," +
                std::to_string(code) + "," + CsvField(ImageFieldText(field, code)) + "\r\n";
    }
    return text;
}

}  // namespace

std::optional<ExportFormat> ExportFormatNamed(std::string_view name) {
    if (name == "c") return ExportFormat::CHeader;
    if (name == "json") return ExportFormat::Json;
    if (name == "csv") return ExportFormat::Csv;
    return std::nullopt;
}

std::optional<ExportFormat> ExportFormatForPath(std::string_view path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string extension = Upper(path.substr(dot + 1));
    if (extension == "H") return ExportFormat::CHeader;
    if (extension == "JSON") return ExportFormat::Json;
    if (extension == "CSV") return ExportFormat::Csv;
    return std::nullopt;
}

std::string TodayIsoDate() {
    std::time_t now = std::time(nullptr);
    // Builds that make the header again keep their output the same (reproducible builds).
    if (const char *epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0') {
        char *end = nullptr;
        const long long seconds = std::strtoll(epoch, &end, 10);
        if (*end == '\0' && seconds >= 0) now = static_cast<std::time_t>(seconds);
    }
    std::tm utc{};
    char text[16] = "";
    if (gmtime_r(&now, &utc) != nullptr) std::strftime(text, sizeof(text), "%Y-%m-%d", &utc);
    return text;
}

bool IsCIdentifier(std::string_view name) {
    if (name.empty() || !IsLetter(name[0])) return false;
    if (!std::all_of(name.begin(), name.end(),
                     [](char c) { return IsLetter(c) || IsDigit(c) || c == '_'; })) {
        return false;
    }
    return kReservedNames.find(" " + std::string(name) + " ") == std::string_view::npos;
}

std::string DefaultExportName(int block) {
    if (!IsValidBlockIndex(block)) return "mxrg817a";
    return std::string("mxrg817a_block_") + static_cast<char>('a' + block);
}

std::string ExportImage(const RegisterImage &image, const ImageExport &how) {
    switch (how.format) {
        case ExportFormat::CHeader:
            return CHeader(image, how);
        case ExportFormat::Json:
            return JsonExport(image, how);
        case ExportFormat::Csv:
            break;
    }
    return CsvExport(image);
}

}  // namespace velorin::core
