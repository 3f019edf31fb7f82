#include "dish/dish_record.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

constexpr std::string_view HEADER = "diseqc-dish 1";
constexpr std::string_view UNKNOWN = "unknown";
constexpr std::size_t BITS_DIGITS = 16;

void addNumber(std::string& text, double value) {
    constexpr char DIGITS[] = "0123456789ABCDEF";
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int shift = 60; shift >= 0; shift -= 4) text += DIGITS[(bits >> shift) & 0xF];
}

void addLine(std::string& text, std::string_view key, std::optional<double> value) {
    text.append(key);
    text += ' ';
    if (value) {
        addNumber(text, *value);
    } else {
        text.append(UNKNOWN);
    }
    text += '\n';
}

// Reads the record line by line; the first line that is not what comes next spoils the rest.
class RecordReader {
  public:
    explicit RecordReader(std::string_view text) : rest_(text) {}

    bool sound() const { return sound_; }
    bool atEnd() const { return rest_.empty(); }

    // The rest of the next line after "key ", or the whole line when `key` is empty.
    std::string_view line(std::string_view key) {
        const std::size_t end = rest_.find('\n');
        if (end == std::string_view::npos) return fail();
        std::string_view found = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
        if (key.empty()) return found;
        if (found.size() <= key.size() || !found.starts_with(key) || found[key.size()] != ' ') {
            return fail();
        }
        return found.substr(key.size() + 1);
    }

    std::optional<double> number(std::string_view text) {
        std::uint64_t bits = 0;
        const char* last = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), last, bits, 16);
        if (text.size() != BITS_DIGITS || error != std::errc() || stop != last) {
            fail();
            return std::nullopt;
        }
        const double value = std::bit_cast<double>(bits);
        if (std::isnan(value)) fail();
        return value;
    }

    // An angle a dish can be at; absent when the record says "unknown".
    std::optional<double> angle(std::string_view key, double endStop) {
        const std::string_view text = line(key);
        if (text == UNKNOWN) return std::nullopt;
        const std::optional<double> value = number(text);
        if (value && !(std::abs(*value) <= endStop)) fail();
        return value;
    }

    std::string_view fail() {
        sound_ = false;
        rest_ = {};
        return {};
    }

  private:
    std::string_view rest_;
    bool sound_ = true;
};

}  // namespace

std::string encodeDishRecord(const DishModel& dish) {
    const DishMotion& motion = dish.motion();
    std::string text(HEADER);
    text += '\n';
    addLine(text, "speed", motion.speed);
    addLine(text, "start", motion.startMs);
    addLine(text, "from", motion.from);
    addLine(text, "to", motion.to);
    addLine(text, "requested", motion.requested);
    addLine(text, "reach", motion.reach);
    text += dish.limitsOn() ? "limits on\n" : "limits off\n";
    addLine(text, "east", dish.eastLimit());
    addLine(text, "west", dish.westLimit());
    for (const StoredPosition& stored : dish.stored()) {
        if (!stored.angle) continue;
        addLine(text, "position " + std::to_string(stored.slot), stored.angle);
    }
    text += "end\n";
    return text;
}

DishModel decodeDishRecord(std::string_view text, double degreesPerSecond, double endStop) {
    RecordReader in(text);
    if (in.line({}) != HEADER) in.fail();
    DishMotion motion;
    motion.speed = in.number(in.line("speed")).value_or(0.0);
    motion.startMs = in.number(in.line("start")).value_or(0.0);
    motion.from = in.angle("from", endStop);
    motion.to = in.angle("to", endStop);
    motion.requested = in.number(in.line("requested")).value_or(0.0);
    motion.reach = in.number(in.line("reach")).value_or(0.0);
    const std::string_view limits = in.line("limits");
    if (limits != "on" && limits != "off") in.fail();
    const std::optional<double> east = in.angle("east", endStop);
    const std::optional<double> west = in.angle("west", endStop);
    if (!(motion.speed > 0.0) || !std::isfinite(motion.speed) || !std::isfinite(motion.startMs) ||
        !(motion.reach >= 0.0)) {
        in.fail();
    }

    std::vector<StoredPosition> stored;
    for (std::string_view next = in.line({}); in.sound() && next != "end"; next = in.line({})) {
        if (!next.starts_with("position ")) in.fail();
        next.remove_prefix(9);
        const std::size_t blank = next.find(' ');
        unsigned slot = 0;
        const char* slotEnd = next.data() + std::min(blank, next.size());
        const auto [stop, error] = std::from_chars(next.data(), slotEnd, slot);
        if (blank == std::string_view::npos || error != std::errc() || stop != slotEnd ||
            slot == 0 || slot > 0xFF || (!stored.empty() && slot <= stored.back().slot)) {
            in.fail();
            break;
        }
        const std::optional<double> angle = in.number(next.substr(blank + 1));
        if (!angle || !(std::abs(*angle) <= endStop)) in.fail();
        stored.push_back({static_cast<std::uint8_t>(slot), angle});
    }
    if (!in.sound() || !in.atEnd()) return DishModel::unknown(degreesPerSecond, endStop);
    return DishModel::restored(endStop, motion, std::move(stored), limits == "on", east, west);
}
