#include "project/CorrectionsEditing.h"

#include "project/ProjectData.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace tolvane::correctionsedit {

SignedShown shownSigned(std::int8_t value) {
    return {std::abs(static_cast<int>(value)), value < 0};
}

std::int8_t signedFromTyped(long long magnitude, bool negative) {
    const long long size = std::min<long long>(magnitude < 0 ? -magnitude : magnitude, 1000);
    return static_cast<std::int8_t>(std::clamp<long long>(negative ? -size : size, -128, 127));
}

std::string halfHoursText(std::int8_t halfHours) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%.1f", shownSigned(halfHours).magnitude / 2.0);
    return text.data();
}

Coordinates shownCoordinates(const GeneralSettings& general) {
    if (!coordinatesEditable(general)) {
        const AstroPlaces::Place& place = AstroPlaces::table()[general.cityIndex()];
        constexpr auto Bit = AstroPlaces::HemisphereBit;
        return {(place.latitudeDegrees & Bit) != 0,  place.latitudeDegrees & MaxStoredDegrees,  place.latitudeMinutes,
                (place.longitudeDegrees & Bit) != 0, place.longitudeDegrees & MaxStoredDegrees, place.longitudeMinutes};
    }
    return {general.latitudeSouth(), general.latitudeDegrees(),  general.latitudeMinutes(),
            general.longitudeWest(), general.longitudeDegrees(), general.longitudeMinutes()};
}

bool coordinatesEditable(const GeneralSettings& general) {
    return general.placeListPosition() == GeneralSettings::PlaceListByHand;
}

std::uint8_t astroRelay(const ProjectData& project) {
    return project.outputs().record().relay(OutputMapRecord::AstroRelay);
}

LabelText astroRelayLabel(const ProjectData& project) {
    return OutputMap::relayText(astroRelay(project));
}

bool chooseAstroRelay(ProjectData& project, std::uint8_t relay) {
    OutputMap& map = project.outputs();
    const SectionState before = map.state();
    const std::uint8_t old = astroRelay(project);
    if (!map.chooseRelay(OutputMapRecord::AstroRelay, relay)) {
        return false;
    }
    if (relay != old) {
        map.markChanges(before, map.state());
        project.general().markChanged(GeneralSettings::Mark::AstroRelay);
    }
    return true;
}

} // namespace tolvane::correctionsedit
