// frmMainConfig: the launcher's dialog. It owns the widgets and forwards every event to the
// logic of form_logic.h, whose state it shows; key events reach the capture timer through an
// application-wide event filter, so keys that focused children handle (arrows on the tab bar
// or a check box) are seen as well.
#pragma once

#include <QWidget>

#include <array>
#include <filesystem>

#include "launcher/form_logic.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimer;

namespace launcher {

// The dialog's controls, named as the form names them.
struct FormControls {
    QTabWidget* SSTab1 = nullptr;                     // tabs "Start" and "Controls"
    QLabel* Picture1 = nullptr;                       // banner above the tabs
    QLabel* Picture2 = nullptr;                       // picture on the "Start" tab
    QLabel* Label4 = nullptr;                         // how to begin, on the "Start" tab
    QCheckBox* chFPS = nullptr;                       // "Show  framerate"
    QLabel* Label1 = nullptr;                         // "Keyboard" column heading
    QLabel* Label2 = nullptr;                         // "Description" column heading
    QLabel* Label3 = nullptr;                         // the joystick note
    std::array<QLabel*, kKeyBoxes> lblKeys{};         // action names
    std::array<QLineEdit*, kKeyBoxes> txtKeys{};      // bound scan codes, set only by capture
    std::array<QLabel*, kKeyBoxes> lblDesc{};         // descriptions of the bound keys
    QCheckBox* chJoy = nullptr;                       // "Enable Joystick"
    QPushButton* cmdSave = nullptr;                   // "&Start"
    QPushButton* cmdCancel = nullptr;                 // "&Exit"
    QTimer* Timer1 = nullptr;                         // 1 ms keyboard poll
};

class FrmMainConfig final : public QWidget {
public:
    // Finds the data and the player's files from the launcher's own folder, loads keys.txt,
    // Config.txt, the pictures and the icon, and starts polling the keyboard.
    FrmMainConfig(const std::filesystem::path& programFolder, LauncherServices services,
                  QWidget* parent = nullptr);
    ~FrmMainConfig() override;

    FrmMainConfig(const FrmMainConfig&) = delete;
    FrmMainConfig& operator=(const FrmMainConfig&) = delete;

    const FormControls& Controls() const { return controls_; }
    const LauncherState& State() const { return state_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void LoadPictures();
    void DIInit();
    void DIDestroy();
    void ShowState();
    void SSTab1Click();
    void Timer1Tick();
    void CmdSaveClick();
    void CmdCancelClick();

    LauncherState state_;
    LauncherServices services_;
    FormControls controls_;
    bool keyboardHooked_ = false;   // the application event filter is installed
    bool leaving_ = false;          // the buttons decided to end: close without asking
};

}  // namespace launcher
