#include "report/WiringText.h"

#include "project/ProjectData.h"
#include "project/TextFormat.h"
#include "ringing/Wiring.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tolvane {

namespace {

std::size_t codePoints(const std::string& utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The lines as columns padded to the widest cell; the last column is not padded, so no line ends in spaces.
std::string columns(const std::vector<std::array<std::string, 3>>& rows) {
    std::array<std::size_t, 3> widths{};
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            widths[c] = std::max(widths[c], codePoints(row[c]));
        }
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size()) {
                line.append(widths[c] - codePoints(row[c]) + 2, ' ');
            }
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
    }
    return out;
}

} // namespace

std::string labelText(const LabelText& label, const TextSource& texts) {
    return formatText(texts.text(label.textId), {static_cast<long long>(label.number)});
}

std::string wiringTableText(const ProjectData& project, const TextSource& texts) {
    const OutputMap& map = project.outputs();
    std::string out;
    const std::string location = project.general().locationName();
    out += location.empty() ? texts.text(wiring::TableTitleText)
                            : formatText(texts.text(wiring::LocationTitleText), {location});
    out += "\n\n";

    std::vector<std::array<std::string, 3>> rows;
    rows.push_back(
        {texts.text(wiring::TerminalHeadText), texts.text(wiring::DoesHeadText), texts.text(wiring::WhichHeadText)});
    for (const WiringLine& line : wiring::wiringLines(map)) {
        rows.push_back({line.terminal.name() + (line.shared ? " (!)" : ""), labelText(line.does, texts),
                        line.which ? labelText(*line.which, texts) : std::string()});
    }
    out += columns(rows);

    for (int relay = 0; relay < OutputMapRecord::RelayCount; ++relay) {
        const auto functions = wiring::relayFunctions(map, static_cast<std::uint8_t>(relay));
        if (functions.size() < 2) {
            continue;
        }
        std::string names;
        for (const LabelText& function : functions) {
            names += (names.empty() ? "" : ", ") + labelText(function, texts);
        }
        const Terminal terminal{Terminal::Kind::Relay, relay};
        out += "(!) " + formatText(texts.text(wiring::SharedRelayText), {terminal.name(), names}) + "\n";
    }
    return out;
}

} // namespace tolvane
