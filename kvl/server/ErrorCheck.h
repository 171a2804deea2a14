#pragma once
// What the user decided about a failed call: the error check asks, and the loop that made
// the call acts on the answer at its top, never from inside another operation.

namespace kvl {

enum class Decision {
    Continue,           // ignored, aborted, or nothing failed
    Retry,              // make the call again
    Reconnect,          // reopen the links, then go on without the call
    ReconnectAndRetry,  // reopen the links, then make the call again on them
};

inline bool Reconnects(Decision d) {
    return d == Decision::Reconnect || d == Decision::ReconnectAndRetry;
}
inline bool Retries(Decision d) {
    return d == Decision::Retry || d == Decision::ReconnectAndRetry;
}

}  // namespace kvl
