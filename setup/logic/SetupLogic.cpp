#include "logic/SetupLogic.h"

#include "kvl/Error.h"
#include "kvl/Text.h"
#include "logic/BrowseFolder.h"
#include "logic/Manifest.h"
#include "logic/Repoint.h"
#include "logic/Texts.h"
#include "winhost/DriveMap.h"
#include "winhost/RunLog.h"

namespace setup {

namespace {

constexpr std::string_view kProbe =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Applications\\DefaultJCache";
constexpr std::string_view kProfessionalKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Cartelix Professional\\06.00\\Setup\\";
constexpr std::string_view kStandardKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Cartelix\\06.00\\Setup\\";

bool ContainsIgnoringCase(std::string_view text, std::string_view sought) {
    return kvl::Minusculas(text).find(kvl::Minusculas(sought)) != std::string::npos;
}

// Keeps the hourglass up for the life of the object, whatever ends the work.
class BusyCursor {
  public:
    explicit BusyCursor(SetupView& view) : view_(view) { view_.SetBusy(true); }
    ~BusyCursor() { view_.SetBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    SetupView& view_;
};

}  // namespace

SetupLogic::SetupLogic(SetupView& view, SetupPlatform& platform)
    : view_(view), platform_(platform) {}

bool SetupLogic::Form_Load() {
    try {
        MeasureComponents(StagingFolder());
        for (const Component& component : kComponents) view_.AddItem(std::string(component.label));
        // The folder choice works on the selected item, so one must be selected.
        view_.SelectItem(0);
        const bool detected = DetectProduct();
        ShowComponent(0);
        return detected;
    } catch (const kvl::Error& error) {
        platform_.MsgBox(LoadErrorMessage(error), winhost::kCritical, std::string(kTitle));
        return false;
    }
}

std::string SetupLogic::StagingFolder() {
    return platform_.TempFolder() + "\\";
}

void SetupLogic::MeasureComponents(const std::string& staging) {
    const std::string separator = platform_.DecimalSeparator();
    for (size_t i = 0; i < kComponentCount; ++i) {
        const std::string file = staging + std::string(kComponents[i].fileName);
        try {
            sizes_[i] = SizeText(platform_.FileSize(file), separator);
        } catch (const kvl::Error& error) {
            if (error.number() != kvl::kFileNotFound) throw;
            throw MissingComponent(file);
        }
    }
}

bool SetupLogic::DetectProduct() {
    const std::string probe(kProbe);
    if (!ContainsIgnoringCase(platform_.RegRead(probe), "06.00")) {
        platform_.MsgBox(VersionWarning(), winhost::kExclamation, std::string(kTitle));
        return false;
    }
    const std::string key(ContainsIgnoringCase(platform_.RegRead(probe), "Professional")
                              ? kProfessionalKey
                              : kStandardKey);
    targets_[kWarehouse] = platform_.RegRead(key + "WarehouseTarget");
    targets_[kSymbology] = platform_.RegRead(key + "Path") + "Symbols\\";
    targets_[kLibrary] = platform_.RegRead(key + "WorkspaceTarget");
    targets_[kDocumentation] = platform_.RegRead(key + "Path");
    return true;
}

void SetupLogic::ShowComponent(size_t component) {
    view_.ShowInfo(InfoText(kComponents[component], sizes_[component]));
    view_.ShowLocation(targets_[component]);
}

void SetupLogic::tvOptions_NodeClick(const std::string& label) {
    const size_t component = ComponentByLabel(label);
    if (component < kComponentCount) ShowComponent(component);
}

void SetupLogic::cmdBrowse_Click() {
    const size_t component = ComponentByLabel(view_.SelectedItemText());
    const std::string current = component < kComponentCount ? targets_[component] : std::string();
    ApplyChosenFolder(BrowseFolder(platform_, view_.Handle(), current));
}

void SetupLogic::ChooseTarget(size_t component, const std::string& folder) {
    view_.SelectItem(static_cast<int>(component));
    tvOptions_NodeClick(std::string(kComponents[component].label));
    ApplyChosenFolder(AsFolderPrefix(winhost::NormalisedWindowsPath(folder)));
}

void SetupLogic::ApplyChosenFolder(const std::string& folder) {
    if (folder.empty()) return;
    view_.ShowLocation(folder);
    const size_t component = ComponentByLabel(view_.SelectedItemText());
    if (component < kComponentCount) {
        targets_[component] = folder;
        winhost::RunLog::Write(std::string(kComponents[component].label) + ": " + folder);
    }
}

bool SetupLogic::cmdInstall_Click() {
    try {
        BusyCursor busy(view_);
        Install();
    } catch (const kvl::Error& error) {
        platform_.MsgBox(ErrorMessage(error), winhost::kCritical, std::string(kTitle));
        return false;
    }
    platform_.MsgBox(std::string(kCompleted), winhost::kInformation, std::string(kTitle));
    return true;
}

// Every file waits under a temporary name beside its target, the library is re-pointed there,
// and only then do all take their places together: a failure leaves what was installed before
// as it was, never a mix of old and new nor the raw staged library.
void SetupLogic::Install() {
    const std::string staging = StagingFolder();
    const auto fileIn = [this](size_t component) {
        return targets_[component] + std::string(kComponents[component].fileName);
    };
    // What a killed run left would otherwise stay for good; what cannot go now harms nothing.
    for (const std::string& target : targets_) platform_.RemoveLeftovers(target);
    const std::optional<std::string> original = KeepOriginal(platform_, fileIn(kLibrary));
    std::unique_ptr<winhost::Placement> placement = platform_.NewPlacement();
    std::string stagedLibrary;
    for (size_t i = 0; i < kComponentCount; ++i) {
        const std::string staged =
            placement->Stage(staging + std::string(kComponents[i].fileName), fileIn(i));
        if (i == kLibrary) stagedLibrary = staged;
    }
    winhost::RunLog::Write("Referências da biblioteca: " + fileIn(kSymbology) + ", " +
                           fileIn(kWarehouse));
    {  // closed before it moves
        std::unique_ptr<SymbolLibrary> opened = platform_.OpenLibrary(stagedLibrary);
        RepointLibrary(*opened, fileIn(kSymbology), fileIn(kWarehouse));
    }
    placement->Switch();
    placement->Finish();
    Record(original);
}

// The removal's record, once everything is in place.
void SetupLogic::Record(const std::optional<std::string>& original) {
    std::vector<std::string> placed;
    for (size_t i = 0; i < kComponentCount; ++i) {
        placed.push_back(targets_[i] + std::string(kComponents[i].fileName));
    }
    RecordInstallation(platform_, placed, placed[kLibrary], original);
}

}  // namespace setup
