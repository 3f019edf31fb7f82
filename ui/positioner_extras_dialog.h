#pragma once

#include <optional>
#include <string>
#include <vector>

#include "positioner/diseqc_command.h"
#include "positioner/usals.h"
#include "store/settings_file.h"
#include "store/win32_edit_lock.h"
#include "store/win32_file_store.h"
#include "ui/custom_messages.h"
#include "ui/hold_button.h"
#include "ui/host_commands.h"
#include "win/controls.h"
#include "win/font.h"
#include "win/mapped_dialog.h"

// What the setup window does not offer: the site, turning to any satellite
// from it (goto angle), the soft limits, driving while a button is held, and
// where the dish is believed to be. Owned by the setup window, it closes with
// it, and sends through the same host channel in the same dialect to the same
// belief, which tells it of the setup window's commands too. It keeps its own
// reader of the settings file and its own hold on the belief, so that nothing
// of the setup window is touched after it has gone.
class PositionerExtrasDialog : public MappedDialog<PositionerExtrasDialog> {
  public:
    PositionerExtrasDialog(HINSTANCE module, HWND setupWindow, HostCommands commands,
                           const std::string& settingsPath);

    // The names of the stored positions, offered as targets; the setup window
    // hands them over once the window is open and again whenever they change.
    void offerSatellites(const std::vector<std::string>& names);

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    void OnCancel() override;
    bool takeKey(const MSG& key) override;

  private:
    friend MappedDialog;
    static MessageMap<PositionerExtrasDialog> messageMap();

    void onSaveSite();
    void onSatelliteTyped();
    void onSatellitePicked();
    void onAngleTyped();
    void onGotoAngle();
    void onSetWestLimit();
    void onSetEastLimit();
    void onLimitsOff();
    void onLimitsOn();
    void onHalt();
    void onHoldButton(HoldButtonChange change);
    void onDestroy();
    void onDishBeliefChanged(DishBeliefChanged);
    void onTimer(WPARAM timer, LPARAM);

    void placeBesideOwner();
    void showSite();
    void aimAtSatellite(const std::string& text);
    void showLook(double satelliteLongitude);
    void showLook(const char* words);
    // The status line, and the travel time of the look line, as of now; redrawn while the dish
    // moves, and only then.
    void showDish();
    // The signed motor angle in the fields: east positive.
    std::optional<double> typedAngle() const;
    void sendConfirmed(const char* question, const DiseqcCommand& command);
    void stopHeldDrive();

    HostCommands commands_;
    Win32FileStore files_;
    Win32EditLock editLock_;
    SettingsFile settings_;
    std::optional<Site> site_;
    bool driving_ = false;
    bool dishTimer_ = false;
    // The satellite that the look line shows the way to, whose travel time follows the dish.
    std::optional<double> lookedAt_;
    // Set while the target's fields are filled from code, whose change
    // notices are not the user's typing.
    bool filling_ = false;

    Edit latitudeEdit_;
    ComboBox northSouth_;
    Edit longitudeEdit_;
    ComboBox eastWest_;
    ComboBox satellitePicker_;
    Edit angleEdit_;
    ComboBox angleSide_;
    Window lookText_;
    Window dishStatus_;
    // The dialog's bitmap font has no arrow for the status line.
    TrueTypeFont dishStatusFont_;
    HoldButton driveWest_;
    HoldButton driveEast_;
};
