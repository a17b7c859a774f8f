// The desktop side of the dialog's services: Qt message boxes and a detached process start.
#pragma once

#include <string>

#include "launcher/form_logic.h"

class QWidget;

namespace launcher {

// Starts the program detached in its working folder, so it outlives the launcher. False with
// *error saying why (missing, not executable, or refused by the system).
bool StartDetached(const GameStart& start, std::string* error);

// Message boxes owned by parent, and StartDetached.
LauncherServices DesktopServices(QWidget* parent);

}  // namespace launcher
