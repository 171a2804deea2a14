#pragma once
// What the installation and the removal share: steps run stage by stage, a failed step offered
// again (Retry) or the whole sequence abandoned (Cancel), captions on the progress line, and the
// CAD application started for its configuration and closed again.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kvl/Error.h"
#include "logic/InstallPlatform.h"
#include "logic/InstallView.h"
#include "logic/Texts.h"

namespace zovlt {

enum class Outcome {
    NotStarted,  // confirmation declined, or the sequence already ran
    Completed,
    Cancelled,  // Cancel in a stage error dialog
};

class Sequence {
  protected:
    // programFolder: the Windows path of the folder that holds the program, no trailing "\".
    Sequence(InstallView& view, InstallPlatform& platform, std::string programFolder);
    ~Sequence();
    Sequence(const Sequence&) = delete;
    Sequence& operator=(const Sequence&) = delete;

    // Runs the stages, then closes the CAD application if they started it; after Cancel too,
    // since it would otherwise run on unseen. Cancel leaves the step that failed on the
    // progress line.
    Outcome RunStages(const std::function<void()>& stages);

    static std::string Str(std::string_view text) { return std::string(text); }

    // The error text of the stage's failures.
    void BeginStage(std::string_view errorText) { stageError_ = errorText; }
    // Shows the caption on the progress line, writes it to the run's log, then yields.
    void Caption(const std::string& caption);

    // Runs one step; on failure asks Retry or Cancel. Retry runs the same step again, Cancel
    // abandons the sequence.
    template <class Step>
    auto Attempt(Step&& step) -> decltype(step());
    // Runs a step whose failure must not stop what follows.
    template <class Step>
    void Ignoring(Step&& step);

    // The names of the files in a folder of the medium, relative to the program's folder.
    std::vector<std::string> MediumFiles(std::string_view folder);
    std::string Medium(std::string_view relative) const {
        return programFolder_ + std::string(relative);
    }

    // Shows the message (critical, OK only) and abandons the sequence as Cancel does.
    [[noreturn]] void Abandon(const std::string& message);

    // The stage that starts the CAD application, hidden when asked.
    void StartCad(bool hidden);
    // Closes the first drawing unsaved, quits and releases the application, every error
    // ignored; nothing when it is not running.
    void CloseCad();

    InstallView& view_;
    InstallPlatform& platform_;
    std::unique_ptr<CadApplication> cad_;
    std::unique_ptr<CadMenuGroup> menuGroup_;  // after the application: released first

  private:
    struct Cancelled {};
    [[noreturn]] void Cancel() { throw Cancelled{}; }
    std::string StageErrorText(const kvl::Error& error) const;

    std::string programFolder_;
    std::string_view stageError_;
    std::string lastCaption_;
};

template <class Step>
auto Sequence::Attempt(Step&& step) -> decltype(step()) {
    for (;;) {
        try {
            return step();
        } catch (const kvl::Error& error) {
            if (platform_.MessageBox(StageErrorText(error), texts::kStageErrorFlags) !=
                winhost::kRetry) {
                Cancel();
            }
        }
    }
}

template <class Step>
void Sequence::Ignoring(Step&& step) {
    try {
        step();
    } catch (const kvl::Error&) {
        // Nothing to do: these steps must not stop what follows.
    }
}

}  // namespace zovlt
