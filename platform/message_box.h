// Modal message boxes. Without a display the text goes to standard error and the box returns
// its default answer at once, so a headless run never blocks.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace platform {

enum class MessageButtons { kOkOnly, kYesNo };
enum class MessageIcon { kNone, kInformation, kExclamation, kCritical };
enum class MessageAnswer { kOkPressed, kYes, kNo };

struct MessageBoxState {
    // Replaces the real box when set (tests answer it and see what was asked).
    std::function<MessageAnswer(std::string_view text, std::string_view title, MessageButtons,
                                MessageIcon)>
        handler;
};
extern MessageBoxState messageBox;

// The title defaults to the program's caption.
MessageAnswer ShowMessageBox(std::string_view text, std::string_view title = "Starwake",
                             MessageButtons buttons = MessageButtons::kOkOnly,
                             MessageIcon icon = MessageIcon::kNone);

}  // namespace platform
