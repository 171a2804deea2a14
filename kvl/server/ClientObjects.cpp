// What a client object answers for a member it does not offer.

#include "kvl/ClientObjects.h"

namespace kvl {

void ListControl::Clear() {
    throw Error(kNoSuchMember);
}

void ListControl::AddItem(const std::string&) {
    throw Error(kNoSuchMember);
}

bool RowSource::TemLinhas() {
    throw Error(kNoSuchMember);
}

Variant RowSource::Col(int16_t) {
    throw Error(kNoSuchMember);
}

}  // namespace kvl
