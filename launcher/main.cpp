// CorvaneConfig: the launcher. Binds the keys, writes Config.txt and starts the game.
#include <QApplication>

#include <filesystem>

#include "common/app_ids.h"
#include "launcher/frm_main_config.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The desktop matches the window to its entry and icon by these names.
    QApplication::setApplicationName("CorvaneConfig");
    QGuiApplication::setDesktopFileName(QString::fromUtf8(common::kLauncherAppId.data(),
                                                          static_cast<qsizetype>(common::kLauncherAppId.size())));
    // The game lies beside the launcher; the data and the player's Config.txt are found from here.
    const std::filesystem::path folder = QCoreApplication::applicationDirPath().toStdString();
    launcher::FrmMainConfig form(folder, launcher::LauncherServices{});
    QApplication::setWindowIcon(form.windowIcon());
    form.show();
    return app.exec();
}
