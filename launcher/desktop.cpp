#include "launcher/desktop.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStringList>

namespace launcher {

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool StartDetached(const GameStart& start, std::string* error) {
    const QString program = QString::fromStdString(start.program.string());
    const QFileInfo info(program);
    // QProcess cannot tell why a detached start failed, so the common causes are checked first.
    if (!info.exists()) {
        *error = "The file does not exist.";
        return false;
    }
    if (!info.isFile() || !info.isExecutable()) {
        *error = "The file is not an executable program.";
        return false;
    }
    QStringList arguments;
    for (const std::string& argument : start.arguments) {
        arguments << QString::fromStdString(argument);
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(QString::fromStdString(start.workingDirectory.string()));
    if (!process.startDetached()) {
        *error = "The system refused to start it.";
        return false;
    }
    return true;
}

LauncherServices DesktopServices(QWidget* parent) {
    LauncherServices services;
    services.showCritical = [parent](std::string_view text, std::string_view title) {
        QMessageBox::critical(parent, ToQString(title), ToQString(text));
    };
    services.askYesNo = [parent](std::string_view text, std::string_view title) {
        return QMessageBox::question(parent, ToQString(title), ToQString(text),
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes;
    };
    services.startProgram = StartDetached;
    return services;
}

}  // namespace launcher
