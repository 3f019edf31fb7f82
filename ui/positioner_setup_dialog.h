#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "host/api_dialect.h"
#include "positioner/diseqc_command.h"
#include "positioner/motion_tracker.h"
#include "positioner/positioner_model.h"
#include "store/settings_file.h"
#include "store/win32_profile.h"
#include "ui/satellite_list_ctrl.h"
#include "win/controls.h"
#include "win/dialog.h"
#include "win/message_map.h"

inline constexpr UINT WM_SATLIST_CHANGED = 0x08E1;

// The plug-in's one window: steering the positioner, the satellite names and
// the model. Modeless; it deletes itself once its window is gone.
class PositionerSetupDialog : public Dialog {
  public:
    explicit PositionerSetupDialog(HWND owner);

    void setSettingsPath(std::string path);
    ApiDialect apiDialect() const { return apiDialect_; }
    int positionCount() const { return positionCount_; }

    // Every close path ends here; the object is gone when it returns.
    void closeWindow();

    LRESULT onSatListChanged(WPARAM, LPARAM);

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    void OnCancel() override;
    void PostNcDestroy() override;
    bool route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    static const MessageEntry<PositionerSetupDialog> MESSAGE_MAP[];

    void onDriveWest();
    void onDriveEast();
    void drive(const UpDown& spin, bool east);
    void onStop();
    LRESULT onTick(WPARAM, LPARAM);
    void onStepWest();
    void onStepEast();
    void onReference();
    void onGoto();
    void onStore();
    void onRecalculate();
    void restoreFactorySettings();
    void switchModel();
    LRESULT onSystemCommand(WPARAM command, LPARAM);

    void applyModel(PositionerModel model);
    // Refills the three pickers for the current model and selects an entry
    // in each, the first by default.
    void fillPickers(std::span<const std::string> names,
                     const std::array<int, 3>& selections = {0, 0, 0});
    std::array<const ComboBox*, 3> pickers() const;
    void setMovementControlsEnabled(bool enabled);
    void showFrame(int control, bool visible);
    void send(const DiseqcCommand& command) const;

    ApiDialect apiDialect_ = ApiDialect::Native;
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
    float speed_ = 0.0F;
    int positionCount_ = 0;
    Win32Profile profile_;
    // Handed over after construction, before the window exists.
    std::optional<SettingsFile> settings_;
    HICON windowIcon_ = nullptr;
};
