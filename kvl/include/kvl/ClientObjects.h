#pragma once
// Objects of the client that the library calls by member name: a list control to fill, a
// row source to read, a progress form, a language object, a window and its controls. A client
// derives from the interface and overrides the members its object offers; a member left out answers
// error 438, as a call by name of a member the object lacks does. The object reaches the library
// inside a Variant; whatever a member throws reaches the library's caller unchanged.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kvl/Error.h"
#include "kvl/Export.h"
#include "kvl/Variant.h"

namespace kvl {

// A list the library empties and fills, one entry at a time.
class KVL_API ListControl : public Object {
  public:
    virtual void Clear();
    virtual void AddItem(const std::string& Item);
};

// Rows read one at a time: TemLinhas moves to the next row and tells whether there was
// one, Col gives column n (from 1) of that row. A kvlRES is one.
class KVL_API RowSource : public Object {
  public:
    virtual bool TemLinhas();
    virtual Variant Col(int16_t nIndex);
};

// A form that shows progress messages; the third argument may be omitted.
class KVL_API ProgressForm : public Object {
  public:
    virtual void Msg(const Variant& a, const Variant& b, const std::optional<Variant>& c);
};

// The client's phrases and words, each found by its number.
class KVL_API Language : public Object {
  public:
    virtual Variant Frase(const Variant& nFrase);
    virtual Variant Palavra(const Variant& nPalavra);
};

// A control of a window. Whether it is a menu item is a question of its kind, not a
// member, so a control that does not say is not one.
class KVL_API WindowControl : public Object {
  public:
    virtual std::string Tag();
    virtual bool IsMenuItem();
    virtual void SetEnabled(bool Enabled);
};

// WindowState values.
inline constexpr int16_t kWindowNormal = 0;
inline constexpr int16_t kWindowMinimized = 1;
inline constexpr int16_t kWindowMaximized = 2;

// A window of the client: its title, state, place and size (in the window layer's own
// units), and its controls. Whether it is a multiple-document parent is a question of its
// kind, like IsMenuItem.
class KVL_API Window : public Object {
  public:
    virtual std::string Caption();
    virtual int16_t WindowState();
    virtual void SetWindowState(int16_t WindowState);
    virtual int32_t Left();
    virtual void SetLeft(int32_t Left);
    virtual int32_t Top();
    virtual void SetTop(int32_t Top);
    virtual int32_t Width();
    virtual int32_t Height();
    virtual void SetVisible(bool Visible);
    virtual int16_t BorderStyle();
    virtual void Move(int32_t Left, int32_t Top, int32_t Width, int32_t Height);
    virtual bool IsMdiParent();
    virtual std::vector<std::shared_ptr<WindowControl>> Controls();
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
