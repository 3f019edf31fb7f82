#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/api_dialect.h"
#include "host/host_channel.h"
#include "positioner/diseqc_command.h"
#include "positioner/usals.h"
#include "store/settings_file.h"
#include "store/win32_edit_lock.h"
#include "store/win32_file_store.h"
#include "ui/hold_button.h"
#include "win/controls.h"
#include "win/dialog.h"
#include "win/message_map.h"

// What the setup window does not offer: the site, turning to any satellite
// from it (goto angle), the soft limits and driving while a button is held.
// Owned by the setup window, it closes with it, and sends through the same
// host channel in the same dialect. It keeps its own reader of the settings
// file, so that nothing of the setup window is touched after it has gone.
class PositionerExtrasDialog : public Dialog {
  public:
    PositionerExtrasDialog(HINSTANCE module, HWND setupWindow, HostChannel host, ApiDialect dialect,
                           const std::string& settingsPath);

    // The names of the stored positions, offered as targets; the setup window
    // hands them over once the window is open and again whenever they change.
    void offerSatellites(const std::vector<std::string>& names);

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    void OnCancel() override;
    bool takeKey(const MSG& key) override;
    bool route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    static const MessageEntry<PositionerExtrasDialog> MESSAGE_MAP[];

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
    LRESULT onHoldButton(WPARAM button, LPARAM pressed);
    LRESULT onDestroy(WPARAM, LPARAM);

    void placeBesideOwner();
    void showSite();
    void aimAtSatellite(const std::string& text);
    void showLook(double satelliteLongitude);
    // The signed motor angle in the fields: east positive.
    std::optional<double> typedAngle() const;
    void sendConfirmed(const char* question, const DiseqcCommand& command);
    void stopHeldDrive();
    void send(const DiseqcCommand& command) const;

    HINSTANCE module_;
    HostChannel host_;
    ApiDialect dialect_;
    Win32FileStore files_;
    Win32EditLock editLock_;
    SettingsFile settings_;
    std::optional<Site> site_;
    bool driving_ = false;
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
    HoldButton driveWest_;
    HoldButton driveEast_;
};
