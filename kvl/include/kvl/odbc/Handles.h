#pragma once
// ODBC handles that own themselves: each is allocated by its constructor through the
// seam and freed exactly once by its destructor (a connection disconnects first when
// its connect succeeded). They move, never copy. Children must go before their parent:
// declare a statement after its connection and a connection after its environment.

#include <memory>
#include <string_view>
#include <utility>

#include "kvl/Export.h"
#include "kvl/odbc/Api.h"

namespace kvl::odbc {

class KVL_API Environment {
  public:
    // Allocates an environment on api; status() tells whether it succeeded.
    explicit Environment(std::shared_ptr<Api> api);
    ~Environment();
    Environment(Environment&& other) noexcept;
    Environment& operator=(Environment&& other) noexcept;

    Handle get() const { return handle_; }
    Return status() const { return status_; }
    Api& api() const { return *api_; }
    // Frees the handle now.
    void Reset();

  private:
    std::shared_ptr<Api> api_;
    Handle handle_ = 0;
    Return status_ = kError;
};

class KVL_API Connection {
  public:
    Connection() = default;
    // Allocates a connection in env; status() tells whether it succeeded.
    Connection(Api& api, Handle env);
    ~Connection() { Reset(); }
    Connection(Connection&& other) noexcept { *this = std::move(other); }
    Connection& operator=(Connection&& other) noexcept;

    // Connects with a full connection text, without prompting unless completion asks.
    Return Connect(std::string_view text, uint16_t completion = 0);
    Handle get() const { return handle_; }
    Return status() const { return status_; }
    bool connected() const { return connected_; }
    // Disconnects when connected and frees the handle now.
    void Reset();
    // Gives the handle up to the caller, who then disconnects and frees it.
    Handle Release();

  private:
    Api* api_ = nullptr;
    Handle handle_ = 0;
    Return status_ = kError;
    bool connected_ = false;
};

class KVL_API Statement {
  public:
    Statement() = default;
    // Allocates a statement on a connected connection; status() tells whether it succeeded.
    Statement(Api& api, Handle conn);
    ~Statement() { Reset(); }
    Statement(Statement&& other) noexcept { *this = std::move(other); }
    Statement& operator=(Statement&& other) noexcept;

    Handle get() const { return handle_; }
    Return status() const { return status_; }
    // Closes the cursor and frees the handle now.
    void Reset();
    // Gives the handle up to the caller, who then frees it.
    Handle Release() { return std::exchange(handle_, 0); }

  private:
    Api* api_ = nullptr;
    Handle handle_ = 0;
    Return status_ = kError;
};

}  // namespace kvl::odbc
