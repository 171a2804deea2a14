#include "app/ConsoleView.h"

#include "winhost/Console.h"

namespace setup {

void ConsoleView::AddItem(const std::string& label) {
    items_.push_back(label);
    winhost::PrintLine(label);
}

std::string ConsoleView::SelectedItemText() const {
    const bool valid = selected_ >= 0 && static_cast<size_t>(selected_) < items_.size();
    return valid ? items_[static_cast<size_t>(selected_)] : std::string();
}

void ConsoleView::ShowInfo(const std::string& text) {
    winhost::PrintLine(text);
}

void ConsoleView::ShowLocation(const std::string& text) {
    winhost::PrintLine(text);
}

}  // namespace setup
