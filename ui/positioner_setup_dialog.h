#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/host_channel.h"
#include "positioner/motion_tracker.h"
#include "positioner/positioner_model.h"
#include "store/satellite_names.h"
#include "store/settings_file.h"
#include "store/win32_edit_lock.h"
#include "store/win32_file_store.h"
#include "ui/custom_messages.h"
#include "ui/host_commands.h"
#include "ui/positioner_extras_dialog.h"
#include "ui/satellite_list_ctrl.h"
#include "win/controls.h"
#include "win/mapped_dialog.h"

// The plug-in's one window: steering the positioner, the satellite names and
// the model. It owns the model and the names; every edit of a name goes to the
// file through the names' owner, and the list, the pickers and the extras then
// show what the owner holds. It makes the belief of where the dish is, which
// its commands and the extras' feed alike.
class PositionerSetupDialog : public MappedDialog<PositionerSetupDialog> {
  public:
    PositionerSetupDialog(HINSTANCE module, HostChannel host, std::string settingsPath);

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    void OnCancel() override;

  private:
    friend MappedDialog;
    static MessageMap<PositionerSetupDialog> messageMap();

    void closeWindow();
    void onDriveWest();
    void onDriveEast();
    void onWestDegreesTyped();
    void onEastDegreesTyped();
    // The whole number of degrees a drive field shows, when it shows one the spin can take.
    static std::optional<int> degreesShown(const Edit& field);
    void drive(const UpDown& spin, const Edit& field, int lastShown, bool east);
    void onStop();
    void onTick();
    void onStepWest();
    void onStepEast();
    void onReference();
    void onGoto();
    void onStore();
    void onRecalculate();
    void restoreFactorySettings();
    void switchModel();
    void onSwapNames(SatListSwap swap);
    bool onRenameRow(SatListRename rename);
    void onSatListChanged(SatListChanged);
    void onNamesUnread(SetupNamesUnread);
    LRESULT onSystemCommand(WPARAM command, LPARAM);
    void openExtras();
    std::vector<std::string> shownNames() const;

    // Refills the three pickers for the current model and selects an entry
    // in each, the first by default.
    void fillPickers(const std::array<int, 3>& selections = {0, 0, 0});
    void showNames();
    std::array<const ComboBox*, 3> pickers() const;
    void setMovementControlsEnabled(bool enabled);
    void showPicture(int picture, bool visible);
    // Tells the user, once per action, what a failed write did not save.
    void reportUnsaved(bool saved, const char* what) const;
    void reportNamesEdit(EditOutcome outcome) const;

    HINSTANCE module_;
    HostCommands commands_;
    Win32FileStore files_;
    Win32EditLock editLock_;
    SettingsFile settings_;
    PositionerModel model_ = PositionerModel::Stab;
    SatelliteNames names_;
    // The outcome of the list's last edit, told when the list reports the edit done.
    std::optional<EditOutcome> listEdit_;

    Button moteckRadio_;
    Button stabRadio_;
    SatelliteListCtrl satelliteList_;
    ComboBox recalculatePicker_;
    ComboBox storePicker_;
    ComboBox gotoPicker_;
    UpDown eastSpin_;
    Edit eastEdit_;
    UpDown westSpin_;
    Edit westEdit_;
    UINT_PTR timerHandle_ = 0;
    MotionTracker tracker_;
    // What each drive field last showed that a drive could take, to put back when it is emptied.
    static constexpr int INITIAL_DEGREES = 1;
    int westDegrees_ = INITIAL_DEGREES;
    int eastDegrees_ = INITIAL_DEGREES;
    // Owned by its window, which closes before this one goes.
    PositionerExtrasDialog* extras_ = nullptr;
};
