// Feeds arbitrary settings files to the reader of the site ([SITE] LATITUDE and LONGITUDE), and
// saves a site as the extras window does: the latitude and longitude typed, each introduced by a
// 0x1F byte after the file's content. Saving a site changes the site and nothing else.

#include <cmath>
#include <optional>
#include <string>

#include "positioner/decimal_text.h"
#include "store/settings_file.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

class MemoryFileStore : public FileStore {
  public:
    explicit MemoryFileStore(std::string bytes) : bytes_(std::move(bytes)) {}
    Content read(const std::string&) override { return {State::Read, bytes_}; }
    bool replace(const std::string&, std::string_view bytes) override {
        bytes_ = bytes;
        ++replacements_;
        return true;
    }
    const std::string& bytes() const { return bytes_; }
    int replacements() const { return replacements_; }

  private:
    std::string bytes_;
    int replacements_ = 0;
};

struct Input {
    std::string_view content;
    std::string_view latitude;
    std::string_view longitude;
};

Input split(std::string_view data) {
    Input input;
    input.content = splitFields(data, {&input.longitude, &input.latitude});
    return input;
}

bool sameSite(const std::optional<Site>& a, const std::optional<Site>& b) {
    return a.has_value() == b.has_value() &&
           (!a || (a->latitude == b->latitude && a->longitude == b->longitude));
}

void checkInRange(const std::optional<Site>& site) {
    if (!site) return;
    check(std::isfinite(site->latitude) && std::fabs(site->latitude) <= 90.0,
          "a latitude read is within 90 degrees");
    check(std::isfinite(site->longitude) && std::fabs(site->longitude) <= 180.0,
          "a longitude read is within 180 degrees");
}

double keptToOneDecimal(double value) {
    const std::optional<double> kept = decimalNumber(oneDecimal(value));
    check(kept.has_value(), "a value kept to one decimal reads");
    return *kept;
}

// Saves the site and reads the file again: the site is the one saved, to one decimal, and the
// names and the model are as they were.
void saveAndReadBack(MemoryFileStore& files, const Site& site) {
    SettingsFile settings("diseqc.ini", files);
    const StoredSettings before = settings.open();
    check(settings.writeSite(site), "a site is saved");
    const StoredSettings after = settings.open();
    check(sameSite(after.site,
                   Site{keptToOneDecimal(site.latitude), keptToOneDecimal(site.longitude)}),
          "a saved site reads back to one decimal");
    check(after.names == before.names, "saving a site leaves the names");
    check(after.model == before.model, "saving a site leaves the model");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input input = split(textOf(data, size));
    MemoryFileStore files{std::string(input.content)};
    const StoredSettings stored = SettingsFile("diseqc.ini", files).open();
    check(files.replacements() == 0, "a file that exists is not written on opening");
    checkInRange(stored.site);

    // The site read, saved again, reads as it was: it was kept to one decimal already, or the
    // saving rounds it once and for all.
    if (stored.site) {
        saveAndReadBack(files, *stored.site);
        const std::optional<Site> saved = SettingsFile("diseqc.ini", files).open().site;
        const int replacements = files.replacements();
        check(SettingsFile("diseqc.ini", files).writeSite(*saved), "a site is saved again");
        check(files.replacements() == replacements, "saving the same site writes nothing");
    }

    // A site typed into the extras window, one side picked for each value.
    const std::optional<double> latitude = degreesUpTo(input.latitude, 90.0);
    const std::optional<double> longitude = degreesUpTo(input.longitude, 180.0);
    if (latitude && longitude) {
        const bool south = size % 2 == 1;
        const bool west = size % 4 >= 2;
        saveAndReadBack(files, {keptToOneDecimal(south ? -*latitude : *latitude),
                                keptToOneDecimal(west ? -*longitude : *longitude)});
    }
    return 0;
}
