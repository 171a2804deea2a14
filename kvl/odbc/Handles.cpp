#include "kvl/odbc/Handles.h"

namespace kvl::odbc {

std::vector<Diagnostic> Diagnostics(Api& api, Handle env, Handle conn, Handle stmt) {
    std::vector<Diagnostic> records;
    for (int16_t n = 1;; ++n) {
        Diagnostic d;
        if (!Succeeded(api.Error(env, conn, stmt, n, d))) return records;
        records.push_back(std::move(d));
    }
}

Environment::Environment(std::shared_ptr<Api> api) : api_(std::move(api)) {
    status_ = api_->AllocEnv(handle_);
    if (!Succeeded(status_)) handle_ = 0;
}

Environment::~Environment() {
    Reset();
}

Environment::Environment(Environment&& other) noexcept {
    *this = std::move(other);
}

Environment& Environment::operator=(Environment&& other) noexcept {
    if (this != &other) {
        Reset();
        api_ = std::move(other.api_);
        handle_ = std::exchange(other.handle_, 0);
        status_ = std::exchange(other.status_, kError);
    }
    return *this;
}

void Environment::Reset() {
    if (handle_) api_->FreeEnv(std::exchange(handle_, 0));
}

Connection::Connection(Api& api, Handle env) : api_(&api) {
    status_ = api.AllocConnect(env, handle_);
    if (!Succeeded(status_)) handle_ = 0;
}

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        Reset();
        api_ = other.api_;
        handle_ = std::exchange(other.handle_, 0);
        status_ = std::exchange(other.status_, kError);
        connected_ = std::exchange(other.connected_, false);
    }
    return *this;
}

Return Connection::Connect(std::string_view text, uint16_t completion) {
    status_ = api_->DriverConnect(handle_, text, completion);
    connected_ = Succeeded(status_);
    return status_;
}

void Connection::Reset() {
    if (connected_) api_->Disconnect(handle_);
    connected_ = false;
    if (handle_) api_->FreeConnect(std::exchange(handle_, 0));
}

Handle Connection::Release() {
    connected_ = false;
    return std::exchange(handle_, 0);
}

Statement::Statement(Api& api, Handle conn) : api_(&api) {
    status_ = api.AllocStmt(conn, handle_);
    if (!Succeeded(status_)) handle_ = 0;
}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        Reset();
        api_ = other.api_;
        handle_ = std::exchange(other.handle_, 0);
        status_ = std::exchange(other.status_, kError);
    }
    return *this;
}

void Statement::Reset() {
    if (!handle_) return;
    api_->CloseCursor(handle_);
    api_->FreeStmt(std::exchange(handle_, 0));
}

}  // namespace kvl::odbc
