#include "settings/GeneralSettings.h"

#include "device/ByteIO.h"
#include "section/SectionArchive.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Image = std::array<std::uint8_t, GeneralSettings::ImageSize>;

Bytes toVector(std::span<const std::uint8_t> b) {
    return {b.begin(), b.end()};
}

void put(Bytes& b, std::size_t offset, std::initializer_list<std::uint8_t> values) {
    std::copy(values.begin(), values.end(), b.begin() + static_cast<std::ptrdiff_t>(offset));
}

// The record of a freshly built section, written out by hand (PC byte order).
Bytes defaultRecord() {
    Bytes b(264, 0xFF);
    put(b, 0x00, {50, 70});
    put(b, 0x02, {0xFF, 0xF0});             // flags 0xF0FF: bits 8-11 clear, the rest set
    put(b, 0x04, {0xE0, 0x93, 0x04, 0x00}); // 300,000 ms
    put(b, 0x08, {0x11, 0x11, 0xD2, 0x04}); // user code 1111: BCD 0x1111, check 1111 + 123 = 0x04D2
    put(b, 0x0C, {0x77, 0x77, 0xDC, 0x1E}); // service code 7777: BCD 0x7777, check 7900 = 0x1EDC
    put(b, 0x10, {0xA5, 0xA5, 0x55, 0xAA});
    put(b, 0x14, {'T', 'e', 's', 't', 0x00});
    put(b, 0x34, {0x00, 0xFF, 0xB4, 0x00, 0x00, 0x01}); // language, interval (never reset), 180 s, F2, F3
    put(b, 0x3A, {0, 0, 0, 0, 0, 0, 0xFF, 0});
    return b;
}

// The same settings as the controller reads them.
Bytes defaultImage() {
    Bytes b = defaultRecord();
    put(b, 0x04, {0x00, 0x04, 0x93, 0xE0});
    put(b, 0x08, {0x04, 0xD2, 0x11, 0x11});
    put(b, 0x0C, {0x1E, 0xDC, 0x77, 0x77});
    put(b, 0x10, {0xAA, 0x55, 0xA5, 0xA5});
    put(b, 0x36, {0x00, 0xB4});
    return b;
}

Bytes packed(GeneralSettings& s) {
    Image image{};
    image.fill(0xFF);
    s.packImage(image);
    return toVector(image);
}

GeneralSettings unpacked(const Bytes& image) {
    GeneralSettings s;
    s.unpackImage(image);
    return s;
}

TEST(GeneralSettingsDefaults, RecordAndCardImageAreByteExact) {
    GeneralSettings s;
    EXPECT_EQ(toVector(s.record().bytes()), defaultRecord());
    EXPECT_FALSE(s.isModified());

    const Bytes image = packed(s);
    EXPECT_EQ(image, defaultImage());
    EXPECT_EQ(image[0x10], 0xAA);
    EXPECT_EQ(image[0x11], 0x55);
    EXPECT_EQ(image[0x12], 0xA5);
    EXPECT_EQ(image[0x13], 0xA5);
}

TEST(GeneralSettingsDefaults, NamedValuesOfANewProject) {
    const GeneralSettings s;
    EXPECT_EQ(s.locationName(), "Test");
    EXPECT_EQ(s.displayContrast(), 50);
    EXPECT_EQ(s.displayBrightness(), 70);
    EXPECT_EQ(s.displayTimeMs(), 5U * 60000U);
    EXPECT_EQ(s.defaultRingTimeSeconds(), 180);
    EXPECT_EQ(GeneralSettings::positionOfKeyFunction(s.keyF2Function()), 0);
    EXPECT_EQ(GeneralSettings::positionOfKeyFunction(s.keyF3Function()), 1);
    EXPECT_EQ(s.programOrder(), 0);
    EXPECT_EQ(s.startMode(), 0);
    EXPECT_EQ(s.stopMode(), 0);
    EXPECT_FALSE(s.funeralOption1On());
    EXPECT_FALSE(s.specialTollingOn());
    EXPECT_TRUE(s.fullHourStrikingAdvanced());
    for (auto p : {GeneralSettings::Protection::Bells, GeneralSettings::Protection::Menu,
                   GeneralSettings::Protection::Programs, GeneralSettings::Protection::Failures}) {
        EXPECT_TRUE(s.codeProtects(p));
    }
    EXPECT_EQ(s.userCode(), GeneralSettings::DefaultUserCode);
    EXPECT_EQ(s.serviceCode(), GeneralSettings::DefaultServiceCode);
    EXPECT_EQ(s.controllerLanguage(), 0);
    EXPECT_EQ(s.cityIndex(), 0);
}

TEST(GeneralSettingsReset, KeepsFlagBitsZeroAndFourToSevenAndTheStartIntervalButRestoresEverythingElse) {
    Bytes image(264, 0x00);                     // every flag clear, then a few distinctive values
    put(image, 0x02, {0x00, 0x0F});             // flags 0x0F00: start/stop mode and order set
    put(image, 0x35, {9});                      // manual start interval
    put(image, 0x08, {0x00, 0x7B, 0x00, 0x00}); // (big-endian) code 0 with its check half
    put(image, 0x0C, {0x00, 0x7B, 0x00, 0x00});
    put(image, 0x100, {0x12, 0x34}); // bytes nobody edits
    GeneralSettings s = unpacked(image);
    s.markChanged(GeneralSettings::Mark::LocationName);

    s.reset();
    Bytes expected = defaultRecord();
    put(expected, 0x02, {0x0E, 0xF0}); // bits 1-3 and 12-15 set, bit 0 and 4-11 clear
    put(expected, 0x35, {9});
    EXPECT_EQ(toVector(s.record().bytes()), expected);
    EXPECT_FALSE(s.isModified());

    s.setManualRingUsesDefaultTime(true);
    s.resetItem(1); // a single-record section: other indices change nothing
    EXPECT_TRUE(s.manualRingUsesDefaultTime());
    s.resetItem(0);
    EXPECT_TRUE(s.manualRingUsesDefaultTime()) << "bit 0 survives a reset";
}

TEST(GeneralSettingsCodes, StoredAsBcdWordWithCheckHalfHighByteFirstOnTheCard) {
    struct Case {
        int code;
        std::uint32_t word;
    };
    const Case cases[] = {{0, 0x007B0000}, {1, 0x007C0001}, {1234, 0x054D1234}, {905, 0x04040905}, {9999, 0x278A9999}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        GeneralSettings s;
        ASSERT_TRUE(s.setUserCode(c.code));
        ASSERT_TRUE(s.setServiceCode(c.code));
        EXPECT_EQ(s.userCodeWord(), c.word);
        EXPECT_EQ(s.serviceCodeWord(), c.word);
        EXPECT_EQ(s.userCode(), c.code);

        const Bytes image = packed(s);
        for (std::size_t off : {std::size_t{0x08}, std::size_t{0x0C}}) {
            EXPECT_EQ(bytes::getU32BE(image, off), c.word);
        }
        EXPECT_EQ(unpacked(image).userCode(), c.code);
        EXPECT_EQ(unpacked(image).serviceCode(), c.code);
    }
}

TEST(GeneralSettingsCodes, NumbersThatDoNotFitFourDigitsAreRefused) {
    for (int code : {-1, -123, 10000, 123456}) {
        SCOPED_TRACE(code);
        GeneralSettings s;
        EXPECT_FALSE(s.setUserCode(code));
        EXPECT_FALSE(s.setServiceCode(code));
        EXPECT_EQ(s.userCode(), GeneralSettings::DefaultUserCode);
        EXPECT_EQ(s.serviceCode(), GeneralSettings::DefaultServiceCode);
        EXPECT_FALSE(s.isModified());
    }
}

TEST(GeneralSettingsCodes, ACodeThatFailsItsCheckHalfIsReplacedByItsDefaultWhenUnpacked) {
    struct Case {
        const char* what;
        std::uint32_t word; // as held in the PC's order
        bool kept;
    };
    const Case cases[] = {
        {"valid 4321", 0x115C4321, true},
        {"check half one too high", 0x115D4321, false},
        {"check half without offset", 0x10E14321, false},
        {"erased card", 0xFFFFFFFF, false},
        {"low byte not BCD", 0x007B001A, false},
        // An invalid high byte decodes as -1; -1 + 123 = 122 must not pass as a valid check half.
        {"high byte not BCD", 0x007AA000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes image = defaultImage();
        bytes::putU32BE(image, 0x08, c.word);
        bytes::putU32BE(image, 0x0C, c.word);
        const GeneralSettings s = unpacked(image);
        EXPECT_EQ(s.userCodeWord(), c.kept ? c.word : 0x04D21111);
        EXPECT_EQ(s.serviceCodeWord(), c.kept ? c.word : 0x1EDC7777);
        EXPECT_FALSE(s.isModified());
    }
}

TEST(GeneralSettingsImage, RoundTripKeepsEveryFieldAndRewritesTheSignature) {
    Bytes image(264);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    bytes::putU32BE(image, 0x08, 0x054D1234);
    bytes::putU32BE(image, 0x0C, 0x007C0001);
    bytes::putU32BE(image, 0x10, 0x00000000);
    image[0x20] = 0; // a name of 12 characters with bytes after its terminator

    GeneralSettings s = unpacked(image);
    EXPECT_EQ(s.displayTimeMs(), bytes::getU32BE(image, 0x04));
    EXPECT_EQ(s.defaultRingTimeSeconds(), bytes::getU16BE(image, 0x36));
    EXPECT_EQ(s.settingsFlags(), bytes::getU16LE(image, 0x02)) << "the flag word is not reversed";
    EXPECT_EQ(s.signature(), 0U);

    Bytes expected = image;
    put(expected, 0x10, {0xAA, 0x55, 0xA5, 0xA5});
    // Behind the fields (0x42 to the end) the card always carries 0xFF, whatever was read.
    std::fill(expected.begin() + 0x42, expected.end(), 0xFF);
    EXPECT_EQ(packed(s), expected);
    EXPECT_EQ(s.signature(), GeneralSettings::Signature);
}

TEST(GeneralSettingsImage, PackingStaysInsideItsBlockAndRefusesShortBuffers) {
    GeneralSettings s;
    std::vector<std::uint8_t> big(300, 0xEE);
    s.packImage(big);
    EXPECT_EQ(Bytes(big.begin(), big.begin() + 264), defaultImage());
    EXPECT_EQ(big[264], 0xEE);

    std::vector<std::uint8_t> small(263, 0xFF);
    EXPECT_THROW(s.packImage(small), std::out_of_range);
    EXPECT_THROW(s.unpackImage(small), std::out_of_range);
    EXPECT_EQ(s.locationName(), "Test");
}

TEST(GeneralSettingsLocation, StoredAsDeviceBytesInAThirtyTwoByteField) {
    struct Case {
        const char* name;
        Bytes field; // leading bytes of the field; the rest must be 0xFF
    };
    const std::string thirtyTwo(32, 'A');
    const Case cases[] = {
        {"Test", {'T', 'e', 's', 't', 0}},
        {"\xC5\x81\xC3\xB3\x64\xC5\xBA", {0xA3, 0xF3, 'd', 0x9F, 0}}, // Łódź
        {"", {0}},
        {thirtyTwo.c_str(), Bytes(32, 'A')}, // a full field carries no terminator
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GeneralSettings s;
        s.setLocationName(c.name);
        Bytes expected(32, 0xFF);
        std::copy(c.field.begin(), c.field.end(), expected.begin());
        const auto rec = s.record().bytes();
        EXPECT_EQ(Bytes(rec.begin() + 0x14, rec.begin() + 0x34), expected);
        EXPECT_EQ(s.locationName(), c.name);
        EXPECT_EQ(unpacked(packed(s)).locationName(), c.name);
        EXPECT_EQ(s.record().u8(0x34), 0) << "the name ran into the next field";
    }
}

TEST(GeneralSettingsLocation, AThirtyThirdCharacterIsDroppedAndAnErasedFieldReadsEmpty) {
    GeneralSettings s;
    s.setLocationName(std::string(32, 'x') + "yz");
    EXPECT_EQ(s.locationName(), std::string(32, 'x'));

    Bytes image = defaultImage();
    std::fill(image.begin() + 0x14, image.begin() + 0x34, 0xFF);
    EXPECT_EQ(unpacked(image).locationName(), "");
}

TEST(GeneralSettingsValidation, RulesInOrderWithCodeItemAreaAndSeverity) {
    struct Case {
        const char* what;
        std::uint8_t contrast;
        std::uint8_t brightness;
        std::uint32_t timeMs;
        const char* name;
        IssueList expected;
    };
    const ValidationIssue contrast{41, 0, 14, severity::Critical};
    const ValidationIssue brightness{42, 0, 14, severity::Critical};
    const ValidationIssue time{43, 0, 14, severity::Critical};
    const ValidationIssue emptyName{45, 0, 15, severity::Note};
    const Case cases[] = {
        {"defaults", 50, 70, 300000, "Test", {}},
        {"upper bounds", 100, 100, 1860000, "X", {}},
        {"lower bounds", 0, 0, 60000, "X", {}},
        {"contrast 101", 101, 70, 300000, "X", {contrast}},
        {"brightness 101", 50, 101, 300000, "X", {brightness}},
        {"time below one minute", 50, 70, 59999, "X", {time}},
        {"time above 31 minutes", 50, 70, 1860001, "X", {time}},
        {"erased time", 50, 70, 0xFFFFFFFF, "X", {time}},
        {"empty name only", 50, 70, 300000, "", {emptyName}},
        {"everything", 200, 200, 0, "", {contrast, time, brightness, emptyName}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GeneralSettings s;
        // Codes of the tower's own, so that only the rules of this table speak.
        s.setUserCode(2468);
        s.setServiceCode(1357);
        s.setDisplayContrast(c.contrast);
        s.setDisplayBrightness(c.brightness);
        s.setDisplayTimeMs(c.timeMs);
        s.setLocationName(c.name);
        IssueList issues{{1, 2, 3, 0}};
        s.validate(issues);
        IssueList expected{{1, 2, 3, 0}};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(issues, expected);
    }
}

TEST(GeneralSettingsMarks, EachSetterMarksItsOwnBitOnlyWhenTheValueChanges) {
    using S = GeneralSettings;
    using M = GeneralSettings::Mark;
    struct Case {
        const char* what;
        int bit;
        std::function<void(S&)> same;
        std::function<void(S&)> change;
    };
    const Case cases[] = {
        {"contrast", M::DisplayContrast, [](S& s) { s.setDisplayContrast(50); },
         [](S& s) { s.setDisplayContrast(51); }},
        {"brightness", M::DisplayBrightness, [](S& s) { s.setDisplayBrightness(70); },
         [](S& s) { s.setDisplayBrightness(0); }},
        {"display time", M::DisplayTime, [](S& s) { s.setDisplayTimeMs(300000); },
         [](S& s) { s.setDisplayTimeMs(1860000); }},
        {"language", M::ControllerLanguage, [](S& s) { s.setControllerLanguage(0); },
         [](S& s) { s.setControllerLanguage(5); }},
        {"start mode", M::StartMode, [](S& s) { s.setStartMode(0); }, [](S& s) { s.setStartMode(1); }},
        {"stop mode", M::StopMode, [](S& s) { s.setStopMode(0); }, [](S& s) { s.setStopMode(1); }},
        {"location", M::LocationName, [](S& s) { s.setLocationName("Test"); }, [](S& s) { s.setLocationName("Tesu"); }},
        {"ring time", M::DefaultRingTime, [](S& s) { s.setDefaultRingTimeSeconds(180); },
         [](S& s) { s.setDefaultRingTimeSeconds(125); }},
        {"interval", M::ManualStartInterval, [](S& s) { s.setManualStartIntervalSeconds(0xFF); },
         [](S& s) { s.setManualStartIntervalSeconds(3); }},
        {"F2", M::KeyF2, [](S& s) { s.setKeyF2Function(0); }, [](S& s) { s.setKeyF2Function(4); }},
        {"F3", M::KeyF3, [](S& s) { s.setKeyF3Function(1); }, [](S& s) { s.setKeyF3Function(0); }},
        {"user code", M::UserCode, [](S& s) { s.setUserCode(S::DefaultUserCode); }, [](S& s) { s.setUserCode(1234); }},
        {"service code", M::ServiceCode, [](S& s) { s.setServiceCode(S::DefaultServiceCode); },
         [](S& s) { s.setServiceCode(0); }},
        {"protects bells", M::ProtectsBells, [](S& s) { s.setCodeProtects(S::Protection::Bells, true); },
         [](S& s) { s.setCodeProtects(S::Protection::Bells, false); }},
        {"protects menu", M::ProtectsMenu, [](S& s) { s.setCodeProtects(S::Protection::Menu, true); },
         [](S& s) { s.setCodeProtects(S::Protection::Menu, false); }},
        {"protects programs", M::ProtectsPrograms, [](S& s) { s.setCodeProtects(S::Protection::Programs, true); },
         [](S& s) { s.setCodeProtects(S::Protection::Programs, false); }},
        {"protects failures", M::ProtectsFailures, [](S& s) { s.setCodeProtects(S::Protection::Failures, true); },
         [](S& s) { s.setCodeProtects(S::Protection::Failures, false); }},
        {"full hour", M::FullHourStriking, [](S& s) { s.setFullHourStrikingAdvanced(true); },
         [](S& s) { s.setFullHourStrikingAdvanced(false); }},
        {"sunrise", M::SunriseShift, [](S& s) { s.setSunriseShiftMinutes(0); },
         [](S& s) { s.setSunriseShiftMinutes(-30); }},
        {"sunset", M::SunsetShift, [](S& s) { s.setSunsetShiftMinutes(0); }, [](S& s) { s.setSunsetShiftMinutes(90); }},
        {"latitude", M::Latitude, [](S& s) { s.setLatitude(false, 0, 0); }, [](S& s) { s.setLatitude(true, 0, 0); }},
        {"longitude", M::Longitude, [](S& s) { s.setLongitude(false, 0, 0); },
         [](S& s) { s.setLongitude(false, 19, 56); }},
        {"dark polarity", M::AstroDarkPolarity, [](S& s) { s.setAstroRelayOnWhenDark(true); },
         [](S& s) { s.setAstroRelayOnWhenDark(false); }},
        {"hidden option", M::AstroHiddenOption, [](S& s) { s.setAstroHiddenOptionTicked(false); },
         [](S& s) { s.setAstroHiddenOptionTicked(true); }},
        {"GPS", M::AstroGps, [](S& s) { s.setAstroUseGps(true); }, [](S& s) { s.setAstroUseGps(false); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GeneralSettings s;
        c.same(s);
        EXPECT_EQ(s.changeMask(), 0U);
        const Bytes before = toVector(s.record().bytes());
        c.change(s);
        EXPECT_EQ(s.changeMask(), std::uint64_t{1} << c.bit);
        EXPECT_NE(toVector(s.record().bytes()), before);
        EXPECT_TRUE(s.isModified());
        s.clearModified();
        EXPECT_FALSE(s.isModified());
    }
}

TEST(GeneralSettingsMarks, RadioGroupsMarkOnEveryChoiceAndFuneralOptionsNever) {
    GeneralSettings s;
    s.setProgramOrder(0);
    EXPECT_EQ(s.changeMask(), std::uint64_t{1} << GeneralSettings::Mark::ProgramOrder);
    s.clearModified();
    s.setManualRingUsesDefaultTime(s.manualRingUsesDefaultTime());
    EXPECT_EQ(s.changeMask(), std::uint64_t{1} << GeneralSettings::Mark::ManualRingTimeMode);
    s.clearModified();

    s.setSpecialTollingOn(true);
    s.setFuneralOption1On(true);
    EXPECT_FALSE(s.isModified());
    EXPECT_TRUE(s.specialTollingOn());
    EXPECT_EQ(s.settingsFlags() & 0x000C, 0);
}

TEST(GeneralSettingsMarks, MarksForValuesHeldElsewhereAndThePlaceChoice) {
    GeneralSettings s;
    s.markChanged(GeneralSettings::Mark::Bell1 + 4);
    s.markChanged(GeneralSettings::Mark::AmplifierRelay);
    EXPECT_TRUE(s.isMarked(12));
    EXPECT_TRUE(s.isMarked(7));
    EXPECT_EQ(s.changeMask(), (std::uint64_t{1} << 12) | (std::uint64_t{1} << 7));
    EXPECT_THROW(s.markChanged(64), std::out_of_range);
    EXPECT_THROW(s.markChanged(-1), std::out_of_range);
    s.clearModified();

    s.setCityIndex(0);
    EXPECT_FALSE(s.isModified());
    s.setCityIndex(GeneralSettings::CityByHand);
    EXPECT_EQ(s.changeMask(), (std::uint64_t{1} << 41) | (std::uint64_t{1} << 42));
    s.clearModified();
    s.storePlaceCoordinates(50, 4, 19, 56);
    EXPECT_FALSE(s.isModified());
    EXPECT_EQ(s.latitudeDegrees(), 50);
    EXPECT_EQ(s.longitudeMinutes(), 56);
}

TEST(GeneralSettingsFlags, BitsOfTheOptionWord) {
    GeneralSettings s;
    s.setStartMode(1);
    s.setStopMode(1);
    s.setProgramOrder(2);
    s.setManualRingUsesDefaultTime(false);
    s.setFullHourStrikingAdvanced(false);
    s.setCodeProtects(GeneralSettings::Protection::Programs, false);
    EXPECT_EQ(s.settingsFlags(), 0xEBFC);
    EXPECT_EQ(s.programOrder(), 2);

    s.setProgramOrder(7); // does not fit the two bits: ignored
    EXPECT_EQ(s.programOrder(), 2);
    EXPECT_EQ(s.settingsFlags(), 0xEBFC);
}

TEST(GeneralSettingsCoordinates, HemisphereBitFullDegreesAndRefusedDegrees) {
    GeneralSettings s;
    EXPECT_TRUE(s.setLatitude(true, 90, 10));
    EXPECT_EQ(s.record().u8(0x3E), 0x80 | 90);
    EXPECT_EQ(s.latitudeMinutes(), 0) << "90 degrees force the minutes to 0";
    EXPECT_TRUE(s.latitudeSouth());

    EXPECT_TRUE(s.setLongitude(true, 127, 59));
    EXPECT_EQ(s.record().u8(0x3C), 0xFF);
    EXPECT_TRUE(s.longitudeWest());
    EXPECT_EQ(s.longitudeDegrees(), 127);

    // 128-180 degrees would overwrite the hemisphere bit: refused, nothing changes.
    for (int degrees : {128, 180, -1}) {
        SCOPED_TRACE(degrees);
        s.clearModified();
        EXPECT_FALSE(s.setLongitude(false, degrees, 0));
        EXPECT_FALSE(s.setLatitude(false, degrees, 0));
        EXPECT_EQ(s.record().u8(0x3C), 0xFF);
        EXPECT_EQ(s.record().u8(0x3E), 0x80 | 90);
        EXPECT_FALSE(s.isModified());
    }
    EXPECT_FALSE(s.setLatitude(false, 10, 256));
}

constexpr std::uint64_t bit(int n) {
    return std::uint64_t{1} << n;
}

// The astronomical clock's marks are bits 6-13 of the mask's high 32-bit word: relay, sunrise, sunset, latitude,
// longitude, dark polarity, hidden check box, GPS. The relay lives in the output map, so only its number is fixed
// here; the setters below pin the others.
static_assert(GeneralSettings::Mark::AstroRelay == 38);

TEST(GeneralSettingsAstroClock, DefaultsAndTheFirstPlace) {
    GeneralSettings s;
    const auto rec = s.record().bytes();
    EXPECT_EQ(Bytes(rec.begin() + 0x3A, rec.begin() + 0x42), (Bytes{0, 0, 0, 0, 0, 0, 0xFF, 0}));
    EXPECT_EQ(s.placeListPosition(), 0);

    s.applyPlaceCoordinates();
    EXPECT_EQ(s.longitudeDegrees(), 19);
    EXPECT_EQ(s.longitudeMinutes(), 56);
    EXPECT_FALSE(s.longitudeWest());
    EXPECT_EQ(s.latitudeDegrees(), 50);
    EXPECT_EQ(s.latitudeMinutes(), 4);
    EXPECT_FALSE(s.latitudeSouth());
    EXPECT_FALSE(s.isModified()) << "showing the place's coordinates is not an edit";
    EXPECT_TRUE(s.astroUseGps());
    EXPECT_TRUE(s.astroRelayOnWhenDark());
    EXPECT_FALSE(s.astroHiddenOptionTicked());
}

TEST(GeneralSettingsAstroClock, ChoosingPlacesCopiesTheirCoordinates) {
    GeneralSettings s;
    ASSERT_TRUE(s.choosePlace(24)); // 0 deg 10' W, 51 deg 30' N
    EXPECT_EQ(s.record().u8(0x3C), 0x80);
    EXPECT_EQ(s.record().u8(0x3D), 10);
    EXPECT_EQ(s.record().u8(0x3E), 51);
    EXPECT_EQ(s.record().u8(0x3F), 30);
    EXPECT_EQ(s.record().u8(0x41), 24);
    EXPECT_EQ(s.changeMask(), bit(41) | bit(42));

    s.clearModified();
    ASSERT_TRUE(s.choosePlace(GeneralSettings::PlaceListByHand)); // by hand: the coordinates stay
    EXPECT_EQ(GeneralSettings::PlaceListByHand, 26);
    EXPECT_EQ(s.record().u8(0x41), 0xFF);
    EXPECT_EQ(s.record().u8(0x3C), 0x80);
    EXPECT_EQ(s.record().u8(0x3F), 30);
    EXPECT_EQ(s.placeListPosition(), 26);
    EXPECT_EQ(s.changeMask(), bit(41) | bit(42)) << "a new place marks even when the coordinates stay";

    s.clearModified();
    ASSERT_TRUE(s.choosePlace(26));
    EXPECT_EQ(s.changeMask(), 0U);
    for (int position : {27, -1, 255}) {
        SCOPED_TRACE(position);
        EXPECT_FALSE(s.choosePlace(position));
        EXPECT_EQ(s.record().u8(0x41), 0xFF);
        EXPECT_FALSE(s.isModified());
    }
}

// A new project holds place 0 with coordinate bytes of 0; the page shows the place's coordinates. Choosing
// coordinates by hand keeps what was shown, not the old bytes.
TEST(GeneralSettingsAstroClock, ByHandStartsFromThePlaceThatWasChosen) {
    GeneralSettings s;
    ASSERT_EQ(s.latitudeDegrees(), 0);
    ASSERT_TRUE(s.choosePlace(GeneralSettings::PlaceListByHand));
    EXPECT_EQ(s.cityIndex(), GeneralSettings::CityByHand);
    EXPECT_EQ(Bytes(s.record().bytes().begin() + 0x3C, s.record().bytes().begin() + 0x40), (Bytes{19, 56, 50, 4}));
    // Typed by hand, then by hand again: the typed coordinates stay.
    ASSERT_TRUE(s.setLatitude(true, 12, 34));
    ASSERT_TRUE(s.choosePlace(GeneralSettings::PlaceListByHand));
    EXPECT_EQ(s.record().u8(0x3E), 0x80 | 12);
    EXPECT_EQ(s.latitudeMinutes(), 34);
}

TEST(GeneralSettingsAstroClock, EveryPlaceReadsBackAsItsTableEntry) {
    const auto& places = AstroPlaces::table();
    for (int i = 0; i < AstroPlaces::Count; ++i) {
        SCOPED_TRACE(i);
        const AstroPlaces::Place& p = places[static_cast<std::size_t>(i)];
        GeneralSettings s;
        s.setLatitude(true, 1, 1); // coordinates by hand that the choice must replace
        s.setLongitude(true, 1, 1);
        ASSERT_TRUE(s.choosePlace(i));
        EXPECT_EQ(s.cityIndex(), i);
        EXPECT_EQ(s.placeListPosition(), i);
        EXPECT_EQ(s.longitudeDegrees(), p.longitudeDegrees & 0x7F);
        EXPECT_EQ(s.longitudeWest(), (p.longitudeDegrees & 0x80) != 0);
        EXPECT_EQ(s.longitudeMinutes(), p.longitudeMinutes);
        EXPECT_EQ(s.latitudeDegrees(), p.latitudeDegrees & 0x7F);
        EXPECT_FALSE(s.latitudeSouth());
        EXPECT_EQ(s.latitudeMinutes(), p.latitudeMinutes);
    }
}

// A card may hold a place number the list does not have: it is shown as coordinates by hand, its coordinates are
// never looked up, and it cannot be stored by editing.
TEST(GeneralSettingsAstroClock, APlaceNumberWithoutAPlace) {
    Bytes image = defaultImage();
    put(image, 0x3C, {0x85, 7, 0x81, 2, 0xFF, 30});
    GeneralSettings s = unpacked(image);
    EXPECT_EQ(s.placeListPosition(), 26);
    s.applyPlaceCoordinates();
    EXPECT_EQ(Bytes(s.record().bytes().begin() + 0x3C, s.record().bytes().begin() + 0x42),
              (Bytes{0x85, 7, 0x81, 2, 0xFF, 30}));

    GeneralSettings fresh;
    for (std::uint8_t index : {std::uint8_t{26}, std::uint8_t{30}, std::uint8_t{0xFE}}) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(fresh.setCityIndex(index));
        EXPECT_EQ(fresh.cityIndex(), 0);
        EXPECT_FALSE(fresh.isModified());
    }
}

TEST(GeneralSettingsAstroClock, CoordinatesByHand) {
    GeneralSettings s;
    ASSERT_TRUE(s.setLatitude(false, 90, 10));
    EXPECT_EQ(s.latitudeDegrees(), 90);
    EXPECT_EQ(s.latitudeMinutes(), 0);
    EXPECT_EQ(s.changeMask(), bit(41));

    ASSERT_TRUE(s.setLatitude(true, 33, 20));
    EXPECT_EQ(s.record().u8(0x3E), 0x80 | 33);
    ASSERT_TRUE(s.setLongitude(true, 120, 59));
    EXPECT_EQ(s.record().u8(0x3C), 0x80 | 120);
    EXPECT_EQ(s.record().u8(0x3D), 59);
    EXPECT_EQ(s.changeMask(), bit(41) | bit(42));

    // 128-180 degrees do not fit beside the hemisphere bit: refused, nothing changes.
    const Bytes before = toVector(s.record().bytes());
    EXPECT_FALSE(s.setLongitude(false, 150, 0));
    EXPECT_FALSE(s.setLongitude(false, 180, 0));
    EXPECT_FALSE(s.setLatitude(false, -1, 0));
    EXPECT_EQ(toVector(s.record().bytes()), before);
}

TEST(GeneralSettingsAstroClock, ShiftsAndFlags) {
    GeneralSettings s;
    s.setSunriseShiftMinutes(-90);
    s.setSunsetShiftMinutes(15);
    EXPECT_EQ(s.sunriseShiftMinutes(), -90);
    EXPECT_EQ(s.sunsetShiftMinutes(), 15);
    EXPECT_EQ(s.record().u8(0x3A), 0xA6);
    EXPECT_EQ(s.changeMask(), bit(39) | bit(40));

    s.clearModified();
    s.setAstroUseGps(false);
    s.setAstroRelayOnWhenDark(false);
    s.setAstroHiddenOptionTicked(true);
    EXPECT_EQ(s.record().u8(0x40), 0xF8);
    EXPECT_EQ(s.changeMask(), bit(45) | bit(43) | bit(44));
    s.clearModified();
    s.setAstroUseGps(false);
    EXPECT_EQ(s.changeMask(), 0U);
}

TEST(GeneralSettingsLists, ControllerLanguageAndKeyFunctionPositions) {
    const std::uint8_t values[] = {0, 1, 2, 3, 5, 4};
    for (int p = 0; p < 6; ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(GeneralSettings::controllerLanguageForPosition(p), values[p]);
        if (p > 0) {
            EXPECT_EQ(GeneralSettings::positionOfControllerLanguage(values[p]), p);
        }
    }
    EXPECT_EQ(GeneralSettings::controllerLanguageForPosition(-1), 0);
    EXPECT_EQ(GeneralSettings::controllerLanguageForPosition(6), 0);
    for (std::uint8_t v : {std::uint8_t{0}, std::uint8_t{6}, std::uint8_t{255}}) {
        EXPECT_EQ(GeneralSettings::positionOfControllerLanguage(v), 0);
    }
    for (std::uint8_t v = 0; v <= 4; ++v) {
        EXPECT_EQ(GeneralSettings::positionOfKeyFunction(v), v);
    }
    EXPECT_EQ(GeneralSettings::positionOfKeyFunction(5), 0);
    EXPECT_EQ(GeneralSettings::positionOfKeyFunction(0xFF), 0);
}

TEST(GeneralSettingsProjectFile, BodyIsTheImageWithItsLengthAndReadsBack) {
    GeneralSettings s;
    s.setLocationName("Kościół");
    s.setUserCode(4321);
    s.setDisplayTimeMs(1860000);
    s.setKeyF2Function(3);

    std::vector<std::uint8_t> file;
    auto out = SectionArchive::forStoring(file);
    s.serialize(out);
    EXPECT_EQ(Bytes(file.begin() + 4, file.end()), packed(s));
    EXPECT_EQ(bytes::getU32BE(file, 4 + 0x10), GeneralSettings::Signature);
    EXPECT_TRUE(s.isModified()) << "storing leaves the marks to the project";

    ByteReader reader(file);
    auto in = SectionArchive::forLoading(reader);
    GeneralSettings back;
    back.setLocationName("other");
    back.serialize(in);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(back.record(), s.record());
    EXPECT_FALSE(back.isModified());
}

TEST(GeneralSettingsProjectFile, AShortBodyFillsOnlyItsFirstBytes) {
    std::vector<std::uint8_t> file{4, 0, 0, 0, 10, 20, 0x34, 0x12};
    ByteReader reader(file);
    auto in = SectionArchive::forLoading(reader);
    GeneralSettings s;
    s.serialize(in);
    EXPECT_EQ(s.displayContrast(), 10);
    EXPECT_EQ(s.displayBrightness(), 20);
    EXPECT_EQ(s.settingsFlags(), 0x1234);
    EXPECT_EQ(s.displayTimeMs(), 0xFFFFFFFFU);
    EXPECT_EQ(s.userCode(), GeneralSettings::DefaultUserCode) << "an erased code falls back to its default";
    EXPECT_EQ(s.serviceCode(), GeneralSettings::DefaultServiceCode);
    EXPECT_EQ(s.locationName(), "");
}

TEST(GeneralSettingsProjectFile, BodiesThatDoNotFitAreRefusedAsDamaged) {
    struct Case {
        const char* what;
        std::uint32_t length;
        std::size_t present;
    };
    const Case cases[] = {{"huge count", 0xFFFFFFFF, 16}, {"file ends early", 264, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> file(4 + c.present, 0x00);
        bytes::putU32LE(file, 0, c.length);
        ByteReader reader(file);
        auto in = SectionArchive::forLoading(reader);
        GeneralSettings s;
        try {
            s.serialize(in);
            ADD_FAILURE() << "no error raised";
        } catch (const ProjectFileError& e) {
            EXPECT_EQ(e.textId, 113);
        }
        EXPECT_EQ(toVector(s.record().bytes()), defaultRecord()) << "a refused body changed the settings";
    }
}

} // namespace
} // namespace tolvane

namespace tolvane {
namespace {

TEST(GeneralSettingsImage, BytesBehindTheFieldsGoOutAsFFToTheCardAndTheProjectFile) {
    Bytes image = defaultImage();
    image[0x42] = 0x00;
    image[0x50] = 0x5A;
    image[0x107] = 0x01;
    GeneralSettings s = unpacked(image);

    const Bytes card = packed(s);
    EXPECT_EQ(card, defaultImage());
    EXPECT_EQ(card[0x50], 0xFF);

    std::vector<std::uint8_t> file;
    auto out = SectionArchive::forStoring(file);
    s.serialize(out);
    const Bytes body(file.begin() + 4, file.end());
    ASSERT_EQ(body.size(), 264U);
    EXPECT_EQ(body[0x50], 0xFF);
    EXPECT_TRUE(std::all_of(body.begin() + 0x42, body.end(), [](std::uint8_t b) { return b == 0xFF; }));
}

TEST(GeneralSettingsCodes, AFieldStoresACodeOnlyWhenItHoldsFourDigits) {
    struct Case {
        const char* typed;
        std::optional<int> code;
    };
    const Case cases[] = {
        {"4321", 4321},
        {"0000", 0},
        {"0042", 42},
        {"", std::nullopt},
        {"12", std::nullopt},
        {"123", std::nullopt},
        {"12345", std::nullopt},
        {"12a4", std::nullopt},
        {" 123", std::nullopt},
        {"-123", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(GeneralSettings::codeFromTyped(c.typed), c.code);
    }
    EXPECT_EQ(GeneralSettings::codeText(7), "0007");
    EXPECT_EQ(GeneralSettings::codeText(4321), "4321");
}

TEST(GeneralSettingsValidation, ANoteForEachAccessCodeStillAtItsFactoryDefault) {
    const ValidationIssue user{100, 0, 18, severity::Note};
    const ValidationIssue service{100, 1, 18, severity::Note};
    struct Case {
        const char* what;
        int userCode;
        int serviceCode;
        IssueList expected;
    };
    const Case cases[] = {
        {"both factory codes", 1111, 7777, {user, service}},   {"user code changed", 4321, 7777, {service}},
        {"service code changed", 1111, 9876, {user}},          {"both changed", 4321, 9876, {}},
        {"the codes swapped are no defaults", 7777, 1111, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GeneralSettings s;
        s.setUserCode(c.userCode);
        s.setServiceCode(c.serviceCode);
        IssueList issues;
        s.validate(issues);
        EXPECT_EQ(issues, c.expected);
    }
}

} // namespace
} // namespace tolvane
