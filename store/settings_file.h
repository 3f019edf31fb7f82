#pragma once

#include <functional>
#include <optional>
#include <string>

#include "positioner/positioner_model.h"
#include "positioner/usals.h"
#include "store/edit_lock.h"
#include "store/file_store.h"
#include "store/satellite_name_table.h"

// A name as the file can hold it: a line break would end its line there, so each one becomes a
// blank.
std::string storableName(std::string_view name);

struct StoredSettings {
    SatelliteNameTable names;
    // False when the file is there but could not be read: the names are then the factory's, a
    // placeholder for the user's own, which the file still holds.
    bool namesRead = true;
    PositionerModel model = PositionerModel::Stab;
    // None until the user sets one, and none when either value is missing or not a latitude
    // or longitude.
    std::optional<Site> site;
};

// What a file's content holds, read as open() reads it; for readers that must not write the file.
StoredSettings settingsIn(std::string_view content);

enum class EditOutcome {
    Saved,
    // Read, but the change could not be written: the file holds what it held before.
    Unsaved,
    // The file could not be read, or another window kept it too long: nothing was written.
    Unreadable,
};

struct NamesEdit {
    EditOutcome outcome = EditOutcome::Unreadable;
    // The names that the file held, with the change: what it holds now unless Unsaved. Unset
    // when it could not be read.
    SatelliteNameTable names;
};

// The only reader and writer of the settings file. It keeps nothing of the file's content: each
// operation reads the file once and replaces it at most once, so what another program wrote in
// between is kept, and a kill at any moment leaves the old file or the new one.
class SettingsFile {
  public:
    // `lock`, when given, is held around the read and the replacement of every edit.
    SettingsFile(std::string path, FileStore& files, EditLock* lock = nullptr);
    const std::string& path() const { return path_; }

    // The stored names, with the factory name for any the file lacks, and the model. A missing
    // file is created with the factory names and the Stab model. A file that exists is never
    // written here, even an empty one or one that cannot be read right now.
    StoredSettings open();

    // False when the change could not be saved; the file then holds what it held before. Every
    // other line of the file keeps its bytes.
    bool writeNames(const SatelliteNameTable& names);
    // Changes the names that the file holds now, as read in the same edit, so that whatever
    // another window saved in between stays. The file gets all sixty names written, as
    // writeNames lays them out.
    NamesEdit changeNames(const std::function<void(SatelliteNameTable&)>& change);
    bool writeModel(PositionerModel model);
    bool writeFactoryNames();
    // Kept to one decimal.
    bool writeSite(const Site& site);

  private:
    // The file's content with the change, whether or not it could be written; none when the
    // file could not be read.
    struct Edited {
        EditOutcome outcome;
        std::string content;
    };
    template <class Change>
    Edited edit(Change&& change);

    std::string path_;
    FileStore& files_;
    EditLock* lock_;
};
