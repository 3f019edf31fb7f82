#include "store/profile_text.h"

#include <optional>

namespace {

constexpr std::string_view LINE_END = "\r\n";

bool isBlank(char c) {
    // 0x1A is the DOS end-of-file mark that old editors leave behind.
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == '\x1A';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

char foldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    }
    return true;
}

// A line spans [begin, end); its text stops before the terminator. CR LF, a lone LF and a lone
// CR each end a line, so files from any editor split the same way.
struct Line {
    std::size_t begin = 0;
    std::size_t textEnd = 0;
    std::size_t end = 0;
};

class LineCursor {
  public:
    explicit LineCursor(std::string_view content) : content_(content) {}

    bool next(Line& line) {
        if (position_ >= content_.size()) return false;
        line.begin = position_;
        line.textEnd = content_.find_first_of("\r\n", position_);
        if (line.textEnd == std::string_view::npos) line.textEnd = content_.size();
        line.end = line.textEnd;
        if (line.end < content_.size() && content_[line.end] == '\r') ++line.end;
        if (line.end < content_.size() && content_[line.end] == '\n') ++line.end;
        position_ = line.end;
        return true;
    }

    std::string_view text(const Line& line) const {
        return content_.substr(line.begin, line.textEnd - line.begin);
    }

  private:
    std::string_view content_;
    std::size_t position_ = 0;
};

std::optional<std::string_view> sectionName(std::string_view lineText) {
    const std::string_view trimmed = trim(lineText);
    if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
    const std::size_t close = trimmed.rfind(']');
    if (close == 0 || close == std::string_view::npos) return std::nullopt;
    return trim(trimmed.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
    std::size_t valueOffset = 0;  // just after the '=', counted from the line's start
};

std::optional<KeyLine> keyLine(std::string_view lineText) {
    const std::size_t equals = lineText.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return KeyLine{trim(lineText.substr(0, equals)), trim(lineText.substr(equals + 1)), equals + 1};
}

// Where a key is, or where it would go. Only the first section of a name counts, and in it only
// the first line of a key: later duplicates are left alone.
struct KeyPlace {
    bool sectionFound = false;
    std::optional<Line> keyLine;
    std::size_t valueOffset = 0;
    std::string_view value;
    // End of the section's last non-blank line: a new key goes there, ahead of the blank lines
    // that set the next section apart.
    std::size_t insertAt = 0;
    bool insertNeedsLineEnd = false;
};

KeyPlace findKey(std::string_view content, std::string_view section, std::string_view key) {
    KeyPlace place;
    LineCursor cursor(content);
    Line line;
    while (cursor.next(line)) {
        const std::string_view text = cursor.text(line);
        const std::optional<std::string_view> name = sectionName(text);
        if (place.sectionFound) {
            if (name) break;
            if (trim(text).empty()) continue;
            place.insertAt = line.end;
            place.insertNeedsLineEnd = line.end == line.textEnd;
            const std::optional<KeyLine> entry = keyLine(text);
            if (entry && sameName(entry->key, key)) {
                place.keyLine = line;
                place.valueOffset = entry->valueOffset;
                place.value = entry->value;
                break;
            }
        } else if (name && sameName(*name, section)) {
            place.sectionFound = true;
            place.insertAt = line.end;
            place.insertNeedsLineEnd = line.end == line.textEnd;
        }
    }
    return place;
}

std::string_view withoutEnclosingQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string contentWithValue(std::string_view content, std::string_view section,
                             std::string_view key, std::string_view value) {
    const KeyPlace place = findKey(content, section, key);
    std::string result;
    result.reserve(content.size() + section.size() + key.size() + value.size() + 8);
    if (place.keyLine) {
        // The key's own spelling and spacing before '=' stay as the file had them.
        const std::size_t valueStart = place.keyLine->begin + place.valueOffset;
        result.append(content.substr(0, valueStart));
        result.append(value);
        result.append(LINE_END);
        result.append(content.substr(place.keyLine->end));
        return result;
    }
    const std::size_t insertAt = place.sectionFound ? place.insertAt : content.size();
    const bool needsLineEnd =
        place.sectionFound ? place.insertNeedsLineEnd
                           : !content.empty() && content.back() != '\n' && content.back() != '\r';
    result.append(content.substr(0, insertAt));
    if (needsLineEnd) result.append(LINE_END);
    if (!place.sectionFound) {
        result.append("[");
        result.append(trim(section));
        result.append("]");
        result.append(LINE_END);
    }
    result.append(trim(key));
    result.append("=");
    result.append(value);
    result.append(LINE_END);
    result.append(content.substr(insertAt));
    return result;
}

}  // namespace

std::string profileValue(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view defaultValue, std::size_t capacity) {
    if (capacity == 0) return {};
    std::string_view result = defaultValue;
    const KeyPlace place = findKey(content, trim(section), trim(key));
    if (place.keyLine) result = withoutEnclosingQuotes(place.value);
    return std::string(result.substr(0, capacity - 1));
}

std::string withProfileValue(std::string_view content, std::string_view section,
                             std::string_view key, std::string_view value) {
    return contentWithValue(content, trim(section), trim(key), value);
}

std::string storedProfileValue(std::string_view value) {
    const bool changedByReading =
        !value.empty() && (trim(value).size() != value.size() ||
                           withoutEnclosingQuotes(value).size() != value.size());
    if (!changedByReading) return std::string(value);
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted.push_back('"');
    quoted.append(value);
    quoted.push_back('"');
    return quoted;
}
