#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <string>

namespace platform {

MessageBoxState messageBox;

MessageAnswer ShowMessageBox(std::string_view text, std::string_view title, MessageButtons buttons,
                             MessageIcon icon) {
    if (messageBox.handler) {
        return messageBox.handler(text, title, buttons, icon);
    }
    const std::string textCopy(text);
    const std::string titleCopy(title);
    Uint32 flags = 0;
    switch (icon) {
        case MessageIcon::kCritical: flags = SDL_MESSAGEBOX_ERROR; break;
        case MessageIcon::kExclamation: flags = SDL_MESSAGEBOX_WARNING; break;
        case MessageIcon::kInformation: flags = SDL_MESSAGEBOX_INFORMATION; break;
        case MessageIcon::kNone: break;
    }
    const MessageAnswer fallback = buttons == MessageButtons::kOkOnly ? MessageAnswer::kOkPressed : MessageAnswer::kNo;
    SDL_MessageBoxButtonData okButton[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "OK"}};
    SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 2, "No"}};
    SDL_MessageBoxData data{};
    data.flags = flags;
    data.title = titleCopy.c_str();
    data.message = textCopy.c_str();
    if (buttons == MessageButtons::kOkOnly) {
        data.numbuttons = 1;
        data.buttons = okButton;
    } else {
        data.numbuttons = 2;
        data.buttons = yesNoButtons;
    }
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed < 0) {
        // No display to show it on: the message still reaches the player's terminal.
        std::fprintf(stderr, "%s: %s\n", titleCopy.c_str(), textCopy.c_str());
        return fallback;
    }
    if (buttons == MessageButtons::kOkOnly) {
        return MessageAnswer::kOkPressed;
    }
    return pressed == 1 ? MessageAnswer::kYes : MessageAnswer::kNo;
}

}  // namespace platform
