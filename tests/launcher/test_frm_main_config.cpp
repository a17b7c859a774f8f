#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <iostream>
#include <memory>

#include "common/bmp.h"
#include "common/keys_file.h"
#include "launcher/desktop.h"
#include "launcher/frm_main_config.h"
#include "launcher/pictures.h"
#include "launcher_test_support.h"

namespace {

using launcher::FrmMainConfig;
using launcher_test::kLayout;
using launcher_test::Recorder;
using launcher_test::TempFolder;

// X11 keycodes (evdev + 8), as the dialog's key events carry them.
constexpr quint32 kXTab = 23, kXA = 38, kXSpace = 65, kXDown = 116;

bool WaitUntil(const std::function<bool()>& condition, int milliseconds = 2000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds) {
            return false;
        }
        QTest::qWait(5);
    }
    return true;
}

void SendKey(QWidget* target, QEvent::Type type, Qt::Key key, quint32 nativeScanCode) {
    QKeyEvent event(type, key, Qt::NoModifier, nativeScanCode, 0, 0);
    QApplication::sendEvent(target, &event);
}

// A check box reacts only to clicks on its box and text, not anywhere in its row.
void ClickCheckBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

QRgb PixelOf(const QLabel* label, int x, int y) {
    return label->pixmap().toImage().pixel(x, y);
}

// A program folder with the shipped key names, the dialog on it, its services recorded.
class LauncherForm : public ::testing::Test {
protected:
    // Opens the dialog on the folder as it is; config, when given, is written as Config.txt.
    void Open(const char* config, bool show = true,
              const std::string& keys = common::FormatKeyNames(common::KeyNamesFromScanCodeTable())) {
        folder.Write("keys.txt", keys);
        if (config != nullptr) {
            folder.Write("Config.txt", config);
        }
        form = std::make_unique<FrmMainConfig>(folder.Path(), recorder.Services());
        if (show) {
            form->show();
            form->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        }
    }

    const launcher::FormControls& C() const { return form->Controls(); }
    QString Box(int index) const { return C().txtKeys[static_cast<std::size_t>(index)]->text(); }
    QString Desc(int index) const { return C().lblDesc[static_cast<std::size_t>(index)]->text(); }

    // Presses a key in the focused widget, waits until the timer has polled it, releases it.
    void TapKey(Qt::Key key, quint32 nativeScanCode) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        SendKey(QApplication::focusWidget(), QEvent::KeyPress, key, nativeScanCode);
        const int code = launcher::ScanCodeFromNative(nativeScanCode);
        EXPECT_TRUE(WaitUntil([&] { return form->State().currentKey == code; }));
        SendKey(QApplication::focusWidget(), QEvent::KeyRelease, key, nativeScanCode);
    }

    void ClickTab(int index) {
        QTabBar* bar = C().SSTab1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    void ClickBox(int index) {
        QTest::mouseClick(C().txtKeys[static_cast<std::size_t>(index)], Qt::LeftButton);
    }
    // The dialog on Config.txt in the launcher's layout, the Controls tab shown, a key box focused.
    void OpenOnBox(int index) {
        Open(kLayout);
        ClickTab(1);
        ClickBox(index);
    }

    TempFolder folder;
    Recorder recorder;
    std::unique_ptr<FrmMainConfig> form;
};

// Pictures of the expected size are shown, others get a stand-in of that size.
TEST_F(LauncherForm, OpensOnTheStartTabWithTheBindingsAndPicturesFromTheFolder) {
    std::string error;
    ASSERT_TRUE(common::SaveBmp24(folder.Path() / "LauncherBanner.bmp", common::Image(385, 133, 0xFF336699u), &error));
    ASSERT_TRUE(common::SaveBmp24(folder.Path() / "LauncherSide.bmp", common::Image(127, 256, 0xFFCC8844u), &error));
    EXPECT_FALSE(launcher::LoadPicture(folder.Path() / "LauncherSide.bmp", 128, 256, &error));
    EXPECT_NE(error.find("127 x 256"), std::string::npos) << error;
    Open(kLayout, false);
    EXPECT_EQ(C().SSTab1->currentIndex(), 0);
    EXPECT_FALSE(C().chFPS->isChecked());
    const char* codes[] = {"16", "30", "31", "32", "57", "44", "45"};
    const char* descriptions[] = {"Q", "A", "S", "D", "Space", "Z", "X"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Box(i), codes[i]);
        EXPECT_EQ(Desc(i), descriptions[i]);
    }
    EXPECT_TRUE(C().chJoy->isChecked());
    EXPECT_FALSE(form->State().isDirty);  // the joystick from the file is no change
    EXPECT_TRUE(C().Timer1->isActive());
    EXPECT_EQ(C().Timer1->interval(), 1);
    EXPECT_EQ(PixelOf(C().Picture1, 0, 0), 0xFF336699u);
    EXPECT_EQ(PixelOf(C().Picture1, 384, 132), 0xFF336699u);
    EXPECT_EQ(C().Picture2->pixmap().size(), QSize(128, 256));
    EXPECT_NE(PixelOf(C().Picture2, 0, 0), 0xFFCC8844u);
    // Without a change, Exit asks nothing and writes nothing.
    C().cmdCancel->click();
    EXPECT_TRUE(recorder.questions.empty());
    EXPECT_EQ(folder.Read("Config.txt"), kLayout);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(LauncherForm, KeysAreCapturedByNativeScanCodeAndStartWritesThemStartsTheGameAndCloses) {
    Open(kLayout);
    ClickCheckBox(C().chFPS);
    ClickTab(1);
    ClickBox(3);
    SendKey(QApplication::focusWidget(), QEvent::KeyPress, Qt::Key_A, kXA);
    EXPECT_TRUE(WaitUntil([&] { return Box(3) == "30"; }));
    EXPECT_EQ(Desc(3), "A");
    EXPECT_TRUE(form->State().isDirty);
    SendKey(QApplication::focusWidget(), QEvent::KeyRelease, Qt::Key_A, kXA);
    EXPECT_EQ(form->State().keyState[30], 0);
    EXPECT_EQ(Box(2), "31");  // no other box changed
    ClickBox(1);
    TapKey(Qt::Key_Down, kXDown);
    ASSERT_EQ(Box(1), "208");

    QTest::mouseClick(C().cmdSave, Qt::LeftButton);
    EXPECT_TRUE(recorder.criticals.empty());
    EXPECT_EQ(folder.Read("Config.txt"), "16\r\r\n208\r\r\n31\r\r\n30\r\r\n57\r\r\n44\r\r\n45\r\r\n1\r\r\n");
    ASSERT_EQ(recorder.starts.size(), 1u);
    EXPECT_EQ(recorder.starts[0].program, folder.Path() / "corvane");
    EXPECT_EQ(recorder.starts[0].arguments, std::vector<std::string>{"SHOWFPS"});
    EXPECT_TRUE(recorder.questions.empty());
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(C().Timer1->isActive());
}

TEST_F(LauncherForm, TypingAndTabEditNothingArrowsAndSpaceAreCapturedAndADuplicateIsRefused) {
    OpenOnBox(0);
    // QTest's key events carry no native scan code: pure typing, which must change nothing.
    QLineEdit* box = C().txtKeys[0];
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, "9x");
    QTest::qWait(20);
    EXPECT_EQ(Box(0), "16");
    EXPECT_FALSE(form->State().isDirty);

    TapKey(Qt::Key_Tab, kXTab);  // moves to the next box, captured nowhere
    EXPECT_EQ(Box(0), "16");
    EXPECT_EQ(Box(1), "30");
    EXPECT_FALSE(form->State().isDirty);

    // The check box and the tab bar take these keys for themselves; the capture sees them anyway.
    C().chJoy->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return C().chJoy->hasFocus(); }));
    TapKey(Qt::Key_Down, kXDown);
    EXPECT_TRUE(WaitUntil([&] { return Box(1) == "208"; }));
    EXPECT_EQ(Desc(1), "Down Arrow");
    C().SSTab1->tabBar()->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return C().SSTab1->tabBar()->hasFocus(); }));
    TapKey(Qt::Key_Space, kXSpace);  // Down on Space, like Fire
    EXPECT_TRUE(WaitUntil([&] { return Box(1) == "57"; }));

    QTest::mouseClick(C().cmdSave, Qt::LeftButton);
    ASSERT_EQ(recorder.criticals.size(), 1u);
    EXPECT_EQ(recorder.criticals[0],
              "Cannot save|Cannot save.  Two, or more of you keys are bound to the same action.");
    EXPECT_TRUE(recorder.starts.empty());
    EXPECT_EQ(folder.Read("Config.txt"), kLayout);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(LauncherForm, ExitOrClosingAfterAJoystickClickAsksToSave) {
    for (const bool viaExit : {true, false}) {
        SCOPED_TRACE(viaExit ? "Exit, answered No" : "closed, answered Yes");
        recorder.questions.clear();
        recorder.answerYes = !viaExit;
        Open(kLayout);
        ClickTab(1);
        ClickCheckBox(C().chJoy);
        EXPECT_FALSE(C().chJoy->isChecked());
        EXPECT_TRUE(form->State().isDirty);
        if (viaExit) {
            QTest::mouseClick(C().cmdCancel, Qt::LeftButton);
        } else {
            form->close();
        }
        ASSERT_EQ(recorder.questions.size(), 1u);
        EXPECT_EQ(recorder.questions[0], "Save Changes|Do you wish to save any changes?");
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(folder.Read("Config.txt"),
                  viaExit ? kLayout : "16\r\r\n30\r\r\n31\r\r\n32\r\r\n57\r\r\n44\r\r\n45\r\r\n0\r\r\n");
    }
}

TEST_F(LauncherForm, KeysToAnotherWindowAreNotCapturedButReleasesAndLosingTheFocusCount) {
    Open(kLayout);
    QWidget other;  // stands for a message box the dialog opened
    SendKey(&other, QEvent::KeyPress, Qt::Key_A, kXA);
    EXPECT_EQ(form->State().keyState[30], 0);
    SendKey(form.get(), QEvent::KeyPress, Qt::Key_A, kXA);
    EXPECT_NE(form->State().keyState[30], 0);
    SendKey(&other, QEvent::KeyRelease, Qt::Key_A, kXA);
    EXPECT_EQ(form->State().keyState[30], 0);
    // Losing the focus releases every key still down.
    SendKey(form.get(), QEvent::KeyPress, Qt::Key_Down, kXDown);
    EXPECT_NE(form->State().keyState[208], 0);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(form.get(), &deactivate);
    EXPECT_EQ(form->State().keyState, decltype(form->State().keyState){});
}

TEST_F(LauncherForm, ScreenshotsOfBothTabsAreWrittenToTheBuildFolder) {
    Open(nullptr);
    const std::filesystem::path out = std::filesystem::path(STARWAKE_BINARY_DIR) / "launcher-screenshots";
    std::filesystem::create_directories(out);
    const QImage start = form->grab().toImage();
    C().SSTab1->setCurrentIndex(1);
    const QImage controls = form->grab().toImage();
    EXPECT_TRUE(start.save(QString::fromStdString((out / "launcher-start.png").string())));
    EXPECT_TRUE(controls.save(QString::fromStdString((out / "launcher-controls.png").string())));
    // The dialog keeps its size whichever tab shows, and the tabs differ.
    EXPECT_EQ(start.size(), controls.size());
    EXPECT_NE(start, controls);
    std::cout << "Screenshots: " << (out / "launcher-start.png").string() << " and "
              << (out / "launcher-controls.png").string() << '\n';
}

std::string WaitForFile(const TempFolder& folder, const char* name) {
    WaitUntil([&] { return folder.Read(name) != "<missing>"; }, 5000);
    return folder.Read(name);
}

TEST(LauncherDesktop, StartDetachedReportsAMissingOrNonExecutableGameAndPassesTheArgumentsAndTheFolder) {
    TempFolder folder;
    std::string error;
    EXPECT_FALSE(launcher::StartDetached({folder.Path() / "corvane", {}, folder.Path()}, &error));
    EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
    folder.Write("corvane", "not a program");  // written without the execute bit
    EXPECT_FALSE(launcher::StartDetached({folder.Path() / "corvane", {}, folder.Path()}, &error));
    EXPECT_NE(error.find("not an executable"), std::string::npos) << error;
    // A stand-in game that writes down how it was started; the rename makes the file whole.
    folder.Write("corvane",
                 "#!/bin/sh\n{ echo \"$#\"; for a in \"$@\"; do echo \"[$a]\"; done; pwd; } > started.tmp\n"
                 "mv started.tmp started.txt\n");
    std::filesystem::permissions(folder.Path() / "corvane", std::filesystem::perms::owner_all);
    ASSERT_TRUE(launcher::StartDetached({folder.Path() / "corvane", {"SHOWFPS"}, folder.Path()}, &error))
        << error;
    EXPECT_EQ(WaitForFile(folder, "started.txt"), "1\n[SHOWFPS]\n" + folder.Path().string() + "\n");

    std::filesystem::remove(folder.Path() / "started.txt");
    ASSERT_TRUE(launcher::StartDetached({folder.Path() / "corvane", {}, folder.Path()}, &error)) << error;
    EXPECT_EQ(WaitForFile(folder, "started.txt"), "0\n" + folder.Path().string() + "\n");
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Widget tests draw off screen unless the caller asked for a real display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
