// CorvaneConfig: the launcher. Binds the keys, writes Config.txt and starts the game.
#include <QApplication>

#include <filesystem>

#include "launcher/frm_main_config.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // keys.txt, Config.txt, the pictures and the game all live in the launcher's own folder.
    const std::filesystem::path folder = QCoreApplication::applicationDirPath().toStdString();
    launcher::FrmMainConfig form(folder, launcher::LauncherServices{});
    form.show();
    return app.exec();
}
