#include "platform/LinuxPlatform.h"

#include <QDesktopServices>
#include <QUrl>

#include "platform/AutomationClient.h"
#include "platform/Processes.h"

namespace zovlt {

void LinuxPlatform::StartHidden(const std::string& commandLine) {
    StartDetachedHidden(commandLine, files_.Drives());
}

void LinuxPlatform::RunHidden(const std::string& commandLine) {
    RunHiddenToEnd(commandLine, files_.Drives());
}

void LinuxPlatform::OpenLink(const std::string& url) {
    // As with the shell's document opener, the outcome is not examined.
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

std::unique_ptr<CadApplication> LinuxPlatform::CreateObject(const std::string& className) {
    return CreateAutomationObject(classes_, className, files_.Drives());
}

}  // namespace zovlt
