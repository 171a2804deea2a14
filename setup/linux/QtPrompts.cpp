#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <cstdlib>
#include <sstream>
#include <utility>
#include <vector>

#include "Prompts.h"

namespace setup {

namespace {

using Buttons = std::vector<std::pair<QMessageBox::StandardButton, int>>;

// The buttons of a message-box style, left to right, with the answer of each.
Buttons ButtonsOf(int flags) {
    switch (flags & 7) {
        case kOkCancel:
            return {{QMessageBox::Ok, kOk}, {QMessageBox::Cancel, kCancel}};
        case kAbortRetryIgnore:
            return {{QMessageBox::Abort, kAbort},
                    {QMessageBox::Retry, kRetry},
                    {QMessageBox::Ignore, kIgnore}};
        case kYesNoCancel:
            return {
                {QMessageBox::Yes, kYes}, {QMessageBox::No, kNo}, {QMessageBox::Cancel, kCancel}};
        case kYesNo:
            return {{QMessageBox::Yes, kYes}, {QMessageBox::No, kNo}};
        case kRetryCancel:
            return {{QMessageBox::Retry, kRetry}, {QMessageBox::Cancel, kCancel}};
        default:
            return {{QMessageBox::Ok, kOk}};
    }
}

QMessageBox::Icon IconOf(int flags) {
    switch (flags & 0x70) {
        case kCritical:
            return QMessageBox::Critical;
        case kQuestion:
            return QMessageBox::Question;
        case kExclamation:
            return QMessageBox::Warning;
        case kInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int ShowMessageBox(const std::string& text, int flags, const std::string& title) {
    QString caption = title.empty() ? QApplication::applicationName() : FromUtf8(title);
    QMessageBox box(IconOf(flags), caption, FromUtf8(text).replace("\r\n", "\n"),
                    QMessageBox::NoButton, QApplication::activeWindow());
    const Buttons buttons = ButtonsOf(flags);
    const size_t defaultIndex = static_cast<size_t>((flags >> 8) & 3);
    for (size_t i = 0; i < buttons.size(); ++i) {
        QPushButton* button = box.addButton(buttons[i].first);
        if (i == defaultIndex) box.setDefaultButton(button);
    }
    const auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& [button, answer] : buttons) {
        if (button == chosen) return answer;
    }
    // The close box of a box without Cancel answers like its only or first button.
    return buttons.front().second;
}

}  // namespace

QtPrompts::QtPrompts() {
    const char* script = std::getenv(kScriptedAnswersVariable);
    if (script == nullptr) return;
    scripted_.emplace();
    std::istringstream answers(script);
    for (std::string answer; std::getline(answers, answer, ',');) {
        if (!answer.empty()) scripted_->push_back(std::atoi(answer.c_str()));
    }
}

int QtPrompts::MsgBox(const std::string& text, int flags, const std::string& title) {
    if (!scripted_) return ShowMessageBox(text, flags, title);
    PrintMessage(title, text);
    if (scripted_->empty()) return UnattendedAnswer(flags);
    const int answer = scripted_->front();
    scripted_->pop_front();
    return answer;
}

std::optional<std::filesystem::path> QtPrompts::ChooseFolder(WindowHandle owner) {
    const QString folder = QFileDialog::getExistingDirectory(
        QWidget::find(static_cast<WId>(owner)), QString(), QString(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) return std::nullopt;
    return std::filesystem::path(folder.toStdString());
}

}  // namespace setup
