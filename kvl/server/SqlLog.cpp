// The session's in-memory SQL log.

#include "kvl/Error.h"
#include "kvl/kvlSERV.h"

namespace kvl {

void kvlSERV::HistoriaAdd(std::string_view com, std::string_view Param, std::optional<bool> LF) {
    std::string entry;
    entry.reserve(com.size() + 1 + Param.size());
    entry.append(com).append(1, '\t').append(Param);
    historia_.push_back(std::move(entry));
    if (LF.value_or(false)) historia_.emplace_back();
}

Variant kvlSERV::Logs(int32_t nIndex) const {
    if (nIndex == -1) return Variant(static_cast<int32_t>(historia_.size() - 1));
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= historia_.size())
        throw Error(kSubscriptOutOfRange);
    return Variant(historia_[nIndex]);
}

}  // namespace kvl
