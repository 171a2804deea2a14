#pragma once
// An application service of the session: it owns a cache, fills it when the session opens,
// writes back what changed when it closes, and forgets it all at the reset. The session
// calls its services through this interface, in the order they were registered.

#include "Runner.h"

namespace kvl {
class kvlSERV;
}

namespace kvl::services {

class Service {
  public:
    virtual ~Service() = default;
    // After the links are open; the session's properties say what to load.
    virtual void Load(Runner&, kvlSERV&) {}
    // Before the links are closed.
    virtual void Save(Runner&, const kvlSERV&) {}
    virtual void Clear() = 0;
};

}  // namespace kvl::services
