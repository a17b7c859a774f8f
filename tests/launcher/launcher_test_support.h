// What both launcher test files need: a fresh folder per test and the dialog's services
// recorded instead of shown.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "launcher/form_logic.h"
#include "tests/support/temp_folder.h"

namespace launcher_test {

// Config.txt as the launcher writes it, with the joystick on.
inline constexpr const char* kLayout = "16\r\r\n30\r\r\n31\r\r\n32\r\r\n57\r\r\n44\r\r\n45\r\r\n1\r\r\n";

using test_support::TempFolder;

// Message boxes ("title|text") and game starts, recorded; questions get answerYes, starts startSucceeds.
struct Recorder {
    std::vector<std::string> criticals, questions;
    std::vector<launcher::GameStart> starts;
    bool answerYes = false;
    bool startSucceeds = true;

    launcher::LauncherServices Services() {
        launcher::LauncherServices services;
        services.showCritical = [this](std::string_view text, std::string_view title) {
            criticals.push_back(std::string(title) + "|" + std::string(text));
        };
        services.askYesNo = [this](std::string_view text, std::string_view title) {
            questions.push_back(std::string(title) + "|" + std::string(text));
            return answerYes;
        };
        services.startProgram = [this](const launcher::GameStart& start, std::string* error) {
            starts.push_back(start);
            if (!startSucceeds) *error = "No such file.";
            return startSucceeds;
        };
        return services;
    }
};

}  // namespace launcher_test
