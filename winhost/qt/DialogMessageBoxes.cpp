#include "winhost/DialogMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <map>

#include "winhost/Console.h"

namespace winhost {

namespace {

QMessageBox::StandardButton StandardOf(Button button) {
    switch (button) {
        case kOk:
            return QMessageBox::Ok;
        case kCancel:
            return QMessageBox::Cancel;
        case kAbort:
            return QMessageBox::Abort;
        case kRetry:
            return QMessageBox::Retry;
        case kIgnore:
            return QMessageBox::Ignore;
        case kYes:
            return QMessageBox::Yes;
        case kNo:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(Icon icon) {
    switch (icon) {
        case Icon::Error:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

Button DialogMessageBoxes::Ask(const std::string& text, int flags, const std::string& title) {
    const MessageStyle style = DecodeMessageFlags(flags);
    const QString caption =
        title.empty() ? QApplication::applicationDisplayName() : FromUtf8(title);
    QMessageBox box(IconOf(style.icon), caption,
                    FromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::NoButton, QApplication::activeWindow());
    std::map<Button, QPushButton*> shown;
    for (Button button : style.buttons) {
        shown[button] = box.addButton(StandardOf(button));
        shown[button]->setText(FromUtf8(ButtonCaption(button)));
    }
    const Button defaultButton = style.buttons[style.defaultButton];
    box.setDefaultButton(shown[defaultButton]);
    if (scripted_) {
        PrintLine(text);
        QTimer::singleShot(0, shown[scripted_->Next(style)], &QAbstractButton::click);
    }
    // The hourglass of a running installation is not the box's pointer.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
    for (const auto& [button, widget] : shown) {
        if (widget == box.clickedButton()) return button;
    }
    return defaultButton;
}

}  // namespace winhost
