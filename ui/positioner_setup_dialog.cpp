#include "ui/positioner_setup_dialog.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <utility>

#include "positioner/joined_text.h"
#include "positioner/decimal_text.h"
#include "positioner/positioner_commands.h"
#include "res/resource_ids.h"
#include "store/factory_satellite_table.h"
#include "ui/about_dialog.h"
#include "ui/sat_name_dialog.h"

namespace {

constexpr int MAX_DEGREES = 19;
constexpr char UNSAVED_NAMES[] =
    "The satellite names could not be saved: the settings file could not be written. It still "
    "holds the names saved before.";
constexpr char UNSAVED_MODEL[] =
    "The positioner model could not be saved: the settings file could not be written. It still "
    "holds the model saved before.";
constexpr char NAMES_NOT_CHANGED[] =
    "The satellite names were not changed: the settings file could not be read just now. "
    "Another program may be using it; try again in a moment.";
constexpr char NAMES_UNREAD[] =
    "The satellite names could not be read: another program may be using the settings file. "
    "The list shows the factory names in their place. Your own names stay in the file; a change "
    "of a name reads them again first.";

// The indicator's pictures in the tracker's numbering; the controls' ids are
// not consecutive.
constexpr std::array<int, INDICATOR_PICTURES> INDICATOR_FRAMES{
    IDC_FRAME_1, IDC_FRAME_2, IDC_FRAME_3, IDC_FRAME_4, IDC_FRAME_5};

// Locked during a tracked drive, always walked in this order.
constexpr std::array<int, 12> MovementControls{IDC_DRIVE_WEST, IDC_DRIVE_EAST,  IDC_STEP_WEST,
                                               IDC_STEP_EAST,  IDC_REFERENCE,   IDC_GOTO,
                                               IDC_STORE,      IDC_RECALCULATE, IDC_FACTORY_RESET,
                                               IDC_CLOSE,      IDC_MODEL_STAB,  IDC_MODEL_MOTECK};

}  // namespace

MessageMap<PositionerSetupDialog> PositionerSetupDialog::messageMap() {
    static constexpr MessageEntry<PositionerSetupDialog> MAP[] = {
        onClick<&Self::closeWindow>(IDC_CLOSE),
        onClick<&Self::onDriveWest>(IDC_DRIVE_WEST),
        onClick<&Self::onDriveEast>(IDC_DRIVE_EAST),
        onClick<&Self::onStepWest>(IDC_STEP_WEST),
        onClick<&Self::onStepEast>(IDC_STEP_EAST),
        onClick<&Self::onRecalculate>(IDC_RECALCULATE),
        onMessage<&Self::onTick>(WM_TIMER),
        onClick<&Self::onStop>(IDC_STOP),
        onClick<&Self::onReference>(IDC_REFERENCE),
        onClick<&Self::onGoto>(IDC_GOTO),
        onClick<&Self::onStore>(IDC_STORE),
        onClick<&Self::restoreFactorySettings>(IDC_FACTORY_RESET),
        onCommand<&Self::onWestDegreesTyped>(IDC_WEST_DEGREES, EN_CHANGE),
        onCommand<&Self::onEastDegreesTyped>(IDC_EAST_DEGREES, EN_CHANGE),
        onMessage<&Self::onSwapNames>(),
        onMessage<&Self::onRenameRow>(),
        onMessage<&Self::onSatListChanged>(),
        onMessage<&Self::onNamesUnread>(),
        onClick<&Self::switchModel>(IDC_MODEL_MOTECK),
        onClick<&Self::switchModel>(IDC_MODEL_STAB),
        onMessage<&Self::onSystemCommand>(WM_SYSCOMMAND),
    };
    return MAP;
}

PositionerSetupDialog::PositionerSetupDialog(HINSTANCE module, HostChannel host,
                                             std::string settingsPath)
    : MappedDialog(module, IDD_POSITIONER_SETUP, nullptr, PLUGIN_DISPLAY_NAME, IDI_DISH),
      module_(module),
      commands_{host, ApiDialect::Native, nullptr},
      settings_(std::move(settingsPath), files_, &editLock_),
      names_(settings_) {}

void PositionerSetupDialog::DoDataExchange(DataExchange& exchange) {
    exchange.bindControl(IDC_MODEL_MOTECK, moteckRadio_);
    exchange.bindControl(IDC_MODEL_STAB, stabRadio_);
    exchange.bindControl(IDC_SAT_LIST, satelliteList_);
    exchange.bindControl(IDC_RECALCULATE_PICKER, recalculatePicker_);
    exchange.bindControl(IDC_STORE_PICKER, storePicker_);
    exchange.bindControl(IDC_GOTO_PICKER, gotoPicker_);
    exchange.bindControl(IDC_EAST_SPIN, eastSpin_);
    exchange.bindControl(IDC_EAST_DEGREES, eastEdit_);
    exchange.bindControl(IDC_WEST_SPIN, westSpin_);
    exchange.bindControl(IDC_WEST_DEGREES, westEdit_);
}

BOOL PositionerSetupDialog::OnInitDialog() {
    Dialog::OnInitDialog();

    char extrasText[256] = {};
    char aboutText[256] = {};
    HMENU systemMenu = GetSystemMenu(window(), FALSE);
    if (LoadStringA(module_, IDS_EXTRAS, extrasText, sizeof extrasText) > 0) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, IDM_EXTRAS, extrasText);
    }
    if (LoadStringA(module_, IDS_ABOUTBOX, aboutText, sizeof aboutText) > 0) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText);
    }

    for (auto [spin, edit] :
         {std::pair{&westSpin_, &westEdit_}, std::pair{&eastSpin_, &eastEdit_}}) {
        spin->setPosition(INITIAL_DEGREES);
        spin->setRange(0, MAX_DEGREES);
        edit->setText(std::to_string(INITIAL_DEGREES));
    }

    const StoredSettings stored = settings_.open();
    names_.opened(stored);
    model_ = stored.model;
    // Made before anything can be sent: no command moves the dish unseen.
    const std::string& path = settings_.path();
    commands_.dish =
        std::make_shared<DishBelief>(path.empty() ? "" : dishStatePathFor(path), speed(model_));
    stabRadio_.setCheck(model_ == PositionerModel::Stab ? BST_CHECKED : BST_UNCHECKED);
    moteckRadio_.setCheck(model_ == PositionerModel::Moteck ? BST_CHECKED : BST_UNCHECKED);
    satelliteList_.show(names_.table());
    fillPickers();
    // Told once the window shows, not from inside its creation.
    if (!names_.fromFile()) postMessageTo(window(), SetupNamesUnread{});

    const std::string apiName = commands_.host.identify();
    commands_.dialect = dialectForApiName(apiName);
    Window apiLabel;
    apiLabel.attach(item(IDC_API_LABEL));
    apiLabel.setText(joined({"API: ", apiName}));

    // Centred over the owner when it is visible, otherwise on the work area.
    // The template asks to stay above other windows; not every window system
    // derives that from the template, so it is asked for here as well.
    RECT area = workArea();
    HWND owner = GetWindow(window(), GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
    centreAboveOthers(area);
    return TRUE;
}

std::array<const ComboBox*, 3> PositionerSetupDialog::pickers() const {
    return {&gotoPicker_, &storePicker_, &recalculatePicker_};
}

std::vector<std::string> PositionerSetupDialog::shownNames() const {
    const auto shown = static_cast<std::ptrdiff_t>(storedPositions(model_));
    return {names_.table().begin(), names_.table().begin() + shown};
}

void PositionerSetupDialog::fillPickers(const std::array<int, 3>& selections) {
    const auto shown = static_cast<std::size_t>(storedPositions(model_));
    for (const ComboBox* picker : pickers()) {
        picker->setRedraw(false);
        picker->resetContent();
        for (std::size_t i = 0; i < shown; ++i) picker->addString(names_[i]);
        picker->setRedraw(true);
    }
    for (std::size_t i = 0; i < selections.size(); ++i)
        pickers()[i]->setCurrentSelection(selections[i]);
    if (extras_) extras_->offerSatellites(shownNames());
}

void PositionerSetupDialog::showNames() {
    for (std::size_t i = 0; i < SATELLITE_COUNT; ++i)
        satelliteList_.showName(static_cast<int>(i), names_[i]);
}

void PositionerSetupDialog::reportUnsaved(bool saved, const char* what) const {
    if (!saved) tell(what);
}

void PositionerSetupDialog::reportNamesEdit(EditOutcome outcome) const {
    reportUnsaved(outcome != EditOutcome::Unsaved, UNSAVED_NAMES);
    reportUnsaved(outcome != EditOutcome::Unreadable, NAMES_NOT_CHANGED);
}

void PositionerSetupDialog::closeWindow() {
    DestroyWindow();
}

void PositionerSetupDialog::OnCancel() {
    closeWindow();
}

void PositionerSetupDialog::setMovementControlsEnabled(bool enabled) {
    for (int id : MovementControls) EnableWindow(item(id), enabled ? TRUE : FALSE);
}

void PositionerSetupDialog::showPicture(int picture, bool visible) {
    if (picture == NO_PICTURE) return;
    ShowWindow(item(INDICATOR_FRAMES[static_cast<std::size_t>(picture)]),
               visible ? SW_SHOWNORMAL : SW_HIDE);
}

void PositionerSetupDialog::onDriveWest() {
    drive(westSpin_, westEdit_, westDegrees_, false);
}

void PositionerSetupDialog::onDriveEast() {
    drive(eastSpin_, eastEdit_, eastDegrees_, true);
}

void PositionerSetupDialog::onWestDegreesTyped() {
    westDegrees_ = degreesShown(westEdit_).value_or(westDegrees_);
}

void PositionerSetupDialog::onEastDegreesTyped() {
    eastDegrees_ = degreesShown(eastEdit_).value_or(eastDegrees_);
}

std::optional<int> PositionerSetupDialog::degreesShown(const Edit& field) {
    const std::optional<double> value = degreesUpTo(field.text(), MAX_DEGREES);
    if (!value || *value != std::floor(*value)) return std::nullopt;
    return static_cast<int>(*value);
}

void PositionerSetupDialog::drive(const UpDown& spin, const Edit& field, int lastShown, bool east) {
    // The spin flags a field that it could not read, and it may read an empty one as 0: then its
    // position is not what the field shows, and a drive of that many degrees would go a distance
    // the user never asked for. The field is what counts.
    const LRESULT position = spin.position();
    const std::optional<int> shown = degreesShown(field);
    if (HIWORD(position) != 0 || !shown) {
        const int corrected = nearestWholeNumber(field.text(), 0, MAX_DEGREES, lastShown);
        const std::string shownNow = std::to_string(corrected);
        spin.setPosition(corrected);
        field.setText(shownNow);
        tell(joined({"The dish can be driven by 1 to ", std::to_string(MAX_DEGREES),
                     " degrees at a time. Nothing was sent; the field now shows ", shownNow, "."})
                 .c_str());
        return;
    }
    const auto degrees = static_cast<std::uint16_t>(*shown);
    if (degrees == 0) return;
    setMovementControlsEnabled(false);
    const DriveStart start = tracker_.startDrive(degrees, speed(model_), east);
    commands_.send(start.command);
    // The host may have stopped the plug-in while it took the command: a
    // timer asked for without a window would tick in the host's loop for ever.
    if (!window()) return;
    timerHandle_ = SetTimer(window(), MOTION_TIMER_ID, TICK_MS, nullptr);
}

void PositionerSetupDialog::onTick() {
    const TickOutcome outcome = tracker_.tick();
    if (outcome.driveOver) {
        KillTimer(window(), timerHandle_);
        showPicture(outcome.hideFrame, false);
        setMovementControlsEnabled(true);
    } else {
        showPicture(outcome.hideFrame, false);
        showPicture(outcome.showFrame, true);
    }
}

void PositionerSetupDialog::onStop() {
    const StopOutcome outcome = tracker_.stop();
    if (!outcome.wasCounting) return;
    KillTimer(window(), timerHandle_);
    showPicture(outcome.hideFrame, false);
    setMovementControlsEnabled(true);
    commands_.send(PositionerCommands::halt());
}

void PositionerSetupDialog::onStepWest() {
    commands_.send(PositionerCommands::stepWest());
}

void PositionerSetupDialog::onStepEast() {
    commands_.send(PositionerCommands::stepEast());
}

void PositionerSetupDialog::onReference() {
    commands_.send(PositionerCommands::gotoPosition(0));
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
        commands_.send(PositionerCommands::gotoPosition(static_cast<std::uint8_t>(slot)));
}

void PositionerSetupDialog::onStore() {
    if (const int slot = pickerSlot(storePicker_))
        commands_.send(PositionerCommands::storePosition(static_cast<std::uint8_t>(slot)));
}

void PositionerSetupDialog::onRecalculate() {
    if (!ask("Modify all stored Sat. Positions?")) return;
    if (const int slot = pickerSlot(recalculatePicker_))
        commands_.send(PositionerCommands::recalculatePositions(static_cast<std::uint8_t>(slot)));
}

void PositionerSetupDialog::restoreFactorySettings() {
    if (!ask("Reset all stored Sat. Positions?")) return;
    const bool saved = names_.restoreFactory();
    fillPickers();
    showNames();
    commands_.send(PositionerCommands::recalculatePositions(0));
    reportUnsaved(saved, UNSAVED_NAMES);
}

void PositionerSetupDialog::switchModel() {
    const int state = moteckRadio_.checkState();
    if (state != BST_CHECKED && state != BST_UNCHECKED) return;
    const PositionerModel chosen =
        state == BST_CHECKED ? PositionerModel::Moteck : PositionerModel::Stab;
    if (chosen == model_) return;
    model_ = chosen;
    const bool saved = settings_.writeModel(model_);
    if (commands_.dish) commands_.dish->speedChanged(speed(model_));
    fillPickers();
    reportUnsaved(saved, UNSAVED_MODEL);
}

namespace {
bool isRow(std::size_t row) {
    return row < SATELLITE_COUNT;
}
}  // namespace

void PositionerSetupDialog::onSwapNames(SatListSwap swap) {
    if (!isRow(swap.first) || !isRow(swap.second)) return;
    // Another window may have changed other names since: all rows show the file's names.
    listEdit_ = names_.swap(swap.first, swap.second);
    showNames();
}

bool PositionerSetupDialog::onRenameRow(SatListRename rename) {
    // Below the last row there is nothing to rename, but the user is asked
    // all the same and an OK saves the names as they are.
    SatNameDialog dialog(module_, nullptr);
    if (isRow(rename.row)) dialog.name = names_[rename.row];
    // A window closed while the question was open has all its names on disk
    // already, and no row left to rename.
    if (!ask(dialog)) return false;
    if (isRow(rename.row)) {
        listEdit_ = names_.rename(rename.row, dialog.name);
        showNames();
    }
    return true;
}

void PositionerSetupDialog::onSatListChanged(SatListChanged) {
    // A swap or a rename has shown its outcome already. An edit that moved no name still saves
    // the names, as the file holds them, and then shows them.
    const bool shown = listEdit_.has_value();
    const EditOutcome outcome = shown ? *listEdit_ : names_.save();
    listEdit_.reset();
    if (!shown && outcome != EditOutcome::Unreadable) showNames();
    // Selections stay by index, that is by slot, whatever name moved there.
    std::array<int, 3> kept{};
    for (std::size_t i = 0; i < kept.size(); ++i) kept[i] = pickers()[i]->currentSelection();
    fillPickers(kept);
    reportNamesEdit(outcome);
}

void PositionerSetupDialog::onNamesUnread(SetupNamesUnread) {
    // An edit in between may have read the names already.
    if (!names_.fromFile()) tell(NAMES_UNREAD);
}

LRESULT PositionerSetupDialog::onSystemCommand(WPARAM command, LPARAM) {
    if ((command & 0xFFF0) == IDM_EXTRAS) {
        openExtras();
        return 0;
    }
    if ((command & 0xFFF0) != IDM_ABOUTBOX) return Default();
    AboutDialog about(module_, nullptr);
    about.DoModal();
    return 0;
}

void PositionerSetupDialog::openExtras() {
    if (extras_) {
        SetActiveWindow(extras_->window());
        return;
    }
    auto extras =
        std::make_unique<PositionerExtrasDialog>(module_, window(), commands_, settings_.path());
    // Taken before the window exists: it may go during its own start-up.
    extras_ = extras.get();
    Dialog::openModeless(std::move(extras), [this] { extras_ = nullptr; });
    if (extras_) extras_->offerSatellites(shownNames());
}
