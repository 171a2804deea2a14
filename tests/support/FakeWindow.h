#pragma once
// A client window and its controls as plain state, recording what the library did to them.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kvl/ClientObjects.h"

namespace kvltest {

class FakeControl : public kvl::WindowControl {
  public:
    FakeControl(std::string tag, bool menuItem) : tag_(std::move(tag)), menuItem_(menuItem) {}
    std::string Tag() override {
        ++tagReads;
        return tag_;
    }
    bool IsMenuItem() override { return menuItem_; }
    void SetEnabled(bool e) override { enabled = e; }

    std::optional<bool> enabled;  // empty until the library sets it
    int tagReads = 0;

  private:
    std::string tag_;
    bool menuItem_;
};

class FakeWindow : public kvl::Window {
  public:
    std::string caption;
    int16_t state = kvl::kWindowNormal;
    int32_t left = 0, top = 0, width = 0, height = 0;
    int16_t border = 2;  // sizable
    bool mdiParent = false;
    bool visible = true;
    std::vector<std::shared_ptr<kvl::WindowControl>> controls;

    FakeWindow(std::string c, int32_t l, int32_t t, int32_t w, int32_t h,
               int16_t s = kvl::kWindowNormal)
        : caption(std::move(c)), state(s), left(l), top(t), width(w), height(h) {}

    std::string Caption() override { return caption; }
    int16_t WindowState() override { return state; }
    void SetWindowState(int16_t s) override { state = s; }
    int32_t Left() override { return left; }
    void SetLeft(int32_t v) override { left = v; }
    int32_t Top() override { return top; }
    void SetTop(int32_t v) override { top = v; }
    int32_t Width() override { return width; }
    int32_t Height() override { return height; }
    void SetVisible(bool v) override { visible = v; }
    int16_t BorderStyle() override { return border; }
    void Move(int32_t l, int32_t t, int32_t w, int32_t h) override {
        left = l, top = t, width = w, height = h;
    }
    bool IsMdiParent() override { return mdiParent; }
    std::vector<std::shared_ptr<kvl::WindowControl>> Controls() override { return controls; }
};

// A client object (a window, a list, a row source) inside a variant, as the library takes it.
template <class T>
kvl::Variant AsVariant(const std::shared_ptr<T>& o) {
    return kvl::Variant(std::shared_ptr<kvl::Object>(o));
}

}  // namespace kvltest
