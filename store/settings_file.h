#pragma once

#include <optional>
#include <string>

#include "positioner/positioner_model.h"
#include "positioner/usals.h"
#include "store/file_store.h"
#include "store/satellite_name_table.h"

// A name as the file can hold it: a line break would end its line there, so each one becomes a
// blank.
std::string storableName(std::string_view name);

struct StoredSettings {
    SatelliteNameTable names;
    PositionerModel model = PositionerModel::Stab;
    // None until the user sets one, and none when either value is missing or not a latitude
    // or longitude.
    std::optional<Site> site;
};

// The only reader and writer of the settings file. It keeps nothing of the file's content: each
// operation reads the file once and replaces it at most once, so what another program wrote in
// between is kept, and a kill at any moment leaves the old file or the new one.
class SettingsFile {
  public:
    SettingsFile(std::string path, FileStore& files);
    const std::string& path() const { return path_; }

    // The stored names, with the factory name for any the file lacks, and the model. A missing
    // file is created with the factory names and the Stab model. A file that exists is never
    // written here, even an empty one or one that cannot be read right now.
    StoredSettings open();

    // False when the change could not be saved; the file then holds what it held before. Every
    // other line of the file keeps its bytes.
    bool writeNames(const SatelliteNameTable& names);
    bool writeModel(PositionerModel model);
    bool writeFactoryNames();
    // Kept to one decimal.
    bool writeSite(const Site& site);

  private:
    template <class Change>
    bool edit(Change&& change);

    std::string path_;
    FileStore& files_;
};
