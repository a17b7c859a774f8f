#include "launcher/frm_main_config.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <iostream>
#include <utility>

#include "launcher/desktop.h"
#include "launcher/pictures.h"

namespace launcher {

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* Heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel* PictureLabel(const QImage& image, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap::fromImage(image));
    label->setFixedSize(image.size());
    return label;
}

// The description column has room for the longest key name of the scan-code table and a
// fixed width, so neither a capture nor a long name from keys.txt changes the dialog's size.
constexpr int kDescriptionWidth = 190;
constexpr int kKeyBoxWidth = 56;

}  // namespace

FrmMainConfig::FrmMainConfig(const std::filesystem::path& programFolder, LauncherServices services,
                             QWidget* parent)
    : QWidget(parent, Qt::Dialog) {
    FindPlaces(state_, programFolder);
    // Whatever the caller leaves out comes from the desktop, with message boxes owned by the dialog.
    const LauncherServices desktop = DesktopServices(this);
    services_.showCritical = services.showCritical ? std::move(services.showCritical) : desktop.showCritical;
    services_.askYesNo = services.askYesNo ? std::move(services.askYesNo) : desktop.askYesNo;
    services_.startProgram = services.startProgram ? std::move(services.startProgram) : desktop.startProgram;

    setWindowTitle(ToQString(kLauncherTitle));
    setWindowIcon(LauncherIcon(state_.dataFolder));
    BuildControls();
    LoadPictures();
    FormLoad(state_);
    ShowState();
    DIInit();
}

FrmMainConfig::~FrmMainConfig() {
    DIDestroy();
}

void FrmMainConfig::BuildControls() {
    FormControls& c = controls_;
    auto* root = new QVBoxLayout(this);
    root->setSizeConstraint(QLayout::SetFixedSize);
    root->setContentsMargins(10, 10, 10, 10);
    root->setSpacing(8);

    c.Picture1 = PictureLabel(BannerStandIn(), this);
    root->addWidget(c.Picture1, 0, Qt::AlignHCenter);

    c.SSTab1 = new QTabWidget(this);
    root->addWidget(c.SSTab1);

    auto* startTab = new QWidget;
    auto* startLayout = new QHBoxLayout(startTab);
    startLayout->setContentsMargins(10, 12, 10, 10);
    startLayout->setSpacing(14);
    c.Picture2 = PictureLabel(SideStandIn(), startTab);
    startLayout->addWidget(c.Picture2, 0, Qt::AlignTop);
    auto* startText = new QVBoxLayout;
    c.Label4 = new QLabel(
        "Press Start to begin the game, or click the controls tab to configure your keyboard "
        "and/or joystick controls.",
        startTab);
    c.Label4->setWordWrap(true);
    startText->addWidget(c.Label4);
    startText->addSpacing(16);
    c.chFPS = new QCheckBox("Show  framerate", startTab);
    startText->addWidget(c.chFPS);
    startText->addStretch(1);
    startLayout->addLayout(startText, 1);
    c.SSTab1->addTab(startTab, "Start");

    auto* controlsTab = new QWidget;
    auto* grid = new QGridLayout(controlsTab);
    grid->setContentsMargins(12, 10, 12, 10);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(5);
    c.Label1 = Heading("Keyboard", controlsTab);
    c.Label2 = Heading("Description", controlsTab);
    grid->addWidget(c.Label1, 0, 1, Qt::AlignHCenter);
    grid->addWidget(c.Label2, 0, 2);
    for (int i = 0; i < kKeyBoxes; ++i) {
        const auto at = static_cast<std::size_t>(i);
        c.lblKeys[at] = new QLabel(ToQString(kActionCaptions[at]), controlsTab);
        c.txtKeys[at] = new QLineEdit(controlsTab);
        // A key box changes only by capture: typing, pasting and dropping are all refused.
        c.txtKeys[at]->setReadOnly(true);
        c.txtKeys[at]->setAlignment(Qt::AlignCenter);
        c.txtKeys[at]->setFixedWidth(kKeyBoxWidth);
        c.txtKeys[at]->setContextMenuPolicy(Qt::NoContextMenu);
        c.txtKeys[at]->setObjectName(QString("txtKeys%1").arg(i));
        c.lblDesc[at] = new QLabel(controlsTab);
        c.lblDesc[at]->setFixedWidth(kDescriptionWidth);
        // keys.txt is data: its descriptions are shown as written, never as markup.
        c.lblDesc[at]->setTextFormat(Qt::PlainText);
        grid->addWidget(c.lblKeys[at], i + 1, 0);
        grid->addWidget(c.txtKeys[at], i + 1, 1);
        grid->addWidget(c.lblDesc[at], i + 1, 2);
    }
    c.chJoy = new QCheckBox("Enable Joystick", controlsTab);
    grid->addWidget(c.chJoy, kKeyBoxes + 1, 0, 1, 3);
    grid->setRowMinimumHeight(kKeyBoxes + 1, 30);
    c.Label3 = new QLabel("Note:  Joystick requires at least a 4 button joystick or gamepad.", controlsTab);
    c.Label3->setWordWrap(true);
    grid->addWidget(c.Label3, kKeyBoxes + 2, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    c.SSTab1->addTab(controlsTab, "Controls");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    c.cmdSave = new QPushButton("&Start", this);
    c.cmdCancel = new QPushButton("&Exit", this);
    // Enter is a key the player may bind: it must never press a button by itself.
    for (QPushButton* button : {c.cmdSave, c.cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setMinimumWidth(90);
        buttons->addWidget(button);
    }
    root->addLayout(buttons);

    c.Timer1 = new QTimer(this);
    c.Timer1->setInterval(1);
    c.Timer1->setTimerType(Qt::PreciseTimer);

    connect(c.SSTab1, &QTabWidget::currentChanged, this, [this] { SSTab1Click(); });
    connect(c.Timer1, &QTimer::timeout, this, [this] { Timer1Tick(); });
    connect(c.chJoy, &QCheckBox::toggled, this, [this](bool checked) { ChJoyClick(state_, checked); });
    connect(c.chFPS, &QCheckBox::toggled, this, [this](bool checked) { state_.chFPS = checked; });
    connect(c.cmdSave, &QPushButton::clicked, this, [this] { CmdSaveClick(); });
    connect(c.cmdCancel, &QPushButton::clicked, this, [this] { CmdCancelClick(); });
}

void FrmMainConfig::LoadPictures() {
    std::string error;
    if (auto banner = LoadPicture(state_.dataFolder / kBannerFileName, kBannerWidth, kBannerHeight, &error)) {
        controls_.Picture1->setPixmap(QPixmap::fromImage(*banner));
    } else {
        std::cerr << "CorvaneConfig: " << error << "; drawing the banner instead\n";
    }
    if (auto side = LoadPicture(state_.dataFolder / kSideFileName, kSideWidth, kSideHeight, &error)) {
        controls_.Picture2->setPixmap(QPixmap::fromImage(*side));
    } else {
        std::cerr << "CorvaneConfig: " << error << "; drawing the side picture instead\n";
    }
}

void FrmMainConfig::DIInit() {
    if (!keyboardHooked_) {
        qApp->installEventFilter(this);
        keyboardHooked_ = true;
    }
    controls_.Timer1->start();
}

void FrmMainConfig::DIDestroy() {
    controls_.Timer1->stop();
    if (keyboardHooked_) {
        qApp->removeEventFilter(this);
        keyboardHooked_ = false;
    }
    KeyboardClear(state_);
}

void FrmMainConfig::ShowState() {
    for (std::size_t i = 0; i < kKeyBoxes; ++i) {
        const QString keyText = QString::fromStdString(state_.txtKeys[i]);
        if (controls_.txtKeys[i]->text() != keyText) {
            controls_.txtKeys[i]->setText(keyText);
        }
        const QString description = QString::fromStdString(state_.lblDesc[i]);
        if (controls_.lblDesc[i]->text() != description) {
            controls_.lblDesc[i]->setText(description);
        }
    }
    // Only Config.txt changes the switch behind the box's back: showing it is no user change.
    if (controls_.chJoy->isChecked() != state_.chJoy) {
        state_.isLoading = true;
        controls_.chJoy->setChecked(state_.chJoy);
        state_.isLoading = false;
    }
    controls_.chFPS->setChecked(state_.chFPS);
}

void FrmMainConfig::SSTab1Click() {
    RefreshDescriptions(state_);
    ShowState();
}

void FrmMainConfig::Timer1Tick() {
    // The poll never runs twice at once, even if a handler below opens a nested event loop.
    controls_.Timer1->stop();
    if (Timer1Timer(state_)) {
        ShowState();
    }
    if (keyboardHooked_) {
        controls_.Timer1->start();
    }
}

void FrmMainConfig::CmdSaveClick() {
    if (launcher::CmdSaveClick(state_, services_) == StartOutcome::kStarted) {
        leaving_ = true;
        close();
    }
}

void FrmMainConfig::CmdCancelClick() {
    // Closing asks the question; the window's close button takes the same way out.
    close();
}

bool FrmMainConfig::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    // A key that triggers a shortcut (the buttons' Alt mnemonics) gets no KeyPress, only this.
    case QEvent::ShortcutOverride: {
        const auto* key = static_cast<const QKeyEvent*>(event);
        // Only keys typed into this dialog count, not answers to its message boxes.
        const bool inDialog =
            watched == windowHandle() ||
            (watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this);
        if (inDialog && !key->isAutoRepeat()) {
            KeyboardPress(state_, key->nativeScanCode());
        }
        break;
    }
    case QEvent::KeyRelease: {
        // A release clears its key wherever it lands, so no key stays down by mistake.
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            KeyboardRelease(state_, key->nativeScanCode());
        }
        break;
    }
    case QEvent::FocusIn:
        for (int i = 0; i < kKeyBoxes; ++i) {
            if (watched == controls_.txtKeys[static_cast<std::size_t>(i)]) {
                TxtKeysGotFocus(state_, i);
            }
        }
        break;
    case QEvent::WindowDeactivate:
    case QEvent::ApplicationDeactivate:
        // Releases that happen elsewhere never reach us: forget every key.
        if (watched == this || watched == qApp) {
            KeyboardClear(state_);
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmMainConfig::closeEvent(QCloseEvent* event) {
    if (!leaving_ && !launcher::CmdCancelClick(state_, services_)) {
        event->ignore();
        return;
    }
    leaving_ = true;
    DIDestroy();
    event->accept();
}

}  // namespace launcher
