#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "positioner/decimal_text.h"

namespace {

TEST(DecimalText, ReadsPlainDecimalsOnly) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"52", 52.0}, {"-33.9", -33.9}, {"+5.25", 5.25}, {".5", 0.5},   {"7.", {}},
        {"", {}},     {"-", {}},        {"52,5", {}},    {"1e1", {}},   {" 52", {}},
        {"52 ", {}},  {"0x10", {}},     {"nan", {}},     {"1.2.3", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<double> value = decimalNumber(c.text);
        ASSERT_EQ(value.has_value(), c.value.has_value());
        if (value) {
            EXPECT_NEAR(*value, *c.value, 1e-12);
        }
    }
}

TEST(DecimalText, ReadsTypedDegreesOnlyWithinTheirRange) {
    const struct {
        const char* text;
        double most;
        std::optional<double> value;
    } cases[] = {
        {"90", 90.0, 90.0},  {"90.01", 90.0, {}}, {"180", 180.0, 180.0}, {"0.04", 90.0, 0.04},
        {"-0.5", 180.0, {}}, {"-0", 90.0, 0.0},   {"", 90.0, {}},        {"12,5", 90.0, {}},
        {"181", 180.0, {}},  {" 5", 90.0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(degreesUpTo(c.text, c.most), c.value);
    }
}

TEST(DecimalText, KeepsOneDecimalAndNoNegativeZero) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{52.0, "52.0"},
                 {-33.94, "-33.9"},
                 {151.25, "151.3"},
                 {-0.04, "0.0"},
                 {0.05, "0.1"},
                 {-180.0, "-180.0"},
                 // Past the tenths that an integer can count.
                 {1e19, "10000000000000000000.0"},
                 {0x1p70, "1180591620717411303424.0"},
                 {-1e20, "-100000000000000000000.0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(oneDecimal(c.value), c.text) << c.value;
    }
}

TEST(DecimalText, NearestWholeNumberInRangeOrTheFallback) {
    const struct {
        const char* text;
        int nearest;
    } cases[] = {{"7", 7}, {"25", 19}, {"20", 19},   {"99999999999999999999", 19},
                 {"0", 0}, {"-5", 0},  {"18.6", 19}, {"0019", 19},
                 {"", 4},  {"abc", 4}, {"1e400", 4}, {" 3", 4}};
    for (const auto& c : cases) {
        EXPECT_EQ(nearestWholeNumber(c.text, 0, 19, 4), c.nearest) << '"' << c.text << '"';
    }
}

// Inputs that fuzzing found: their one-decimal text came out as "-922337203685477580.-8".
TEST(DecimalText, LargeDecimalsPrintAsNumbersThatReadBack) {
    for (const char* text : {"225565255255212505521", "-99999999999999999999"}) {
        SCOPED_TRACE(text);
        const std::optional<double> value = decimalNumber(text);
        ASSERT_TRUE(value.has_value());
        const std::optional<double> again = decimalNumber(oneDecimal(*value));
        ASSERT_TRUE(again.has_value()) << oneDecimal(*value);
        EXPECT_NEAR(*again, *value, 1e-12 * std::fabs(*value));
    }
}

}  // namespace
