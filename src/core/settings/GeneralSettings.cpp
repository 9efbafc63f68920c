#include "settings/GeneralSettings.h"

#include "device/Bcd.h"
#include "device/DeviceText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <stdexcept>

namespace tolvane {

namespace {

// Option flag bits that a reset clears (start and stop mode, program order) and sets (bit 1, the funeral and
// special tolling options off, all four code protections); bit 0 and bits 4-7 keep their value.
constexpr std::uint16_t ResetClearedFlags = 0x0F00;
constexpr std::uint16_t ResetSetFlags = 0xF00E;

// The astronomical-clock bytes after a reset: shifts and coordinates 0, all flags set, built-in place 0.
constexpr std::array<std::uint8_t, 8> DefaultAstroBytes{0, 0, 0, 0, 0, 0, 0xFF, 0};

constexpr std::uint32_t MinDisplayTimeMs = 60000;
constexpr std::uint32_t MaxDisplayTimeMs = 1860000;
constexpr std::uint8_t MaxPercent = 100;

// Stored controller-language value of each list position.
constexpr std::array<std::uint8_t, 6> LanguageValues{0, 1, 2, 3, 5, 4};

// The name as it sits in its 32-byte field: device bytes, a zero byte after a shorter name, 0xFF after that.
std::array<std::uint8_t, GeneralSettings::LocationBytes> locationField(std::string_view utf8) {
    std::array<std::uint8_t, GeneralSettings::LocationBytes> field{};
    field.fill(0xFF);
    const std::vector<std::uint8_t> encoded = textToDevice(utf8, GeneralSettings::MaxLocationChars);
    std::copy_n(encoded.begin(), std::min(encoded.size(), field.size()), field.begin());
    return field;
}

} // namespace

GeneralSettings::GeneralSettings() {
    reset();
}

void GeneralSettings::resetItem(int index) {
    if (index != 0) {
        return;
    }
    const std::uint16_t keptFlags = settingsFlags();
    const std::uint8_t keptInterval = manualStartIntervalSeconds();
    record_.fill(0xFF);

    record_.setU8(ContrastOffset, DefaultContrast);
    record_.setU8(BrightnessOffset, DefaultBrightness);
    record_.setU16(FlagsOffset, static_cast<std::uint16_t>((keptFlags & ~ResetClearedFlags) | ResetSetFlags));
    record_.setU32(DisplayTimeOffset, DefaultDisplayTimeMs);
    record_.setU32(UserCodeOffset, numberToBcdWordWithCheck(DefaultUserCode));
    record_.setU32(ServiceCodeOffset, numberToBcdWordWithCheck(DefaultServiceCode));
    restoreSignature();
    const auto name = locationField("Test");
    std::copy(name.begin(), name.end(), record_.bytes().begin() + LocationOffset);
    record_.setU8(ControllerLanguageOffset, 0);
    record_.setU8(ManualStartIntervalOffset, keptInterval);
    record_.setU16(DefaultRingTimeOffset, DefaultRingTimeSeconds);
    record_.setU8(KeyF2Offset, 0);
    record_.setU8(KeyF3Offset, 1);
    std::copy(DefaultAstroBytes.begin(), DefaultAstroBytes.end(), record_.bytes().begin() + SunriseShiftOffset);
    marks_ = 0;
}

void GeneralSettings::reset() {
    resetItem(0);
}

void GeneralSettings::swapByteOrder(std::span<std::uint8_t> image) const {
    bytes::swap32(image, DisplayTimeOffset);
    bytes::swap32(image, UserCodeOffset);
    bytes::swap32(image, ServiceCodeOffset);
    bytes::swap32(image, SignatureOffset);
    bytes::swap16(image, DefaultRingTimeOffset);
}

void GeneralSettings::unpackImage(std::span<const std::uint8_t> image) {
    bytes::check(image.size(), 0, ImageSize);
    std::copy_n(image.begin(), ImageSize, record_.bytes().begin());
    swapByteOrder(record_.bytes());
    replaceInvalidCodes();
    marks_ = 0;
}

void GeneralSettings::writeImage(std::span<std::uint8_t> image) const {
    bytes::check(image.size(), 0, ImageSize);
    const auto own = record_.bytes();
    std::copy(own.begin(), own.end(), image.begin());
    bytes::putU32LE(image, SignatureOffset, Signature);
    // Whatever a card or an older project file left behind the fields is not carried on.
    std::fill(image.begin() + UnusedTailOffset, image.begin() + ImageSize, std::uint8_t{0xFF});
    swapByteOrder(image.first(ImageSize));
}

void GeneralSettings::packImage(std::span<std::uint8_t> image) {
    restoreSignature();
    writeImage(image);
}

void GeneralSettings::validate(IssueList& issues) const {
    if (displayContrast() > MaxPercent) {
        issues.push_back({IssueContrast, 0, Area, severity::Critical});
    }
    if (displayTimeMs() < MinDisplayTimeMs || displayTimeMs() > MaxDisplayTimeMs) {
        issues.push_back({IssueDisplayTime, 0, Area, severity::Critical});
    }
    if (displayBrightness() > MaxPercent) {
        issues.push_back({IssueBrightness, 0, Area, severity::Critical});
    }
    if (locationName().empty()) {
        issues.push_back({IssueLocationEmpty, 0, LocationArea, severity::Note});
    }
    // Everyone who owns a controller knows the factory codes: a reminder, never a bar to writing the card.
    if (userCodeIsDefault()) {
        issues.push_back({IssueDefaultCode, 0, CodesArea, severity::Note});
    }
    if (serviceCodeIsDefault()) {
        issues.push_back({IssueDefaultCode, 1, CodesArea, severity::Note});
    }
}

void GeneralSettings::serialize(SectionArchive& archive) {
    if (archive.isStoring()) {
        const auto image = archive.appendBody(ImageSize);
        std::fill(image.begin(), image.end(), std::uint8_t{0xFF});
        packImage(image);
        return;
    }
    std::array<std::uint8_t, ImageSize> image;
    image.fill(0xFF);
    const std::span<const std::uint8_t> body = archive.readBody(ImageSize);
    std::copy(body.begin(), body.end(), image.begin());
    unpackImage(image);
}

bool GeneralSettings::isMarked(int bit) const {
    if (bit < 0 || bit > 63) {
        throw std::out_of_range("change mark bit outside 0-63");
    }
    return (marks_ >> bit) & 1U;
}

void GeneralSettings::markChanged(int bit) {
    if (bit < 0 || bit > 63) {
        throw std::out_of_range("change mark bit outside 0-63");
    }
    marks_ |= std::uint64_t{1} << bit;
}

void GeneralSettings::setU8Marked(std::size_t offset, std::uint8_t value, int mark) {
    if (record_.u8(offset) != value) {
        record_.setU8(offset, value);
        markChanged(mark);
    }
}

void GeneralSettings::setDisplayContrast(std::uint8_t percent) {
    setU8Marked(ContrastOffset, percent, Mark::DisplayContrast);
}

void GeneralSettings::setDisplayBrightness(std::uint8_t percent) {
    setU8Marked(BrightnessOffset, percent, Mark::DisplayBrightness);
}

void GeneralSettings::setDisplayTimeMs(std::uint32_t milliseconds) {
    if (displayTimeMs() != milliseconds) {
        record_.setU32(DisplayTimeOffset, milliseconds);
        markChanged(Mark::DisplayTime);
    }
}

void GeneralSettings::setFlag(int bit, bool on) {
    const auto mask = static_cast<std::uint16_t>(1U << bit);
    const std::uint16_t flags = settingsFlags();
    record_.setU16(FlagsOffset, static_cast<std::uint16_t>(on ? (flags | mask) : (flags & ~mask)));
}

void GeneralSettings::setFlagMarked(int bit, bool on, int mark) {
    if (flag(bit) != on) {
        setFlag(bit, on);
        markChanged(mark);
    }
}

void GeneralSettings::setManualRingUsesDefaultTime(bool useDefault) {
    setFlag(0, useDefault);
    // The page marks its radio group on every choice, changed or not.
    markChanged(Mark::ManualRingTimeMode);
}

void GeneralSettings::setFullHourStrikingAdvanced(bool advanced) {
    setFlagMarked(1, advanced, Mark::FullHourStriking);
}

void GeneralSettings::setStopMode(int index) {
    setFlagMarked(8, index != 0, Mark::StopMode);
}

void GeneralSettings::setStartMode(int index) {
    setFlagMarked(9, index != 0, Mark::StartMode);
}

void GeneralSettings::setProgramOrder(int order) {
    if (order < 0 || order > 3) {
        return;
    }
    const auto flags = static_cast<std::uint16_t>((settingsFlags() & ~0x0C00U) | (static_cast<unsigned>(order) << 10));
    record_.setU16(FlagsOffset, flags);
    // The page marks its radio group on every choice, changed or not.
    markChanged(Mark::ProgramOrder);
}

void GeneralSettings::setCodeProtects(Protection what, bool on) {
    int mark = Mark::ProtectsBells;
    switch (what) {
    case Protection::Bells:
        mark = Mark::ProtectsBells;
        break;
    case Protection::Menu:
        mark = Mark::ProtectsMenu;
        break;
    case Protection::Programs:
        mark = Mark::ProtectsPrograms;
        break;
    case Protection::Failures:
        mark = Mark::ProtectsFailures;
        break;
    }
    setFlagMarked(static_cast<int>(what), on, mark);
}

int GeneralSettings::userCode() const {
    return bcdWordWithCheckToNumber(userCodeWord());
}

int GeneralSettings::serviceCode() const {
    return bcdWordWithCheckToNumber(serviceCodeWord());
}

bool GeneralSettings::setCode(std::size_t offset, int code, int mark) {
    if (code < 0 || code > MaxCode) {
        return false;
    }
    const std::uint32_t word = numberToBcdWordWithCheck(code);
    if (record_.u32(offset) != word) {
        record_.setU32(offset, word);
        markChanged(mark);
    }
    return true;
}

bool GeneralSettings::setUserCode(int code) {
    return setCode(UserCodeOffset, code, Mark::UserCode);
}

bool GeneralSettings::setServiceCode(int code) {
    return setCode(ServiceCodeOffset, code, Mark::ServiceCode);
}

std::optional<int> GeneralSettings::codeFromTyped(std::string_view text) {
    if (text.size() != CodeDigits) {
        return std::nullopt;
    }
    int code = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        code = code * 10 + (c - '0');
    }
    return code;
}

std::string GeneralSettings::codeText(int code) {
    std::array<char, 16> digits{};
    std::snprintf(digits.data(), digits.size(), "%.4d", code);
    return digits.data();
}

bool GeneralSettings::userCodeIsDefault() const {
    return userCodeWord() == numberToBcdWordWithCheck(DefaultUserCode);
}

bool GeneralSettings::serviceCodeIsDefault() const {
    return serviceCodeWord() == numberToBcdWordWithCheck(DefaultServiceCode);
}

void GeneralSettings::replaceInvalidCodes() {
    if (!isValidBcdWordWithCheck(userCodeWord())) {
        record_.setU32(UserCodeOffset, numberToBcdWordWithCheck(DefaultUserCode));
    }
    if (!isValidBcdWordWithCheck(serviceCodeWord())) {
        record_.setU32(ServiceCodeOffset, numberToBcdWordWithCheck(DefaultServiceCode));
    }
}

std::string GeneralSettings::locationName() const {
    const auto field = record_.bytes().subspan<LocationOffset, LocationBytes>();
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    return deviceToText(std::span<const std::uint8_t>(field.begin(), end), TextMode::Latin);
}

void GeneralSettings::setLocationName(std::string_view utf8) {
    const auto field = locationField(utf8);
    const auto stored = record_.bytes().subspan<LocationOffset, LocationBytes>();
    if (!std::equal(field.begin(), field.end(), stored.begin())) {
        std::copy(field.begin(), field.end(), stored.begin());
        markChanged(Mark::LocationName);
    }
}

void GeneralSettings::setControllerLanguage(std::uint8_t value) {
    setU8Marked(ControllerLanguageOffset, value, Mark::ControllerLanguage);
}

void GeneralSettings::setManualStartIntervalSeconds(std::uint8_t seconds) {
    setU8Marked(ManualStartIntervalOffset, seconds, Mark::ManualStartInterval);
}

void GeneralSettings::setDefaultRingTimeSeconds(std::uint16_t seconds) {
    if (defaultRingTimeSeconds() != seconds) {
        record_.setU16(DefaultRingTimeOffset, seconds);
        markChanged(Mark::DefaultRingTime);
    }
}

void GeneralSettings::setKeyF2Function(std::uint8_t value) {
    setU8Marked(KeyF2Offset, value, Mark::KeyF2);
}

void GeneralSettings::setKeyF3Function(std::uint8_t value) {
    setU8Marked(KeyF3Offset, value, Mark::KeyF3);
}

void GeneralSettings::setSunriseShiftMinutes(std::int8_t minutes) {
    setU8Marked(SunriseShiftOffset, static_cast<std::uint8_t>(minutes), Mark::SunriseShift);
}

void GeneralSettings::setSunsetShiftMinutes(std::int8_t minutes) {
    setU8Marked(SunsetShiftOffset, static_cast<std::uint8_t>(minutes), Mark::SunsetShift);
}

bool GeneralSettings::setCoordinate(std::size_t degreesOffset, std::size_t minutesOffset, bool negativeHemisphere,
                                    int degrees, int minutes, int fullDegrees, int mark) {
    if (degrees < 0 || degrees > 0x7F || minutes < 0 || minutes > 0xFF) {
        return false;
    }
    if (degrees == fullDegrees) {
        minutes = 0;
    }
    const auto degreesByte = static_cast<std::uint8_t>(degrees | (negativeHemisphere ? 0x80 : 0x00));
    const auto minutesByte = static_cast<std::uint8_t>(minutes);
    if (record_.u8(degreesOffset) != degreesByte || record_.u8(minutesOffset) != minutesByte) {
        record_.setU8(degreesOffset, degreesByte);
        record_.setU8(minutesOffset, minutesByte);
        markChanged(mark);
    }
    return true;
}

bool GeneralSettings::setLatitude(bool south, int degrees, int minutes) {
    return setCoordinate(LatitudeDegreesOffset, LatitudeMinutesOffset, south, degrees, minutes, 90, Mark::Latitude);
}

bool GeneralSettings::setLongitude(bool west, int degrees, int minutes) {
    return setCoordinate(LongitudeDegreesOffset, LongitudeMinutesOffset, west, degrees, minutes, 180, Mark::Longitude);
}

void GeneralSettings::storePlaceCoordinates(std::uint8_t latitudeDegreesByte, std::uint8_t latitudeMinutes,
                                            std::uint8_t longitudeDegreesByte, std::uint8_t longitudeMinutes) {
    record_.setU8(LatitudeDegreesOffset, latitudeDegreesByte);
    record_.setU8(LatitudeMinutesOffset, latitudeMinutes);
    record_.setU8(LongitudeDegreesOffset, longitudeDegreesByte);
    record_.setU8(LongitudeMinutesOffset, longitudeMinutes);
}

void GeneralSettings::setAstroFlag(std::uint8_t mask, bool on, int mark) {
    const std::uint8_t old = astroFlags();
    setU8Marked(AstroFlagsOffset, static_cast<std::uint8_t>(on ? (old | mask) : (old & ~mask)), mark);
}

void GeneralSettings::setAstroRelayOnWhenDark(bool on) {
    setAstroFlag(0x04, on, Mark::AstroDarkPolarity);
}

void GeneralSettings::setAstroUseGps(bool on) {
    setAstroFlag(0x02, on, Mark::AstroGps);
}

void GeneralSettings::setAstroHiddenOptionTicked(bool ticked) {
    setAstroFlag(0x01, !ticked, Mark::AstroHiddenOption);
}

bool GeneralSettings::setCityIndex(std::uint8_t index) {
    if (index >= AstroPlaces::Count && index != CityByHand) {
        return false;
    }
    // Coordinates by hand start from the place that was chosen, as the page showed them, whatever older bytes
    // the coordinate fields still held.
    applyPlaceCoordinates();
    if (cityIndex() != index) {
        record_.setU8(CityIndexOffset, index);
        markChanged(Mark::Latitude);
        markChanged(Mark::Longitude);
    }
    applyPlaceCoordinates();
    return true;
}

int GeneralSettings::placeListPosition() const {
    return cityIndex() < AstroPlaces::Count ? cityIndex() : PlaceListByHand;
}

bool GeneralSettings::choosePlace(int position) {
    if (position < 0 || position > PlaceListByHand) {
        return false;
    }
    return setCityIndex(position == PlaceListByHand ? CityByHand : static_cast<std::uint8_t>(position));
}

void GeneralSettings::applyPlaceCoordinates() {
    if (cityIndex() >= AstroPlaces::Count) {
        return;
    }
    const AstroPlaces::Place& place = AstroPlaces::table()[cityIndex()];
    storePlaceCoordinates(place.latitudeDegrees, place.latitudeMinutes, place.longitudeDegrees, place.longitudeMinutes);
}

AstroPlaces::Place GeneralSettings::controllerCoordinates() const {
    if (cityIndex() < AstroPlaces::Count) {
        return AstroPlaces::table()[cityIndex()];
    }
    return {record_.u8(LongitudeDegreesOffset), record_.u8(LongitudeMinutesOffset), record_.u8(LatitudeDegreesOffset),
            record_.u8(LatitudeMinutesOffset)};
}

std::uint8_t GeneralSettings::controllerLanguageForPosition(int position) {
    if (position < 0 || position >= static_cast<int>(LanguageValues.size())) {
        return 0;
    }
    return LanguageValues[static_cast<std::size_t>(position)];
}

int GeneralSettings::positionOfControllerLanguage(std::uint8_t value) {
    if (value < 1 || value > 5) {
        return 0;
    }
    const auto it = std::find(LanguageValues.begin(), LanguageValues.end(), value);
    return static_cast<int>(it - LanguageValues.begin());
}

SectionState GeneralSettings::state() const {
    return sectionstate::tableState<Record, std::uint64_t>(std::span(&record_, 1), std::span(&marks_, 1));
}

void GeneralSettings::setState(const SectionState& state) {
    sectionstate::setTableState<Record, std::uint64_t>(state, std::span(&record_, 1), std::span(&marks_, 1));
}

void GeneralSettings::markChanges(const SectionState& from, const SectionState& to) {
    sectionstate::markTableChanges<Record, std::uint64_t>(from, to, std::span(&marks_, 1), ~std::uint64_t{0});
}

} // namespace tolvane
