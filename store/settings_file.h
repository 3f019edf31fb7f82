#pragma once

#include <string>

#include "positioner/positioner_model.h"
#include "store/profile_access.h"
#include "store/satellite_name_table.h"

// The only reader and writer of the settings file. It keeps nothing of the file's content: each
// operation goes to the file, so the last write of a key wins.
class SettingsFile {
  public:
    SettingsFile(std::string path, ProfileAccess& profile);

    // Creates a missing file with the factory names and the Stab model. A file that exists is
    // never written here, even an empty one or one that cannot be opened right now.
    void ensureExists();

    SatelliteNameTable readNames() const;
    PositionerModel readModel() const;

    void writeNames(const SatelliteNameTable& names);
    void writeModel(PositionerModel model);
    void writeFactoryNames();

  private:
    void writeName(int position, std::string_view name);

    std::string path_;
    ProfileAccess& profile_;
};
