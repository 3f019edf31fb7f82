#include <gtest/gtest.h>

#include <string_view>

#include "store/factory_satellite_table.h"

namespace {

TEST(FactorySatelliteTable, HoldsTheFactoryNamesInSlotOrder) {
    const auto& names = FactorySatelliteTable::names();
    const struct {
        std::size_t index;
        std::string_view name;
    } samples[] = {
        {0, "Hot Bird  13\260E"},     {1, "Astra 19.2\260E"},         {8, "Telecom 2B,2D 5\260W"},
        {15, "Kopernicus 3 23\260E"}, {22, "Intelsat 601 34.5\260E"}, {27, "Eutelsat 12.5\260W"},
    };
    for (const auto& sample : samples) {
        EXPECT_EQ(names[sample.index], sample.name) << "entry " << sample.index;
    }
}

TEST(FactorySatelliteTable, NamedSatellitesCarryOneDegreeByteThenTheirSide) {
    const auto& names = FactorySatelliteTable::names();
    for (std::size_t i = 0; i < 28; ++i) {
        const std::string_view name = names[i];
        ASSERT_GE(name.size(), 2U) << "entry " << i;
        EXPECT_EQ(name.find('\xB0'), name.size() - 2) << "entry " << i;
        EXPECT_TRUE(name.back() == 'E' || name.back() == 'W') << "entry " << i;
    }
}

TEST(FactorySatelliteTable, LastThirtyTwoSlotsAreUnassigned) {
    const auto& names = FactorySatelliteTable::names();
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(names[i] == "not assigned", i >= 28) << "entry " << i << ": " << names[i];
    }
}

}  // namespace
