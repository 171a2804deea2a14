#pragma once
// The CAD application's automation object on Linux: the command line registered for its class
// is started as a child process that serves the members over the line protocol of Wire.h.

#include <memory>
#include <string>

#include "logic/InstallPlatform.h"
#include "platform/ClassRegistry.h"
#include "winhost/DriveMap.h"

namespace zovlt {

// Throws kvl::Error 429 when the class is not registered or its server cannot be started.
std::unique_ptr<CadApplication> CreateAutomationObject(const ClassRegistry& registry,
                                                       const std::string& className,
                                                       const winhost::DriveMap& drives);

}  // namespace zovlt
