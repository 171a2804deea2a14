#pragma once
// The record of an installation, kept in the prefix so that a removal knows what to take away:
// the files the installation placed, and for a symbol library that was there before, where its
// original was kept. Installing again adds to the record; the original kept first stays.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "logic/SetupPlatform.h"

namespace setup {

inline constexpr std::string_view kManifestFile =
    "C:\\ProgramData\\symbology-setup\\instalacao.txt";
// The original library beside it: "PDM Biblioteca.mdb.original".
inline constexpr std::string_view kOriginalSuffix = ".original";

struct Manifest {
    std::vector<std::string> placed;  // in order, each once
    // The library whose original was kept beside it, and the original's path.
    std::vector<std::pair<std::string, std::string>> kept;

    // Lines "placed<TAB>path" and "kept<TAB>library<TAB>original"; others are ignored.
    static Manifest Parse(std::string_view text);
    std::string Text() const;
    void AddPlaced(const std::string& path);
};

// The record, or nothing when no installation made one.
std::optional<Manifest> ReadManifest(SetupPlatform& platform);

// Before anything is placed: a library found where the installation puts its own, and not
// placed by an earlier installation, is kept beside it. Gives the original's path when an
// original is kept for it (now or earlier).
std::optional<std::string> KeepOriginal(SetupPlatform& platform, const std::string& library);

// After everything succeeded: the placed files (with those of earlier installations) recorded.
void RecordInstallation(SetupPlatform& platform, const std::vector<std::string>& placed,
                        const std::string& library, const std::optional<std::string>& original);

}  // namespace setup
