// Python objects reached by member name through the library's client-object interfaces.

#include "ClientObjects.h"

#include <pybind11/stl.h>

#include <string>
#include <vector>

#include "Values.h"
#include "kvl/ClientObjects.h"
#include "kvl/Error.h"

namespace kvlpy {

namespace py = pybind11;

namespace {

// One adapter offers every interface: which members really exist is the Python
// object's affair, and a call to one it lacks is error 438, as a late-bound call is.
class PythonClientObject final : public kvl::ListControl,
                                 public kvl::RowSource,
                                 public kvl::ProgressForm,
                                 public kvl::Language,
                                 public kvl::Window,
                                 public kvl::WindowControl {
  public:
    explicit PythonClientObject(py::object object) : object_(std::move(object)) {}
    const py::object& object() const { return object_; }

    void Clear() override { Member("Clear")(); }
    void AddItem(const std::string& Item) override { Member("AddItem")(Item); }

    bool TemLinhas() override { return ToVariant(Member("TemLinhas")()).ToBool(); }
    kvl::Variant Col(int16_t nIndex) override { return ToVariant(Member("Col")(nIndex)); }

    void Msg(const kvl::Variant& a, const kvl::Variant& b,
             const std::optional<kvl::Variant>& c) override {
        if (c) {
            Member("Msg")(a, b, *c);
        } else {
            Member("Msg")(a, b);
        }
    }

    kvl::Variant Frase(const kvl::Variant& n) override { return ToVariant(Member("Frase")(n)); }
    kvl::Variant Palavra(const kvl::Variant& n) override { return ToVariant(Member("Palavra")(n)); }

    std::string Tag() override { return Get("Tag").ToString(); }
    bool IsMenuItem() override { return Kind("IsMenuItem"); }
    void SetEnabled(bool Enabled) override { Set("Enabled", Enabled); }

    std::string Caption() override { return Get("Caption").ToString(); }
    int16_t WindowState() override { return Get("WindowState").ToInt16(); }
    void SetWindowState(int16_t s) override { Set("WindowState", s); }
    int32_t Left() override { return Get("Left").ToInt32(); }
    void SetLeft(int32_t Left) override { Set("Left", Left); }
    int32_t Top() override { return Get("Top").ToInt32(); }
    void SetTop(int32_t Top) override { Set("Top", Top); }
    int32_t Width() override { return Get("Width").ToInt32(); }
    int32_t Height() override { return Get("Height").ToInt32(); }
    void SetVisible(bool Visible) override { Set("Visible", Visible); }
    int16_t BorderStyle() override { return Get("BorderStyle").ToInt16(); }
    void Move(int32_t Left, int32_t Top, int32_t Width, int32_t Height) override {
        Member("Move")(Left, Top, Width, Height);
    }
    bool IsMdiParent() override { return Kind("IsMdiParent"); }
    std::vector<std::shared_ptr<kvl::WindowControl>> Controls() override {
        py::object controls = Member("Controls");
        if (PyCallable_Check(controls.ptr())) controls = controls();
        std::vector<std::shared_ptr<kvl::WindowControl>> out;
        // None stays an unset control, which the library reports as error 91.
        for (py::handle c : controls)
            out.push_back(c.is_none() ? nullptr
                                      : std::make_shared<PythonClientObject>(
                                            py::reinterpret_borrow<py::object>(c)));
        return out;
    }

  private:
    py::object Member(const char* name) const {
        if (!py::hasattr(object_, name)) throw kvl::Error(kvl::kNoSuchMember);
        return object_.attr(name);
    }
    kvl::Variant Get(const char* name) const { return ToVariant(Member(name)); }
    // A property put: the object must already have the property.
    template <class T>
    void Set(const char* name, T value) {
        Member(name);
        object_.attr(name) = value;
    }
    // What kind of object it is: told by an attribute it may have, false without one.
    bool Kind(const char* name) const {
        return py::hasattr(object_, name) && py::bool_(object_.attr(name));
    }

    py::object object_;
};

class PythonDialogs final : public kvl::Dialogs {
  public:
    explicit PythonDialogs(py::object answer) : answer_(std::move(answer)) {}
    const py::object& answer() const { return answer_; }

    int32_t Pergunta(std::string_view title, std::string_view text, int32_t style) override {
        return ToVariant(answer_(py::str(title.data(), title.size()),
                                 py::str(text.data(), text.size()), style))
            .ToInt32();
    }

  private:
    py::object answer_;
};

}  // namespace

std::shared_ptr<kvl::Object> ClientObjectOf(py::object object) {
    // Through one of its bases: the adapter holds several kvl::Object subobjects.
    std::shared_ptr<kvl::ListControl> adapter =
        std::make_shared<PythonClientObject>(std::move(object));
    return adapter;
}

py::object PythonObjectOf(const std::shared_ptr<kvl::Object>& object) {
    if (auto* adapter = dynamic_cast<PythonClientObject*>(object.get())) return adapter->object();
    return {};
}

std::shared_ptr<kvl::Dialogs> DialogsOf(py::object answer) {
    if (answer.is_none()) return kvl::TerminalDialogs();
    if (!PyCallable_Check(answer.ptr())) throw py::type_error("Dialogos takes a callable or None");
    return std::make_shared<PythonDialogs>(std::move(answer));
}

py::object CallableOf(const std::shared_ptr<kvl::Dialogs>& dialogs) {
    if (auto* python = dynamic_cast<PythonDialogs*>(dialogs.get())) return python->answer();
    return py::none();
}

}  // namespace kvlpy
