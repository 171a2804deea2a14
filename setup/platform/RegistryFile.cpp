#include "platform/RegistryFile.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "kvl/Error.h"
#include "kvl/Text.h"
#include "platform/TextEncoding.h"
#include "winhost/DriveMap.h"

namespace fs = std::filesystem;

namespace setup {

namespace {

constexpr std::string_view kMachine = "HKEY_LOCAL_MACHINE";
constexpr std::string_view kSoftware = "hkey_local_machine\\software\\";
constexpr std::string_view kWow64Node = "wow6432node\\";

enum class Format { kExport5, kExport4, kWine };

std::optional<Format> FormatOf(std::string_view header) {
    if (header == "Windows Registry Editor Version 5.00") return Format::kExport5;
    if (header == "REGEDIT4") return Format::kExport4;
    if (header == "WINE REGISTRY Version 2") return Format::kWine;
    return std::nullopt;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    return text;
}

// Logical lines: a line ending in "\" (long hex data) goes on in the next one.
std::vector<std::string> LogicalLines(std::string_view text) {
    std::vector<std::string> lines;
    bool continued = false;
    std::istringstream stream{std::string(text)};
    for (std::string raw; std::getline(stream, raw);) {
        std::string_view line = TrimRight(raw);
        if (continued) {
            lines.back() += TrimLeft(line);
        } else {
            lines.emplace_back(line);
        }
        continued = !lines.back().empty() && lines.back().back() == '\\';
        if (continued) lines.back().pop_back();
    }
    return lines;
}

// The value of up to maxDigits digits of the given base at text[pos], moving pos.
char32_t ReadDigits(std::string_view text, size_t& pos, int base, int maxDigits) {
    char32_t value = 0;
    for (int n = 0; n < maxDigits && pos < text.size(); ++n, ++pos) {
        const char c = text[pos];
        const int digit = (c >= '0' && c <= '9')   ? c - '0'
                          : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                          : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                   : base;
        if (digit >= base) break;
        value = value * base + static_cast<char32_t>(digit);
    }
    return value;
}

// One escape sequence, text[pos] being the character after the backslash. Exports
// escape only "\" and the quote; Wine adds control characters, \xHHHH and octal.
void Unescape(std::string_view text, size_t& pos, std::string& out) {
    const char c = text[pos++];
    switch (c) {
        case 'n':
            out += '\n';
            return;
        case 'r':
            out += '\r';
            return;
        case 't':
            out += '\t';
            return;
        case 'x':
            AppendUtf8(out, ReadDigits(text, pos, 16, 4));
            return;
        default:
            break;
    }
    if (c >= '0' && c <= '7') {
        --pos;
        AppendUtf8(out, ReadDigits(text, pos, 8, 3));
    } else {
        out += c;
    }
}

// Text up to an unescaped terminator, text[pos] being its first character; pos ends
// past the terminator. Nothing when the terminator is missing.
std::optional<std::string> ReadEscaped(std::string_view text, size_t& pos, char terminator) {
    std::string out;
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == terminator) return out;
        if (c == '\\' && pos < text.size()) {
            Unescape(text, pos, out);
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

std::string HexBytes(std::string_view list) {
    std::string bytes;
    for (size_t pos = 0; pos < list.size();) {
        if (list[pos] == ',' || list[pos] == ' ') {
            ++pos;
            continue;
        }
        const size_t start = pos;
        const char32_t byte = ReadDigits(list, pos, 16, 2);
        if (pos == start) break;
        bytes += static_cast<char>(byte);
    }
    return bytes;
}

std::string WithoutTrailingNuls(std::string text) {
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

// "Key" for registry lookups: letter case ignored, HKLM spelled out, no final "\".
std::string NormalKey(std::string_view key) {
    while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
    std::string normal = kvl::Minusculas(key);
    if (normal == "hklm" || normal.starts_with("hklm\\")) {
        normal.replace(0, 4, kvl::Minusculas(kMachine));
    }
    return normal;
}

bool UnderWow64Node(const std::string& normalKey) {
    return (normalKey + "\\").starts_with(std::string(kSoftware) + std::string(kWow64Node));
}

// Where a 32-bit program's key under Software lives on a 64-bit machine; nothing for other keys.
std::optional<std::string> Redirected(const std::string& normalKey) {
    if (!normalKey.starts_with(kSoftware) || UnderWow64Node(normalKey)) return std::nullopt;
    return std::string(kSoftware) + std::string(kWow64Node) + normalKey.substr(kSoftware.size());
}

[[noreturn]] void ThrowNotFound(std::string_view fullPath) {
    throw kvl::Error(kRegistryKeyNotFound, "Não foi possível abrir a chave de registo \"" +
                                               std::string(fullPath) + "\" para leitura.");
}

}  // namespace

// Fills a RegistryFile from the lines of one file.
class RegistryParser {
  public:
    RegistryParser(RegistryFile& registry, Format format) : registry_(registry), format_(format) {}

    void Line(std::string_view line) {
        if (line == "#arch=win64") registry_.wow64_ = true;
        if (line.empty() || line.front() == ';' || line.front() == '#') return;
        if (line.front() == '[') {
            KeyLine(line);
        } else if (values_) {
            ValueLine(line);
        }
    }

  private:
    void KeyLine(std::string_view line) {
        size_t pos = 1;
        std::optional<std::string> name;
        if (format_ == Format::kWine) {
            name = ReadEscaped(line, pos, ']');
            if (name) name = std::string(kMachine) + "\\" + *name;
        } else if (const size_t end = line.rfind(']'); end != std::string_view::npos) {
            name = std::string(line.substr(1, end - 1));
        }
        // "[-key]" deletes a key in an export: nothing to read under it.
        const bool usable = name && !name->empty() && name->front() != '-';
        values_ = usable ? &registry_.keys_[NormalKey(*name)] : nullptr;
        if (usable && UnderWow64Node(NormalKey(*name))) registry_.wow64_ = true;
    }

    void ValueLine(std::string_view line) {
        size_t pos = 0;
        std::optional<std::string> name;
        if (line.front() == '@') {
            name = "";
            pos = 1;
        } else if (line.front() == '"') {
            pos = 1;
            name = ReadEscaped(line, pos, '"');
        }
        if (!name || pos >= line.size() || line[pos] != '=') return;
        const std::string_view data = TrimLeft(line.substr(pos + 1));
        if (data == "-") return;  // a deleted value
        (*values_)[kvl::Minusculas(*name)] = Data(data);
    }

    // A value's data as text; nothing for binary data.
    std::optional<std::string> Data(std::string_view data) const {
        for (std::string_view prefix : {"\"", "str(1):\"", "str(2):\""}) {
            if (data.starts_with(prefix)) {
                size_t pos = prefix.size();
                return ReadEscaped(data, pos, '"');
            }
        }
        if (data.starts_with("dword:")) {
            size_t pos = 6;
            return std::to_string(ReadDigits(data, pos, 16, 8));
        }
        for (std::string_view prefix : {"hex(1):", "hex(2):"}) {
            if (data.starts_with(prefix)) return TextFromHex(data.substr(prefix.size()));
        }
        return std::nullopt;
    }

    // Text kept as bytes: UTF-16LE in a version 5 export, 8-bit in the older ones.
    std::string TextFromHex(std::string_view list) const {
        const std::string bytes = HexBytes(list);
        return WithoutTrailingNuls(format_ == Format::kExport4 ? DecodeText(bytes)
                                                               : Utf16LeToUtf8(bytes));
    }

    RegistryFile& registry_;
    Format format_;
    RegistryFile::Values* values_ = nullptr;
};

RegistryFile RegistryFile::Parse(std::string_view bytes) {
    const std::vector<std::string> lines = LogicalLines(DecodeText(bytes));
    size_t first = 0;
    while (first < lines.size() && lines[first].empty()) ++first;
    const std::optional<Format> format =
        first < lines.size() ? FormatOf(lines[first]) : std::nullopt;
    if (!format) throw kvl::Error(kRegistryFileInvalid, "O ficheiro de registo não é válido.");
    RegistryFile registry;
    RegistryParser parser(registry, *format);
    for (size_t i = first + 1; i < lines.size(); ++i) parser.Line(lines[i]);
    return registry;
}

RegistryFile RegistryFile::Load(const fs::path& file) {
    std::error_code error;
    if (!fs::exists(file, error)) {
        throw kvl::Error(kRegistryFileNotFound,
                         "O ficheiro de registo " + file.string() + " não existe.");
    }
    std::ifstream stream(file, std::ios::binary);
    if (!stream) throw kvl::Error(kvl::kPermissionDenied, "Permissão negada: " + file.string());
    std::ostringstream bytes;
    bytes << stream.rdbuf();
    try {
        return Parse(bytes.str());
    } catch (const kvl::Error& invalid) {
        throw kvl::Error(invalid.number(),
                         "O ficheiro de registo " + file.string() + " não é válido.");
    }
}

fs::path RegistryFile::DefaultFile() {
    return winhost::WinePrefix() / "system.reg";
}

const std::optional<std::string>* RegistryFile::Find(std::string_view key,
                                                     std::string_view value) const {
    const auto found = keys_.find(std::string(key));
    if (found == keys_.end()) return nullptr;
    const auto data = found->second.find(kvl::Minusculas(value));
    return data == found->second.end() ? nullptr : &data->second;
}

std::string RegistryFile::Read(std::string_view fullPath) const {
    const size_t split = fullPath.rfind('\\');
    if (split == std::string_view::npos) ThrowNotFound(fullPath);
    const std::string key = NormalKey(fullPath.substr(0, split));
    const std::string_view name = fullPath.substr(split + 1);
    const std::optional<std::string>* data = nullptr;
    if (const std::optional<std::string> redirected = Redirected(key); wow64_ && redirected) {
        data = Find(*redirected, name);
    }
    if (!data) data = Find(key, name);
    if (!data) ThrowNotFound(fullPath);
    if (!*data) throw kvl::Error(kvl::kTypeMismatch);
    return **data;
}

}  // namespace setup
