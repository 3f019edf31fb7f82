#include "dish/dish_record.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

constexpr std::string_view HEADER = "diseqc-dish 1\n";
constexpr std::string_view UNKNOWN = "unknown";
constexpr std::size_t BITS_DIGITS = 16;
constexpr char HEX_DIGITS[] = "0123456789ABCDEF";

// The numbers of the record, one a line, in this order.
enum Field { SPEED, START, FROM, TO, REQUESTED, REACH, EAST, WEST, FIELDS };
constexpr std::array<std::string_view, FIELDS> KEYS{"speed",     "start", "from", "to",
                                                    "requested", "reach", "east", "west"};
// Those that may be unknown; they are also angles a dish can be at.
constexpr unsigned ANGLES = 1U << FROM | 1U << TO | 1U << EAST | 1U << WEST;

void addLine(std::string& text, std::string_view key, std::optional<double> value) {
    text.append(key);
    text += ' ';
    if (value) {
        const auto bits = std::bit_cast<std::uint64_t>(*value);
        for (int shift = 60; shift >= 0; shift -= 4) text += HEX_DIGITS[(bits >> shift) & 0xF];
    } else {
        text.append(UNKNOWN);
    }
    text += '\n';
}

// The whole number that `text` holds in `base`, written as this file writes it: digits only, no
// sign, upper case; nothing for anything else.
std::optional<std::uint64_t> wholeNumber(std::string_view text, unsigned base) {
    if (text.empty() || text.size() > BITS_DIGITS) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        const char* digit = std::char_traits<char>::find(HEX_DIGITS, base, c);
        if (digit == nullptr) return std::nullopt;
        value = value * base + static_cast<std::uint64_t>(digit - HEX_DIGITS);
    }
    return value;
}

// A number as addLine writes it; not a number (NaN) is no value at all.
std::optional<double> numberFrom(std::string_view text) {
    const std::optional<std::uint64_t> bits = wholeNumber(text, 16);
    if (text.size() != BITS_DIGITS || !bits) return std::nullopt;
    const double value = std::bit_cast<double>(*bits);
    if (std::isnan(value)) return std::nullopt;
    return value;
}

// The record's lines in turn, each taken only if it starts with the key that comes next.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : rest_(text) {}

    bool atEnd() const { return rest_.empty(); }

    // What the next line holds after "key ", or nothing when it is not that line.
    std::optional<std::string_view> line(std::string_view key) {
        const std::size_t end = rest_.find('\n');
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view found = rest_.substr(0, end);
        if (found.size() <= key.size() || !found.starts_with(key) || found[key.size()] != ' ') {
            return std::nullopt;
        }
        rest_.remove_prefix(end + 1);
        return found.substr(key.size() + 1);
    }

    bool take(std::string_view text) {
        if (!rest_.starts_with(text)) return false;
        rest_.remove_prefix(text.size());
        return true;
    }

  private:
    std::string_view rest_;
};

// Sets `dish` to what a sound record holds; false for anything else.
bool readRecord(std::string_view text, DishModel& dish) {
    const double endStop = dish.endStop();
    LineReader in(text);
    if (!in.take(HEADER)) return false;
    std::array<std::optional<double>, FIELDS> values;
    for (int field = 0; field < FIELDS; ++field) {
        const std::optional<std::string_view> value = in.line(KEYS[field]);
        if (!value) return false;
        const bool angle = (ANGLES >> field & 1U) != 0;
        if (angle && *value == UNKNOWN) continue;
        values[field] = numberFrom(*value);
        if (!values[field] || (angle && !(std::abs(*values[field]) <= endStop))) {
            return false;
        }
    }
    const bool limitsOn = in.take("limits on\n");
    if (!limitsOn && !in.take("limits off\n")) return false;

    std::vector<StoredPosition> stored;
    while (!in.take("end\n")) {
        const std::optional<std::string_view> line = in.line("position");
        if (!line) return false;
        const std::size_t blank = line->find(' ');
        // One spelling for each number: no leading zero.
        if (blank == std::string_view::npos || line->front() == '0') return false;
        const std::optional<std::uint64_t> slot = wholeNumber(line->substr(0, blank), 10);
        const std::optional<double> angle = numberFrom(line->substr(blank + 1));
        if (!slot || *slot == 0 || *slot > 0xFF ||
            (!stored.empty() && *slot <= stored.back().slot) || !angle ||
            !(std::abs(*angle) <= endStop)) {
            return false;
        }
        stored.push_back({static_cast<std::uint8_t>(*slot), angle});
    }
    if (!in.atEnd()) return false;

    DishMotion motion;
    motion.speed = *values[SPEED];
    motion.startMs = *values[START];
    motion.from = values[FROM];
    motion.to = values[TO];
    motion.requested = *values[REQUESTED];
    motion.reach = *values[REACH];
    if (!(motion.speed > 0.0) || !std::isfinite(motion.speed) || !std::isfinite(motion.startMs) ||
        !(motion.reach >= 0.0)) {
        return false;
    }
    dish = DishModel::restored(endStop, motion, std::move(stored), limitsOn, values[EAST],
                               values[WEST]);
    return true;
}

}  // namespace

std::string encodeDishRecord(const DishModel& dish) {
    const DishMotion& motion = dish.motion();
    const std::array<std::optional<double>, FIELDS> values{
        motion.speed,     motion.startMs, motion.from,      motion.to,
        motion.requested, motion.reach,   dish.eastLimit(), dish.westLimit()};
    std::string text(HEADER);
    for (int field = 0; field < FIELDS; ++field) addLine(text, KEYS[field], values[field]);
    text += dish.limitsOn() ? "limits on\n" : "limits off\n";
    for (const StoredPosition& stored : dish.stored()) {
        if (!stored.angle) continue;
        std::string key = "position ";
        if (stored.slot >= 100) key += HEX_DIGITS[stored.slot / 100];
        if (stored.slot >= 10) key += HEX_DIGITS[stored.slot / 10 % 10];
        key += HEX_DIGITS[stored.slot % 10];
        addLine(text, key, stored.angle);
    }
    text += "end\n";
    return text;
}

DishModel decodeDishRecord(std::string_view text, double degreesPerSecond, double endStop) {
    DishModel dish = DishModel::unknown(degreesPerSecond, endStop);
    readRecord(text, dish);
    return dish;
}
