#pragma once

#include <cstddef>
#include <string_view>

#include "store/satellite_name_table.h"
#include "store/settings_file.h"

// The owner of the satellite names of one setup window. It holds the names that the settings
// file held when it last read or wrote them, and knows whether they came from the file at all.
// Every edit is made on the names the file holds at that moment and changes only the slots it
// touches; the window shows whatever the names are afterwards, never the other way round.
class SatelliteNames {
  public:
    explicit SatelliteNames(SettingsFile& file) : file_(file) {}

    // The names as the opening of the file found them.
    void opened(const StoredSettings& stored);

    const SatelliteNameTable& table() const { return names_; }
    const std::string& operator[](std::size_t slot) const { return names_[slot]; }
    // False while the names are a placeholder for a file that could not be read.
    bool fromFile() const { return fromFile_; }

    // Slots are 0 to 59; any other is refused without touching the file. Unreadable leaves the
    // names as they were; otherwise they are the file's as read in the edit, with the change,
    // which the file then holds too unless the outcome is Unsaved.
    EditOutcome swap(std::size_t first, std::size_t second);
    EditOutcome rename(std::size_t slot, std::string_view name);
    // Saves the names the file holds as they are, in full, as an edit that moved nothing does.
    EditOutcome save();

    // The whole table, on purpose: the factory names replace whatever the file holds. The
    // window shows them even when they could not be saved.
    bool restoreFactory();

  private:
    EditOutcome apply(NamesEdit edit);

    SettingsFile& file_;
    SatelliteNameTable names_;
    bool fromFile_ = false;
};
