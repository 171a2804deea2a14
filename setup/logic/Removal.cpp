#include "logic/Removal.h"

#include <algorithm>

#include "logic/Texts.h"
#include "winhost/RunLog.h"

namespace setup {

namespace {

std::string Listed(std::string_view text, const std::vector<std::string>& paths) {
    std::string message(text);
    for (const std::string& path : paths) message += "\r\n" + path;
    return message;
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

const std::string* OriginalOf(const Manifest& manifest, const std::string& path) {
    for (const auto& [library, original] : manifest.kept) {
        if (library == path) return &original;
    }
    return nullptr;
}

}  // namespace

bool SetupRemoval::Run() {
    const std::optional<Manifest> manifest = ReadManifest(platform_);
    if (!manifest) {
        platform_.MsgBox(std::string(kNothingToRemove), winhost::kInformation, std::string(kTitle));
        return true;
    }
    if (platform_.MsgBox(std::string(kConfirmRemoval), kConfirmRemovalFlags, std::string(kTitle)) !=
        winhost::kYes) {
        return false;
    }
    // A read-only drive would otherwise lose some files and keep others.
    std::vector<std::string> fixed;
    for (const std::string& path : Affected(*manifest)) {
        if (!platform_.CanRemove(path)) fixed.push_back(path);
    }
    if (!fixed.empty()) return Fail(Listed(kCannotRemove, fixed));
    try {
        Remove(*manifest);
    } catch (const kvl::Error& error) {
        return Fail(ErrorMessage(error));
    }
    if (std::vector<std::string> remaining = Remaining(*manifest); !remaining.empty()) {
        return Fail(Listed(kRemovalIncomplete, remaining));
    }
    // Last, so that a removal that failed can be run again.
    platform_.DeleteFile(std::string(kManifestFile));
    platform_.MsgBox(std::string(kRemoved), winhost::kInformation, std::string(kTitle));
    return true;
}

std::vector<std::string> SetupRemoval::Affected(const Manifest& manifest) {
    std::vector<std::string> affected;
    for (const std::string& path : manifest.placed) {
        if (platform_.PathOK(path)) affected.push_back(path);
        const std::string* original = OriginalOf(manifest, path);
        if (original && platform_.PathOK(*original)) affected.push_back(*original);
    }
    affected.push_back(std::string(kManifestFile));
    return affected;
}

// The original takes the installed library's place whole, then goes from beside it.
void SetupRemoval::Remove(const Manifest& manifest) {
    for (const std::string& path : manifest.placed) {
        // A library whose original is gone stays: it is the nearest there is to it.
        if (const std::string* original = OriginalOf(manifest, path)) {
            if (!platform_.PathOK(*original)) continue;
            winhost::RunLog::Write("Repor o original: " + path);
            platform_.CopyFile(*original, path);
            platform_.DeleteFile(*original);
        } else if (platform_.PathOK(path)) {
            winhost::RunLog::Write("Remover: " + path);
            platform_.DeleteFile(path);
        }
    }
    std::vector<std::string> folders;
    for (const std::string& path : manifest.placed) {
        if (std::ranges::find(folders, FolderOf(path)) == folders.end()) {
            folders.push_back(FolderOf(path));
        }
    }
    for (const std::string& folder : folders) {
        for (std::string& kept : platform_.RemoveLeftovers(folder)) {
            leftovers_.push_back(std::move(kept));
        }
    }
}

// Placed files still there, other than a library put back to its original.
std::vector<std::string> SetupRemoval::Remaining(const Manifest& manifest) {
    std::vector<std::string> remaining = leftovers_;
    for (const std::string& path : manifest.placed) {
        if (!OriginalOf(manifest, path) && platform_.PathOK(path)) remaining.push_back(path);
    }
    return remaining;
}

bool SetupRemoval::Fail(const std::string& text) {
    platform_.MsgBox(text, winhost::kCritical, std::string(kTitle));
    return false;
}

}  // namespace setup
