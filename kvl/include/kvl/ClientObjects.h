#pragma once
// Objects of the client that the library calls by member name: a list control to fill, a
// row source to read. A client derives from the interface and overrides the members its
// object offers; a member left out answers error 438, as a call by name of a member the
// object lacks does. The object reaches the library inside a Variant; whatever a member
// throws reaches the library's caller unchanged.

#include <cstdint>
#include <memory>
#include <string>

#include "kvl/Error.h"
#include "kvl/Variant.h"

namespace kvl {

// A list the library empties and fills, one entry at a time.
class ListControl : public Object {
  public:
    virtual void Clear();
    virtual void AddItem(const std::string& Item);
};

// Rows read one at a time: TemLinhas moves to the next row and tells whether there was
// one, Col gives column n (from 1) of that row. A kvlRES is one.
class RowSource : public Object {
  public:
    virtual bool TemLinhas();
    virtual Variant Col(int16_t nIndex);
};

// The object a variant holds, as the interface I: error 91 when the variant holds no
// object, 438 when the object offers none of I's members.
template <class I>
std::shared_ptr<I> ClientObject(const Variant& v) {
    if (v.kind() != Variant::Kind::Object || !v.object()) throw Error(kObjectNotSet);
    auto offered = std::dynamic_pointer_cast<I>(v.object());
    if (!offered) throw Error(kNoSuchMember);
    return offered;
}

}  // namespace kvl
