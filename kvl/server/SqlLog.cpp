// The session's in-memory SQL log.

#include "SessionImpl.h"
#include "kvl/Error.h"

namespace kvl {

void kvlSERV::HistoriaAdd(std::string_view com, std::string_view Param, std::optional<bool> LF) {
    std::string entry;
    entry.reserve(com.size() + 1 + Param.size());
    entry.append(com).append(1, '\t').append(Param);
    impl().history.push_back(std::move(entry));
    if (LF.value_or(false)) impl().history.emplace_back();
}

Variant kvlSERV::Logs(int32_t nIndex) const {
    if (nIndex == -1) return Variant(static_cast<int32_t>(impl().history.size() - 1));
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= impl().history.size())
        throw Error(kSubscriptOutOfRange);
    return Variant(impl().history[nIndex]);
}

}  // namespace kvl
