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

void ProgressForm::Msg(const Variant&, const Variant&, const std::optional<Variant>&) {
    throw Error(kNoSuchMember);
}

Variant Language::Frase(const Variant&) {
    throw Error(kNoSuchMember);
}

Variant Language::Palavra(const Variant&) {
    throw Error(kNoSuchMember);
}

std::string WindowControl::Tag() {
    throw Error(kNoSuchMember);
}

bool WindowControl::IsMenuItem() {
    return false;
}

void WindowControl::SetEnabled(bool) {
    throw Error(kNoSuchMember);
}

std::string Window::Caption() {
    throw Error(kNoSuchMember);
}

int16_t Window::WindowState() {
    throw Error(kNoSuchMember);
}

void Window::SetWindowState(int16_t) {
    throw Error(kNoSuchMember);
}

int32_t Window::Left() {
    throw Error(kNoSuchMember);
}

void Window::SetLeft(int32_t) {
    throw Error(kNoSuchMember);
}

int32_t Window::Top() {
    throw Error(kNoSuchMember);
}

void Window::SetTop(int32_t) {
    throw Error(kNoSuchMember);
}

int32_t Window::Width() {
    throw Error(kNoSuchMember);
}

int32_t Window::Height() {
    throw Error(kNoSuchMember);
}

void Window::SetVisible(bool) {
    throw Error(kNoSuchMember);
}

int16_t Window::BorderStyle() {
    throw Error(kNoSuchMember);
}

void Window::Move(int32_t, int32_t, int32_t, int32_t) {
    throw Error(kNoSuchMember);
}

bool Window::IsMdiParent() {
    return false;
}

std::vector<std::shared_ptr<WindowControl>> Window::Controls() {
    throw Error(kNoSuchMember);
}

}  // namespace kvl
