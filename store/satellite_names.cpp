#include "store/satellite_names.h"

#include <algorithm>
#include <utility>

namespace {
bool isSlot(std::size_t slot) {
    return slot < SATELLITE_COUNT;
}
}  // namespace

void SatelliteNames::opened(const StoredSettings& stored) {
    names_ = stored.names;
    fromFile_ = stored.namesRead;
}

EditOutcome SatelliteNames::apply(NamesEdit edit) {
    if (edit.outcome == EditOutcome::Unreadable) return edit.outcome;
    names_ = std::move(edit.names);
    fromFile_ = true;
    return edit.outcome;
}

EditOutcome SatelliteNames::swap(std::size_t first, std::size_t second) {
    if (!isSlot(first) || !isSlot(second)) return EditOutcome::Unreadable;
    return apply(file_.changeNames(
        [&](SatelliteNameTable& names) { std::swap(names[first], names[second]); }));
}

EditOutcome SatelliteNames::rename(std::size_t slot, std::string_view name) {
    if (!isSlot(slot)) return EditOutcome::Unreadable;
    return apply(
        file_.changeNames([&](SatelliteNameTable& names) { names[slot] = storableName(name); }));
}

EditOutcome SatelliteNames::save() {
    return apply(file_.changeNames([](SatelliteNameTable&) {}));
}

bool SatelliteNames::restoreFactory() {
    const auto& factory = FactorySatelliteTable::names();
    std::copy(factory.begin(), factory.end(), names_.begin());
    fromFile_ = file_.writeFactoryNames();
    return fromFile_;
}
