#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

#include "positioner/positioner_model.h"

namespace {

struct ModelCase {
    PositionerModel model;
    const char* settingsText;
    int positions;
    std::uint32_t speedBits;
};

constexpr ModelCase MODELS[]{
    {PositionerModel::Stab, "STAB HH100/120", 49, 0x3F4CCCCDU},
    {PositionerModel::Moteck, "MOTECK SG2100", 60, 0x3FF33333U},
};

TEST(PositionerModel, EachModelCarriesItsSettingsTextSlotsAndSpeed) {
    for (const ModelCase& row : MODELS) {
        SCOPED_TRACE(row.settingsText);
        EXPECT_STREQ(settingsValue(row.model), row.settingsText);
        EXPECT_EQ(storedPositions(row.model), row.positions);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(speed(row.model)), row.speedBits);
        EXPECT_EQ(modelFromSettingsValue(settingsValue(row.model)), row.model);
    }
}

struct SettingsTextCase {
    std::string_view text;
    PositionerModel model;
};

TEST(PositionerModel, OnlyTheExactStabTextReadsAsStab) {
    using namespace std::string_view_literals;
    const SettingsTextCase cases[]{
        {"STAB HH100/120"sv, PositionerModel::Stab},
        {"MOTECK SG2100"sv, PositionerModel::Moteck},
        {"MOTECK SG-2100"sv, PositionerModel::Moteck},
        {"Stab HH100/120"sv, PositionerModel::Moteck},
        {"stab hh100/120"sv, PositionerModel::Moteck},
        {"STAB HH100/120 "sv, PositionerModel::Moteck},
        {" STAB HH100/120"sv, PositionerModel::Moteck},
        {"STAB HH100/12"sv, PositionerModel::Moteck},
        {"STAB HH100/120\0"sv, PositionerModel::Moteck},
        {""sv, PositionerModel::Moteck},
    };
    for (const SettingsTextCase& row : cases) {
        SCOPED_TRACE("\"" + std::string(row.text) + "\"");
        EXPECT_EQ(modelFromSettingsValue(row.text), row.model);
    }
}

}  // namespace
