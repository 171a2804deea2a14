#include "logic/Manifest.h"

#include <algorithm>

namespace setup {

namespace {

constexpr std::string_view kPlaced = "placed";
constexpr std::string_view kKept = "kept";

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (size_t tab; (tab = line.find('\t')) != std::string_view::npos;) {
        fields.push_back(line.substr(0, tab));
        line.remove_prefix(tab + 1);
    }
    fields.push_back(line);
    return fields;
}

}  // namespace

Manifest Manifest::Parse(std::string_view text) {
    Manifest manifest;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r')) line.remove_suffix(1);
        const std::vector<std::string_view> fields = Fields(line);
        if (fields[0] == kPlaced && fields.size() == 2) {
            manifest.AddPlaced(std::string(fields[1]));
        } else if (fields[0] == kKept && fields.size() == 3) {
            manifest.kept.emplace_back(fields[1], fields[2]);
        }
    }
    return manifest;
}

std::string Manifest::Text() const {
    std::string text = "# symbology-setup: what the installation placed\r\n";
    for (const std::string& path : placed) text += std::string(kPlaced) + "\t" + path + "\r\n";
    for (const auto& [library, original] : kept) {
        text += std::string(kKept) + "\t" + library + "\t" + original + "\r\n";
    }
    return text;
}

void Manifest::AddPlaced(const std::string& path) {
    if (std::ranges::find(placed, path) == placed.end()) placed.push_back(path);
}

std::optional<Manifest> ReadManifest(SetupPlatform& platform) {
    std::optional<std::string> text = platform.ReadText(std::string(kManifestFile));
    if (!text) return std::nullopt;
    return Manifest::Parse(*text);
}

std::optional<std::string> KeepOriginal(SetupPlatform& platform, const std::string& library) {
    const std::optional<Manifest> earlier = ReadManifest(platform);
    if (earlier) {
        for (const auto& [kept, original] : earlier->kept) {
            if (kept == library) return original;
        }
        // Placed by an earlier installation: nothing of the user's to keep.
        if (std::ranges::find(earlier->placed, library) != earlier->placed.end()) {
            return std::nullopt;
        }
    }
    if (!platform.PathOK(library)) return std::nullopt;
    const std::string original = library + std::string(kOriginalSuffix);
    platform.CopyFile(library, original);
    return original;
}

void RecordInstallation(SetupPlatform& platform, const std::vector<std::string>& placed,
                        const std::string& library, const std::optional<std::string>& original) {
    Manifest manifest = ReadManifest(platform).value_or(Manifest{});
    for (const std::string& path : placed) manifest.AddPlaced(path);
    const bool recorded =
        std::ranges::any_of(manifest.kept, [&](const auto& kept) { return kept.first == library; });
    if (original && !recorded) manifest.kept.emplace_back(library, *original);
    platform.WriteText(std::string(kManifestFile), manifest.Text());
}

}  // namespace setup
