#pragma once

#include "device/ByteIO.h"
#include "section/ProjectSection.h"
#include "section/ValidationIssue.h"
#include "settings/AstroPlaces.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tolvane {

// The controller-wide settings: display, option flags, the two keypad access codes, the location name, manual
// ringing, the F2/F3 keys and the astronomical-clock bytes. The section is held as its 264-byte image in the
// PC's byte order (the configuration file and the project file store the same bytes, with some numbers high byte
// first), so bytes that nobody edits travel unchanged. One 64-bit change mask records which fields the pages
// changed, including marks for values that live elsewhere (bells, hammers, clocks, relays). The amplifier block
// keeps its own marks.
class GeneralSettings : public ProjectSection {
public:
    static constexpr std::size_t ImageSize = 264;
    using Record = ByteRecord<ImageSize>;

    // Field offsets within the image.
    static constexpr std::size_t ContrastOffset = 0x00;
    static constexpr std::size_t BrightnessOffset = 0x01;
    static constexpr std::size_t FlagsOffset = 0x02;
    static constexpr std::size_t DisplayTimeOffset = 0x04;
    static constexpr std::size_t UserCodeOffset = 0x08;
    static constexpr std::size_t ServiceCodeOffset = 0x0C;
    static constexpr std::size_t SignatureOffset = 0x10;
    static constexpr std::size_t LocationOffset = 0x14;
    static constexpr std::size_t LocationBytes = 32;
    static constexpr std::size_t ControllerLanguageOffset = 0x34;
    static constexpr std::size_t ManualStartIntervalOffset = 0x35;
    static constexpr std::size_t DefaultRingTimeOffset = 0x36;
    static constexpr std::size_t KeyF2Offset = 0x38;
    static constexpr std::size_t KeyF3Offset = 0x39;
    static constexpr std::size_t SunriseShiftOffset = 0x3A;
    static constexpr std::size_t SunsetShiftOffset = 0x3B;
    static constexpr std::size_t LongitudeDegreesOffset = 0x3C;
    static constexpr std::size_t LongitudeMinutesOffset = 0x3D;
    static constexpr std::size_t LatitudeDegreesOffset = 0x3E;
    static constexpr std::size_t LatitudeMinutesOffset = 0x3F;
    static constexpr std::size_t AstroFlagsOffset = 0x40;
    static constexpr std::size_t CityIndexOffset = 0x41;
    // The rest of the image (0x42 to its end) is no field: the card always carries 0xFF there.
    static constexpr std::size_t UnusedTailOffset = 0x42;

    static constexpr std::uint32_t Signature = 0xAA55A5A5;
    // Access codes a reset gives, and what replaces a code read from a card that fails its check half.
    static constexpr int DefaultUserCode = 1111;
    static constexpr int DefaultServiceCode = 7777;
    static constexpr int MaxCode = 9999;
    static constexpr std::size_t MaxLocationChars = 32;
    static constexpr std::uint8_t DefaultContrast = 50;
    static constexpr std::uint8_t DefaultBrightness = 70;
    static constexpr std::uint32_t DefaultDisplayTimeMs = 300000;
    static constexpr std::uint16_t DefaultRingTimeSeconds = 180;
    static constexpr std::uint8_t CityByHand = 0xFF;
    // The place list holds the built-in places and, last, the entry for coordinates typed by hand.
    static constexpr int PlaceListByHand = AstroPlaces::Count;

    // Bits of the change mask, one per control group of the pages that edit these settings. The astronomical
    // clock's marks are bits 6-13 of the mask's high 32-bit word. Bits 4-6 are not used: the amplifier's
    // switching, lead time and switch-off delay are marked in the amplifier block.
    struct Mark {
        static constexpr int DisplayContrast = 0;
        static constexpr int DisplayBrightness = 1;
        static constexpr int DisplayTime = 2;
        static constexpr int ControllerLanguage = 3;
        static constexpr int AmplifierRelay = 7;
        static constexpr int Bell1 = 8; // bells 1-5: 8-12
        static constexpr int ClockLock = 13;
        static constexpr int Clock1 = 14; // clocks 1-2: 14-15
        static constexpr int StartMode = 16;
        static constexpr int StopMode = 17;
        static constexpr int LocationName = 18;
        static constexpr int DefaultRingTime = 19;
        static constexpr int Hammer1 = 20; // hammers 1-5: 20-24
        static constexpr int ProgramOrder = 25;
        static constexpr int ManualRingTimeMode = 26;
        static constexpr int ManualStartInterval = 27;
        static constexpr int KeyF2 = 28;
        static constexpr int KeyF3 = 29;
        static constexpr int UserCode = 30;
        static constexpr int ServiceCode = 31;
        static constexpr int ProtectsBells = 32;
        static constexpr int ProtectsMenu = 33;
        static constexpr int ProtectsPrograms = 34;
        static constexpr int ProtectsFailures = 35;
        static constexpr int FullHourStriking = 36;
        static constexpr int AstroRelay = 38;
        static constexpr int SunriseShift = 39;
        static constexpr int SunsetShift = 40;
        static constexpr int Latitude = 41;
        static constexpr int Longitude = 42;
        static constexpr int AstroDarkPolarity = 43;
        static constexpr int AstroHiddenOption = 44;
        static constexpr int AstroGps = 45;
    };

    // What the user access code protects; the value is the bit of the option flags.
    enum class Protection : int { Programs = 12, Menu = 13, Bells = 14, Failures = 15 };

    // Validation codes and areas.
    static constexpr std::int32_t IssueContrast = 41;
    static constexpr std::int32_t IssueBrightness = 42;
    static constexpr std::int32_t IssueDisplayTime = 43;
    static constexpr std::int32_t IssueLocationEmpty = 45;
    // A note while an access code is still the factory default: item 0 the user code, item 1 the service code.
    static constexpr std::int32_t IssueDefaultCode = 100;
    static constexpr std::int32_t Area = 14;
    static constexpr std::int32_t LocationArea = 15;
    static constexpr std::int32_t CodesArea = 18;
    static constexpr int CodeDigits = 4;

    GeneralSettings();

    // The section operations.
    void resetItem(int index);
    void reset();
    void swapByteOrder(std::span<std::uint8_t> image) const;
    void unpackImage(std::span<const std::uint8_t> image);
    // The block in card form with the constant signature in its place; the settings themselves are not changed
    // (a card write changes no setting).
    void writeImage(std::span<std::uint8_t> image) const;
    // writeImage() after the settings take the constant signature back too: the project file's form.
    void packImage(std::span<std::uint8_t> image);
    void validate(IssueList& issues) const;
    void serialize(SectionArchive& archive) override;
    void clearModified() override { marks_ = 0; }
    bool isModified() const override { return marks_ != 0; }
    SectionState state() const override;
    void setState(const SectionState& state) override;
    void markChanges(const SectionState& from, const SectionState& to) override;

    const Record& record() const { return record_; }

    // Change marks.
    std::uint64_t changeMask() const { return marks_; }
    bool isMarked(int bit) const;
    // Marks a value held elsewhere (bell, hammer, clock, relay) that this section's pages show.
    void markChanged(int bit);

    // Display (user page).
    std::uint8_t displayContrast() const { return record_.u8(ContrastOffset); }
    void setDisplayContrast(std::uint8_t percent);
    std::uint8_t displayBrightness() const { return record_.u8(BrightnessOffset); }
    void setDisplayBrightness(std::uint8_t percent);
    std::uint32_t displayTimeMs() const { return record_.u32(DisplayTimeOffset); }
    void setDisplayTimeMs(std::uint32_t milliseconds);

    // Option flags.
    std::uint16_t settingsFlags() const { return record_.u16(FlagsOffset); }
    // Bit 0: manual ringing uses the default ringing time (true) or remembers the last one (false).
    bool manualRingUsesDefaultTime() const { return flag(0); }
    void setManualRingUsesDefaultTime(bool useDefault);
    // Bit 1: the full hour is struck advanced (true) or full (false).
    bool fullHourStrikingAdvanced() const { return flag(1); }
    void setFullHourStrikingAdvanced(bool advanced);
    // Bit 2 clear: funeral program option 1 is on. Not marked as a change.
    bool funeralOption1On() const { return !flag(2); }
    void setFuneralOption1On(bool on) { setFlag(2, !on); }
    // Bit 3 clear: the special tolling program is in use. Not marked as a change.
    bool specialTollingOn() const { return !flag(3); }
    void setSpecialTollingOn(bool on) { setFlag(3, !on); }
    // Bit 8: index of the program stop option; bit 9: of the start option.
    int stopMode() const { return flag(8) ? 1 : 0; }
    void setStopMode(int index);
    int startMode() const { return flag(9) ? 1 : 0; }
    void setStartMode(int index);
    // Bits 10-11: 0 by time, 1 by number, 2 chosen by hand. Values that do not fit the two bits are ignored.
    int programOrder() const { return (settingsFlags() >> 10) & 0x3; }
    void setProgramOrder(int order);
    bool codeProtects(Protection what) const { return flag(static_cast<int>(what)); }
    void setCodeProtects(Protection what, bool on);

    // Access codes: 32-bit words holding the code as BCD with a check half.
    std::uint32_t userCodeWord() const { return record_.u32(UserCodeOffset); }
    std::uint32_t serviceCodeWord() const { return record_.u32(ServiceCodeOffset); }
    // The decoded four digits (also when the check half does not match; an invalid word gives its invalid marker).
    int userCode() const;
    int serviceCode() const;
    // Stores the code 0-9999 and returns true; a number outside that range is refused and nothing changes.
    bool setUserCode(int code);
    bool setServiceCode(int code);
    // What a code field stores for its text: the code when the text is exactly four digits, nothing otherwise
    // (a half-typed or cleared field never becomes a code).
    static std::optional<int> codeFromTyped(std::string_view text);
    // The four digits a code field shows ("%.4d").
    static std::string codeText(int code);
    bool userCodeIsDefault() const;
    bool serviceCodeIsDefault() const;

    std::uint32_t signature() const { return record_.u32(SignatureOffset); }
    // Writes the constant signature again into the settings (a reset, storing the project file); an image carries
    // it whatever the settings hold.
    void restoreSignature() { record_.setU32(SignatureOffset, Signature); }

    // Location name: at most 32 characters as device bytes, a zero byte after a shorter name.
    std::string locationName() const;
    // Characters beyond the 32nd are dropped.
    void setLocationName(std::string_view utf8);

    // Controller menus and manual control (user page).
    std::uint8_t controllerLanguage() const { return record_.u8(ControllerLanguageOffset); }
    void setControllerLanguage(std::uint8_t value);
    std::uint8_t manualStartIntervalSeconds() const { return record_.u8(ManualStartIntervalOffset); }
    void setManualStartIntervalSeconds(std::uint8_t seconds);
    std::uint16_t defaultRingTimeSeconds() const { return record_.u16(DefaultRingTimeOffset); }
    void setDefaultRingTimeSeconds(std::uint16_t seconds);

    // Keys F2 and F3: function values 0-4.
    std::uint8_t keyF2Function() const { return record_.u8(KeyF2Offset); }
    void setKeyF2Function(std::uint8_t value);
    std::uint8_t keyF3Function() const { return record_.u8(KeyF3Offset); }
    void setKeyF3Function(std::uint8_t value);

    // Astronomical clock (time-corrections page).
    std::int8_t sunriseShiftMinutes() const { return static_cast<std::int8_t>(record_.u8(SunriseShiftOffset)); }
    void setSunriseShiftMinutes(std::int8_t minutes);
    std::int8_t sunsetShiftMinutes() const { return static_cast<std::int8_t>(record_.u8(SunsetShiftOffset)); }
    void setSunsetShiftMinutes(std::int8_t minutes);
    int latitudeDegrees() const { return record_.u8(LatitudeDegreesOffset) & 0x7F; }
    bool latitudeSouth() const { return (record_.u8(LatitudeDegreesOffset) & 0x80) != 0; }
    int latitudeMinutes() const { return record_.u8(LatitudeMinutesOffset); }
    int longitudeDegrees() const { return record_.u8(LongitudeDegreesOffset) & 0x7F; }
    bool longitudeWest() const { return (record_.u8(LongitudeDegreesOffset) & 0x80) != 0; }
    int longitudeMinutes() const { return record_.u8(LongitudeMinutesOffset); }
    // The degrees share their byte with the hemisphere bit, so only 0-127 degrees fit; other degrees and minutes
    // outside 0-255 are refused (false, nothing stored). 90 degrees of latitude and 180 of longitude force the
    // minutes to 0.
    bool setLatitude(bool south, int degrees, int minutes);
    bool setLongitude(bool west, int degrees, int minutes);
    // Copies a built-in place's coordinates (raw degree bytes with the hemisphere bit) without marking: the place
    // choice itself is what the user changed.
    void storePlaceCoordinates(std::uint8_t latitudeDegreesByte, std::uint8_t latitudeMinutes,
                               std::uint8_t longitudeDegreesByte, std::uint8_t longitudeMinutes);
    std::uint8_t astroFlags() const { return record_.u8(AstroFlagsOffset); }
    // Bit 2: the astronomical relay is on while it is dark (true) or off while it is dark (false).
    bool astroRelayOnWhenDark() const { return (astroFlags() & 0x04) != 0; }
    void setAstroRelayOnWhenDark(bool on);
    // Bit 1: use GPS.
    bool astroUseGps() const { return (astroFlags() & 0x02) != 0; }
    void setAstroUseGps(bool on);
    // Bit 0, kept by a check box the page does not show: ticked means the bit is clear.
    bool astroHiddenOptionTicked() const { return (astroFlags() & 0x01) == 0; }
    void setAstroHiddenOptionTicked(bool ticked);
    // 0-25 a built-in place, CityByHand for coordinates typed by hand.
    std::uint8_t cityIndex() const { return record_.u8(CityIndexOffset); }
    // A built-in place copies its coordinates; CityByHand keeps the coordinates of the place chosen before (or the
    // present ones when they were typed by hand already) so they can be edited. Latitude
    // and longitude are marked when the stored place changes, not when only the coordinates do. An index without
    // a place (26-254) is refused (false, nothing changes).
    bool setCityIndex(std::uint8_t index);
    // Position in the place list: the place, or PlaceListByHand for CityByHand and for any index without a place
    // (as a card may hold), so such coordinates are shown for editing rather than looked up.
    int placeListPosition() const;
    // The place list's choice: positions 0-25 choose that place, PlaceListByHand stores CityByHand. Other
    // positions are refused (false, nothing changes).
    bool choosePlace(int position);
    // Copies the chosen place's coordinates into the coordinate bytes without marking, as the page does each time
    // it shows them; nothing for coordinates by hand or an index without a place.
    void applyPlaceCoordinates();
    // The coordinates the controller works with: a built-in place's from the place table (the stored bytes may
    // still hold older ones, as in a project whose time-corrections page was never used), otherwise the stored
    // ones. Raw bytes: degrees with the hemisphere bit, then minutes.
    AstroPlaces::Place controllerCoordinates() const;

    // Drop-down positions of the pages.
    // Controller language list: positions 0-5 store 0, 1, 2, 3, 5, 4; no selection (-1) stores 0.
    static std::uint8_t controllerLanguageForPosition(int position);
    // A stored value outside 1-5 is shown at position 0.
    static int positionOfControllerLanguage(std::uint8_t value);
    // F-key lists: position p is value p; a value outside 0-4 is shown at position 0.
    static int positionOfKeyFunction(std::uint8_t value) { return value <= 4 ? value : 0; }

private:
    bool flag(int bit) const { return (settingsFlags() >> bit) & 1U; }
    void setFlag(int bit, bool on);
    // Sets bit `bit` of the option flags and marks `mark` when the bit changed.
    void setFlagMarked(int bit, bool on, int mark);
    void setU8Marked(std::size_t offset, std::uint8_t value, int mark);
    bool setCode(std::size_t offset, int code, int mark);
    void setAstroFlag(std::uint8_t mask, bool on, int mark);
    bool setCoordinate(std::size_t degreesOffset, std::size_t minutesOffset, bool negativeHemisphere, int degrees,
                       int minutes, int fullDegrees, int mark);
    void replaceInvalidCodes();

    Record record_;
    std::uint64_t marks_ = 0;
};

} // namespace tolvane
