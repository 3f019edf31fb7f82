#include "ui/positioner_setup_dialog.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "host/host_channel.h"
#include "plugin/module_context.h"
#include "plugin/plugin_state.h"
#include "positioner/positioner_commands.h"
#include "res/resource_ids.h"
#include "store/factory_satellite_table.h"
#include "ui/about_dialog.h"
#include "win/message_box.h"

namespace {

constexpr int SATELLITE_ROWS = static_cast<int>(SATELLITE_COUNT);
constexpr int MAX_DEGREES = 19;
constexpr int INITIAL_DEGREES = 1;
// Names are fetched from the list into buffers of this size for saving.
constexpr int SAVED_NAME_CAPACITY = 150;

}  // namespace

// clang-format off
const MessageEntry<PositionerSetupDialog> PositionerSetupDialog::MESSAGE_MAP[] = {
    onClick(1001, &PositionerSetupDialog::closeWindow),
    onClick(1002, &PositionerSetupDialog::onDriveWest),
    onClick(1003, &PositionerSetupDialog::onDriveEast),
    onClick(1004, &PositionerSetupDialog::onStepWest),
    onClick(1005, &PositionerSetupDialog::onStepEast),
    onClick(1006, &PositionerSetupDialog::onRecalculate),
    onMessage(WM_TIMER, &PositionerSetupDialog::onTick),
    onClick(1014, &PositionerSetupDialog::onStop),
    onClick(1019, &PositionerSetupDialog::onReference),
    onClick(1020, &PositionerSetupDialog::onGoto),
    onClick(1021, &PositionerSetupDialog::onStore),
    onClick(1022, &PositionerSetupDialog::restoreFactorySettings),
    onMessage(WM_SATLIST_CHANGED, &PositionerSetupDialog::onSatListChanged),
    onClick(1040, &PositionerSetupDialog::switchModel),
    onClick(1039, &PositionerSetupDialog::switchModel),
    onMessage(WM_SYSCOMMAND, &PositionerSetupDialog::onSystemCommand),
};
// clang-format on

PositionerSetupDialog::PositionerSetupDialog(HWND owner) : Dialog(IDD_POSITIONER_SETUP, owner) {
    ModuleContext context;
    windowIcon_ = LoadIconA(resourceModule(), MAKEINTRESOURCEA(IDI_DISH));
}

void PositionerSetupDialog::setSettingsPath(std::string path) {
    settings_.emplace(std::move(path), profile_);
}

bool PositionerSetupDialog::route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return dispatchMessage<PositionerSetupDialog>(*this, MESSAGE_MAP, message, wParam, lParam,
                                                  result);
}

void PositionerSetupDialog::DoDataExchange(DataExchange& exchange) {
    exchange.bindControl(1040, moteckRadio_);
    exchange.bindControl(1039, stabRadio_);
    exchange.bindControl(1038, satelliteList_);
    exchange.bindControl(1036, recalculatePicker_);
    exchange.bindControl(1035, storePicker_);
    exchange.bindControl(1034, gotoPicker_);
    exchange.bindControl(1016, eastSpin_);
    exchange.bindControl(1015, eastEdit_);
    exchange.bindControl(1018, westSpin_);
    exchange.bindControl(1017, westEdit_);
}

BOOL PositionerSetupDialog::OnInitDialog() {
    Dialog::OnInitDialog();

    char aboutText[256] = {};
    if (LoadStringA(resourceModule(), IDS_ABOUTBOX, aboutText, sizeof aboutText) > 0) {
        HMENU systemMenu = GetSystemMenu(window(), FALSE);
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText);
    }
    SendMessageA(window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(windowIcon_));
    SendMessageA(window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(windowIcon_));

    for (auto [spin, edit] :
         {std::pair{&westSpin_, &westEdit_}, std::pair{&eastSpin_, &eastEdit_}}) {
        spin->setPosition(INITIAL_DEGREES);
        spin->setRange(0, MAX_DEGREES);
        edit->setText(std::to_string(INITIAL_DEGREES));
    }

    settings_.value().ensureExists();
    const SatelliteNameTable names = settings_.value().readNames();
    const PositionerModel model = settings_.value().readModel();
    applyModel(model);
    stabRadio_.setCheck(model == PositionerModel::Stab ? BST_CHECKED : BST_UNCHECKED);
    moteckRadio_.setCheck(model == PositionerModel::Moteck ? BST_CHECKED : BST_UNCHECKED);

    RECT listRect{};
    GetWindowRect(satelliteList_.hwnd(), &listRect);
    const int width = listRect.right - listRect.left;
    satelliteList_.insertColumn(0, "Satellite", (width * 4) / 8);
    satelliteList_.insertColumn(1, "LNB", (width * 2) / 8);
    satelliteList_.insertColumn(2, "Index", (width * 5) / 32);
    for (int row = 0; row < SATELLITE_ROWS; ++row) {
        satelliteList_.insertSelectedItem(row, names[static_cast<std::size_t>(row)]);
        satelliteList_.setItemText(row, 1, "LNB" + std::to_string(row));
        satelliteList_.setItemText(row, 2, std::to_string(row + 1));
    }
    satelliteList_.setExtendedStyle(0, LVS_EX_GRIDLINES | LVS_EX_TRACKSELECT);
    satelliteList_.parentDialog = this;
    fillPickers(names);

    const std::string apiName = HostChannel(pluginState().hostWindow).identify();
    apiDialect_ = dialectForApiName(apiName);
    Window apiLabel;
    apiLabel.attach(item(1044));
    apiLabel.setText("API: " + apiName);

    // Centred over the owner when it is visible, otherwise on the work area.
    // The template asks to stay above other windows; not every window system
    // derives that from the template, so it is asked for here as well.
    RECT area = workArea();
    HWND owner = GetWindow(window(), GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
    centreAboveOthers(area);
    return TRUE;
}

void PositionerSetupDialog::applyModel(PositionerModel model) {
    positionCount_ = storedPositions(model);
    speed_ = speed(model);
}

std::array<const ComboBox*, 3> PositionerSetupDialog::pickers() const {
    return {&gotoPicker_, &storePicker_, &recalculatePicker_};
}

void PositionerSetupDialog::fillPickers(std::span<const std::string> names,
                                        const std::array<int, 3>& selections) {
    for (const ComboBox* picker : pickers()) picker->resetContent();
    for (int i = 0; i < positionCount_; ++i)
        for (const ComboBox* picker : pickers())
            picker->addString(names[static_cast<std::size_t>(i)]);
    for (std::size_t i = 0; i < selections.size(); ++i)
        pickers()[i]->setCurrentSelection(selections[i]);
}

void PositionerSetupDialog::send(const DiseqcCommand& command) const {
    HostChannel(pluginState().hostWindow).sendCommand(apiDialect_, command);
}

void PositionerSetupDialog::closeWindow() {
    PluginState& state = pluginState();
    if (state.setupWindow == this) state.setupWindow = nullptr;
    DestroyWindow();
}

void PositionerSetupDialog::OnCancel() {
    closeWindow();
}

void PositionerSetupDialog::PostNcDestroy() {
    // A window that went some other way (with an owner, say) must not stay
    // registered as open.
    PluginState& state = pluginState();
    if (state.setupWindow == this) state.setupWindow = nullptr;
    delete this;
}

void PositionerSetupDialog::setMovementControlsEnabled(bool enabled) {
    for (int id : MovementControls) EnableWindow(item(id), enabled ? TRUE : FALSE);
}

void PositionerSetupDialog::showFrame(int control, bool visible) {
    if (control) ShowWindow(item(control), visible ? SW_SHOWNORMAL : SW_HIDE);
}

void PositionerSetupDialog::onDriveWest() {
    drive(westSpin_, false);
}

void PositionerSetupDialog::onDriveEast() {
    drive(eastSpin_, true);
}

void PositionerSetupDialog::drive(const UpDown& spin, bool east) {
    const auto degrees = static_cast<std::uint16_t>(LOWORD(spin.position()));
    if (degrees == 0) return;
    setMovementControlsEnabled(false);
    const DriveStart start = tracker_.startDrive(degrees, speed_, east);
    send(start.command);
    timerHandle_ = SetTimer(window(), MOTION_TIMER_ID, TICK_MS, nullptr);
}

LRESULT PositionerSetupDialog::onTick(WPARAM, LPARAM) {
    const TickOutcome outcome = tracker_.tick();
    if (outcome.driveOver) {
        KillTimer(window(), timerHandle_);
        showFrame(outcome.hideFrame, false);
        setMovementControlsEnabled(true);
    } else {
        showFrame(outcome.hideFrame, false);
        showFrame(outcome.showFrame, true);
    }
    return 0;
}

void PositionerSetupDialog::onStop() {
    const StopOutcome outcome = tracker_.stop();
    if (!outcome.wasCounting) return;
    KillTimer(window(), timerHandle_);
    showFrame(outcome.hideFrame, false);
    setMovementControlsEnabled(true);
    send(PositionerCommands::halt());
}

void PositionerSetupDialog::onStepWest() {
    send(PositionerCommands::stepWest());
}

void PositionerSetupDialog::onStepEast() {
    send(PositionerCommands::stepEast());
}

void PositionerSetupDialog::onReference() {
    send(PositionerCommands::gotoPosition(0));
}

namespace {
// The stored position a picker names, or none when nothing is selected.
int pickerSlot(const ComboBox& picker) {
    const int index = picker.currentSelection();
    return index == CB_ERR ? 0 : index + 1;
}
}  // namespace

void PositionerSetupDialog::onGoto() {
    if (const int slot = pickerSlot(gotoPicker_))
        send(PositionerCommands::gotoPosition(static_cast<std::uint8_t>(slot)));
}

void PositionerSetupDialog::onStore() {
    if (const int slot = pickerSlot(storePicker_))
        send(PositionerCommands::storePosition(static_cast<std::uint8_t>(slot)));
}

void PositionerSetupDialog::onRecalculate() {
    const bool go = confirmed(window(), PLUGIN_DISPLAY_NAME, "Modify all stored Sat. Positions?");
    // The window may have been closed while the question was open.
    if (!go || !window()) return;
    if (const int slot = pickerSlot(recalculatePicker_))
        send(PositionerCommands::recalculatePositions(static_cast<std::uint8_t>(slot)));
}

void PositionerSetupDialog::restoreFactorySettings() {
    const bool go = confirmed(window(), PLUGIN_DISPLAY_NAME, "Reset all stored Sat. Positions?");
    if (!go || !window()) return;
    const auto& factory = FactorySatelliteTable::names();
    const std::vector<std::string> names(factory.begin(), factory.end());
    fillPickers(names);
    settings_.value().writeFactoryNames();
    for (int row = 0; row < SATELLITE_ROWS; ++row)
        satelliteList_.setItemText(row, 0, names[static_cast<std::size_t>(row)]);
    send(PositionerCommands::recalculatePositions(0));
}

void PositionerSetupDialog::switchModel() {
    const int state = moteckRadio_.checkState();
    PositionerModel model;
    if (state == BST_UNCHECKED && positionCount_ != storedPositions(PositionerModel::Stab)) {
        model = PositionerModel::Stab;
    } else if (state == BST_CHECKED && positionCount_ != storedPositions(PositionerModel::Moteck)) {
        model = PositionerModel::Moteck;
    } else {
        return;
    }
    settings_.value().writeModel(model);
    applyModel(model);
    std::vector<std::string> names;
    for (int row = 0; row < positionCount_; ++row) names.push_back(satelliteList_.itemText(row, 0));
    fillPickers(names);
}

LRESULT PositionerSetupDialog::onSatListChanged(WPARAM, LPARAM) {
    // Selections stay by index, that is by slot, whatever name moved there.
    std::array<int, 3> kept{};
    for (std::size_t i = 0; i < kept.size(); ++i) kept[i] = pickers()[i]->currentSelection();
    SatelliteNameTable names;
    for (int row = 0; row < SATELLITE_ROWS; ++row)
        names[static_cast<std::size_t>(row)] = satelliteList_.itemText(row, 0, SAVED_NAME_CAPACITY);
    fillPickers(names, kept);
    settings_.value().writeNames(names);
    return 0;
}

LRESULT PositionerSetupDialog::onSystemCommand(WPARAM command, LPARAM) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) return Default();
    AboutDialog about(nullptr);
    about.DoModal();
    return 0;
}
