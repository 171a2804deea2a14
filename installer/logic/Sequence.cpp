#include "logic/Sequence.h"

#include "winhost/Errors.h"
#include "winhost/RunLog.h"

namespace zovlt {

using namespace texts;

Sequence::Sequence(InstallView& view, InstallPlatform& platform, std::string programFolder)
    : view_(view), platform_(platform), programFolder_(std::move(programFolder)) {}

Sequence::~Sequence() = default;

Outcome Sequence::RunStages(const std::function<void()>& stages) {
    try {
        stages();
        CloseCad();
        return Outcome::Completed;
    } catch (const Cancelled&) {
        CloseCad();
        view_.SetProgressCaption(std::string(kInterruptedCaption) + lastCaption_);
        winhost::RunLog::Write(std::string(kInterruptedCaption) + lastCaption_);
        return Outcome::Cancelled;
    }
}

void Sequence::Caption(const std::string& caption) {
    lastCaption_ = caption;
    view_.SetProgressCaption(caption);
    winhost::RunLog::Write(caption);
    view_.Yield();
}

std::string Sequence::StageErrorText(const kvl::Error& error) const {
    return std::string(stageError_) + "\r\n(" + std::to_string(error.number()) + ") " +
           winhost::Description(error);
}

void Sequence::Abandon(const std::string& message) {
    platform_.MessageBox(message, kFailedFlags);
    Cancel();
}

std::vector<std::string> Sequence::MediumFiles(std::string_view folder) {
    const std::string pattern = Medium(folder) + std::string(kAllFiles);
    return Attempt([&] { return platform_.ListFiles(pattern); });
}

void Sequence::StartCad(bool hidden) {
    BeginStage(kStartError);
    Caption(std::string(kStartCaption));
    cad_ = Attempt([&] { return platform_.CreateObject(std::string(kCadClass)); });
    if (hidden) Attempt([&] { cad_->SetVisible(false); });
}

void Sequence::CloseCad() {
    if (!cad_) return;
    Ignoring([&] { cad_->CloseDocument(0, false); });
    view_.Yield();
    Ignoring([&] { cad_->Quit(); });
    view_.Yield();
    // The group first: it belongs to the application.
    menuGroup_.reset();
    cad_.reset();
}

}  // namespace zovlt
