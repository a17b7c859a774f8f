// What both launcher test files need: a fresh folder per test (tests run in parallel
// processes) and the dialog's services recorded instead of shown.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/form_logic.h"

namespace launcher_test {

// Config.txt as the launcher writes it, with the joystick on.
inline constexpr const char* kLayout = "16\r\r\n30\r\r\n31\r\r\n32\r\r\n57\r\r\n44\r\r\n45\r\r\n1\r\r\n";

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "starwake-launcher-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // A name relative to the folder, or a whole path.
    void Write(const std::filesystem::path& name, std::string_view bytes) const {
        std::ofstream(path_ / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    // The file's bytes, or "<missing>" when there is no such file.
    std::string Read(const std::filesystem::path& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
    }

private:
    std::filesystem::path path_;
};

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
