#include "schedules/HolidaySource.h"

#include "device/DeviceText.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <span>

namespace tolvane {

namespace {

constexpr std::uint8_t FileMark = 81; // 'Q'
constexpr std::uint8_t FileVersionMajor = 1;
constexpr std::uint8_t FileVersionMinor = 2;
constexpr int MaxOffset = 366;
constexpr int MaxDays = 366;

struct NoName final : TextSource {
    std::string text(int) const override { return {}; }
};

std::vector<std::string_view> split(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(separator, start);
        fields.push_back(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) {
            return fields;
        }
        start = end + 1;
    }
}

// A whole decimal number, an optional sign included; nothing else may follow it.
std::optional<int> parseInt(std::string_view text, bool signAllowed) {
    if (text.empty()) {
        return std::nullopt;
    }
    bool negative = false;
    if (signAllowed && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 4 || text.front() == '+' || text.front() == '-') {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

int daysInMonth(int month) {
    static constexpr int days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return days[month - 1];
}

// Why `name` cannot be stored exactly, or nothing when it can.
std::optional<std::string> nameProblem(const std::string& name) {
    if (name.empty()) {
        return "the name is empty";
    }
    for (const char32_t c : utf8ToCodePoints(name)) {
        if (c < 0x20 || c == 0x7F || c == 0xFFFD) {
            return "the name holds a control character or is not valid UTF-8";
        }
    }
    const auto device = textToDevice(name, HolidayTable::NameBytes - 1);
    const auto text = std::span(device).first(device.size() - 1);
    if (deviceToText(text, TextMode::Latin) != name) {
        return "the name holds a character the controller cannot show";
    }
    if (fitToWidth(name, HolidayTable::NamePixelLimit) != name) {
        return "the name is wider than the controller's display (192 pixels)";
    }
    return std::nullopt;
}

} // namespace

std::vector<HolidaySource::Error> HolidaySource::parse(std::string_view text, HolidayTable& table) {
    table.reset();
    std::vector<Error> errors;
    const NoName noName;
    int lineNumber = 0;
    bool tableFull = false;
    for (std::string_view line : split(text, '\n')) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        auto fail = [&](std::string message) { errors.push_back({lineNumber, std::move(message)}); };

        const auto fields = split(line, '\t');
        if (fields.size() != 4) {
            fail("expected 4 tab-separated fields (kind, date, days, name), found " + std::to_string(fields.size()));
            continue;
        }
        const std::string_view kind = fields[0];
        if (kind != "fixed" && kind != "movable") {
            fail("kind must be 'fixed' or 'movable', not '" + std::string(kind) + "'");
            continue;
        }
        const bool movable = kind == "movable";
        int day = 0;
        int month = 0;
        int offset = 0;
        if (movable) {
            const auto value = parseInt(fields[1], true);
            if (!value || *value < -MaxOffset || *value > MaxOffset) {
                fail("offset must be a whole number of days from Easter Sunday, -366 to +366, not '" +
                     std::string(fields[1]) + "'");
                continue;
            }
            offset = *value;
        } else {
            const auto parts = split(fields[1], '.');
            const auto d = parts.size() == 2 ? parseInt(parts[0], false) : std::nullopt;
            const auto m = parts.size() == 2 ? parseInt(parts[1], false) : std::nullopt;
            if (!d || !m || *m < 1 || *m > 12 || *d < 1 || *d > daysInMonth(*m)) {
                fail("date must be an existing day.month such as 25.12, not '" + std::string(fields[1]) + "'");
                continue;
            }
            day = *d;
            month = *m;
        }
        const auto days = parseInt(fields[2], false);
        if (!days || *days < 1 || *days > MaxDays) {
            fail("days must be a number from 1 to 366, not '" + std::string(fields[2]) + "'");
            continue;
        }
        const std::string name(fields[3]);
        if (const auto problem = nameProblem(name)) {
            fail(*problem + ": '" + name + "'");
            continue;
        }
        const auto sameDate = [&](const Holiday& h) {
            return !h.isFree() && h.isMovable() == movable &&
                   (movable ? h.offset() == offset : (h.day() == day && h.month() == month));
        };
        const int duplicate = [&] {
            for (int i = 0; i < HolidayTable::Count; ++i) {
                if (sameDate(table.record(i))) {
                    return i;
                }
            }
            return -1;
        }();
        if (duplicate >= 0) {
            fail("same date as '" + table.name(duplicate) + "'");
            continue;
        }

        const int slot = table.addHoliday(noName);
        if (slot < 0) {
            if (!tableFull) {
                fail("more than 128 holidays");
                tableFull = true;
            }
            continue;
        }
        table.setDays(slot, static_cast<std::uint16_t>(*days));
        if (movable) {
            table.setOffset(slot, offset);
        } else {
            table.setMovable(slot, false);
            table.setFixedDate(slot, static_cast<std::uint8_t>(day), static_cast<std::uint8_t>(month));
        }
        table.setName(slot, name);
    }
    table.clearModified();
    return errors;
}

std::vector<std::uint8_t> HolidaySource::holidayFile(const HolidayTable& table) {
    HolidayTable copy = table; // packing is not const
    std::vector<std::uint8_t> file(3 + HolidayTable::ImageSize, 0xFF);
    file[0] = FileMark;
    file[1] = FileVersionMajor;
    file[2] = FileVersionMinor;
    copy.packImage(std::span(file).subspan(3));
    return file;
}

} // namespace tolvane
