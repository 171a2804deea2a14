#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <iostream>
#include <map>

#include "MessageStyle.h"

namespace zovlt {

namespace {

struct ButtonInfo {
    MessageButton id;
    QMessageBox::StandardButton standard;
    const char* name;     // as scripted
    const char* caption;  // as shown
};

constexpr ButtonInfo kButtons[] = {
    {kButtonOk, QMessageBox::Ok, "ok", "OK"},
    {kButtonCancel, QMessageBox::Cancel, "cancel", "Cancelar"},
    {kButtonAbort, QMessageBox::Abort, "abort", "Anular"},
    {kButtonRetry, QMessageBox::Retry, "retry", "Repetir"},
    {kButtonIgnore, QMessageBox::Ignore, "ignore", "Ignorar"},
    {kButtonYes, QMessageBox::Yes, "yes", "Sim"},
    {kButtonNo, QMessageBox::No, "no", "Não"},
};

const ButtonInfo& Info(MessageButton id) {
    for (const auto& info : kButtons) {
        if (info.id == id) return info;
    }
    return kButtons[0];
}

QMessageBox::Icon IconFor(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

std::deque<MessageButton> ParseAnswers(const QString& list) {
    std::deque<MessageButton> answers;
    for (const QString& name : list.split(',', Qt::SkipEmptyParts)) {
        for (const auto& info : kButtons) {
            if (name.trimmed().compare(QLatin1String(info.name), Qt::CaseInsensitive) == 0) {
                answers.push_back(info.id);
            }
        }
    }
    return answers;
}

}  // namespace

DialogMessageBoxes::DialogMessageBoxes()
    : scripted_(qEnvironmentVariableIsSet("ZOVLT_ANSWERS")),
      answers_(ParseAnswers(qEnvironmentVariable("ZOVLT_ANSWERS"))) {}

int DialogMessageBoxes::Show(const std::string& text, int flags) {
    const MessageStyle style = DecodeMessageFlags(flags);
    QMessageBox box(IconFor(style.icon), QApplication::applicationDisplayName(),
                    QString::fromStdString(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    std::map<QAbstractButton*, MessageButton> ids;
    for (MessageButton id : style.buttons) {
        QPushButton* button = box.addButton(Info(id).standard);
        button->setText(QString::fromUtf8(Info(id).caption));
        ids[button] = id;
    }
    QAbstractButton* defaultButton = box.button(Info(style.buttons[style.defaultButton]).standard);
    box.setDefaultButton(static_cast<QPushButton*>(defaultButton));
    if (scripted_) {
        QAbstractButton* scripted = defaultButton;
        if (!answers_.empty()) {
            if (auto* wanted = box.button(Info(answers_.front()).standard)) scripted = wanted;
            answers_.pop_front();
        }
        QTimer::singleShot(0, scripted, &QAbstractButton::click);
    }
    // The hourglass of a running installation is not the box's pointer.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
    const auto chosen = ids.find(box.clickedButton());
    return chosen != ids.end() ? chosen->second : style.buttons[style.defaultButton];
}

int PrintedMessageBoxes::Show(const std::string& text, int flags) {
    std::string line = text;
    for (size_t at; (at = line.find_first_of("\r\n")) != std::string::npos;) {
        const size_t length = line.compare(at, 2, "\r\n") == 0 ? 2 : 1;
        line.replace(at, length, " ");
    }
    std::cout << line << std::endl;
    return UnattendedAnswer(DecodeMessageFlags(flags));
}

}  // namespace zovlt
