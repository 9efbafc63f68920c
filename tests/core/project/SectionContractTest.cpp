#include "project/ProjectData.h"

#include "SectionBody.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using testing_support::bodyFile;
using testing_support::loadBody;
using testing_support::storeBody;

// What every section promises, checked once for all of them. A traits struct per section names the section, the
// size of its project body, one change made through an editing setter, and the defaults its reset declares.

struct WeeklyProgramContract {
    using Section = ScheduleProgram;
    static constexpr std::size_t BodySize = 128 * 64;
    static std::unique_ptr<Section> make() { return std::make_unique<Section>(Weekly); }
    static void change(Section& s) { s.setPriority(s.addEntry(), 9); }
    static void expectDefaults(const Section& s) {
        EXPECT_EQ(s.usedCount(), 0);
        EXPECT_EQ(s.entry(127), ProgramEntry::defaultFor(Weekly));
    }
};

struct FuneralProgramContract {
    using Section = ScheduleProgram;
    static constexpr std::size_t BodySize = 8 * 64;
    static std::unique_ptr<Section> make() { return std::make_unique<Section>(Funeral); }
    static void change(Section& s) { s.setTime(3, 17, 30, 0); }
    static void expectDefaults(const Section& s) {
        EXPECT_EQ(s.usedCount(), 8) << "every tolling entry is in use";
        EXPECT_EQ(s.entry(3), ProgramEntry::defaultFor(Funeral));
    }
};

struct SpecialTollingProgramContract {
    using Section = ScheduleProgram;
    static constexpr std::size_t BodySize = 3 * 64;
    static std::unique_ptr<Section> make() { return std::make_unique<Section>(SpecialTolling); }
    static void change(Section& s) { s.setPriority(2, 3); }
    static void expectDefaults(const Section& s) {
        EXPECT_EQ(s.usedCount(), 3);
        EXPECT_EQ(s.entry(2), ProgramEntry::defaultFor(SpecialTolling));
    }
};

struct GeneralContract {
    using Section = GeneralSettings;
    static constexpr std::size_t BodySize = 264;
    static std::unique_ptr<Section> make() { return std::make_unique<Section>(); }
    static void change(Section& s) { s.setDisplayContrast(80); }
    static void expectDefaults(const Section& s) {
        EXPECT_EQ(s.displayContrast(), GeneralSettings::DefaultContrast);
        EXPECT_EQ(s.displayBrightness(), GeneralSettings::DefaultBrightness);
        EXPECT_EQ(s.displayTimeMs(), GeneralSettings::DefaultDisplayTimeMs);
        EXPECT_EQ(s.userCode(), GeneralSettings::DefaultUserCode);
        EXPECT_EQ(s.serviceCode(), GeneralSettings::DefaultServiceCode);
        EXPECT_EQ(s.signature(), GeneralSettings::Signature);
    }
};

struct BellsContract {
    using Section = BellTable;
    static constexpr std::size_t BodySize = 5 * 64;
    static std::unique_ptr<Section> make() { return std::make_unique<Section>(); }
    static void change(Section& s) { s.setRunUpSeconds(4, 9); }
    static void expectDefaults(const Section& s) {
        for (int i = 0; i < BellTable::Count; ++i) {
            EXPECT_FALSE(s.bellDisabled(i));
            EXPECT_EQ(s.record(i).ringingSeconds(), 180);
            EXPECT_EQ(s.record(i).runUpSeconds(), 1);
            EXPECT_EQ(s.record(i).swingSeconds(), 5);
        }
    }
};

struct StrikingContract {
    using Section = StrikingSettings;
    static constexpr std::size_t BodySize = StrikingRecord::Size;
    static std::unique_ptr<Section> make() { return std::make_unique<Section>(); }
    static void change(Section& s) { s.setRepeatDelayTenths(120); }
    static void expectDefaults(const Section& s) {
        EXPECT_EQ(s.record().hourMode(), 0) << "striking off";
        EXPECT_EQ(s.record().repeatDelayTenths(), 50);
    }
};

struct TimeCorrectionContract {
    using Section = TimeCorrectionSettings;
    static constexpr std::size_t BodySize = 72;
    static std::unique_ptr<Section> make() { return std::make_unique<Section>(); }
    static void change(Section& s) { s.setSyncStartHour(2); }
    static void expectDefaults(const Section& s) {
        EXPECT_EQ(s.summerOffsetHalfHours(), 4);
        EXPECT_EQ(s.winterOffsetHalfHours(), 2);
        EXPECT_EQ(s.syncStartHour(), 1);
        EXPECT_EQ(s.syncStopHour(), 4);
        EXPECT_EQ(s.syncFlags(), 0xEB);
    }
};

struct AmplifierContract {
    using Section = AmplifierSettings;
    static constexpr std::size_t BodySize = 70;
    static std::unique_ptr<Section> make() { return std::make_unique<Section>(); }
    static void change(Section& s) { s.setLeadTimeSeconds(25); }
    static void expectDefaults(const Section& s) {
        EXPECT_FALSE(s.switchingOn());
        EXPECT_EQ(s.leadTimeSeconds(), AmplifierSettings::DefaultSeconds);
        EXPECT_EQ(s.switchOffDelaySeconds(), AmplifierSettings::DefaultSeconds);
    }
};

struct ClocksContract {
    using Section = TowerClockTable;
    static constexpr std::size_t BodySize = 2 * 62;
    static std::unique_ptr<Section> make() { return std::make_unique<Section>(); }
    static void change(Section& s) { s.setPulseSeconds(1, 20); }
    static void expectDefaults(const Section& s) {
        for (int i = 0; i < TowerClockTable::Count; ++i) {
            EXPECT_TRUE(s.record(i).clockOff());
            EXPECT_EQ(s.record(i).clockType(), 1);
            EXPECT_EQ(s.record(i).pulseSeconds(), 8);
            EXPECT_EQ(s.record(i).gapTenths(), 3);
        }
    }
};

struct OutputsContract {
    using Section = OutputMap;
    static constexpr std::size_t BodySize = 238;
    static std::unique_ptr<Section> make() { return std::make_unique<Section>(); }
    static void change(Section& s) { s.assignRelay(11, 3); } // row 11: the amplifier
    static void expectDefaults(const Section& s) {
        for (std::size_t byte : OutputMapRecord::FunctionBytes) {
            EXPECT_EQ(s.record().relay(byte), OutputMapRecord::NoRelay) << byte;
        }
    }
};

struct HolidaysContract {
    using Section = HolidayTable;
    static constexpr std::size_t BodySize = 11264;
    static std::unique_ptr<Section> make() { return std::make_unique<Section>(); }
    static void change(Section& s) {
        struct : TextSource {
            std::string text(int) const override { return "Nowe"; }
        } texts;
        s.setName(s.addHoliday(texts), "Boże Ciało");
    }
    static void expectDefaults(const Section& s) {
        EXPECT_EQ(s.usedCount(), 0);
        EXPECT_TRUE(s.isFree(5));
        EXPECT_EQ(s.name(5), "");
    }
};

struct HammersContract {
    using Section = HammerTable;
    static constexpr std::size_t BodySize = 5 * 56;
    static std::unique_ptr<Section> make() { return std::make_unique<Section>(); }
    static void change(Section& s) { s.setPulseTenths(2, 15); }
    static void expectDefaults(const Section& s) {
        for (int i = 0; i < HammerTable::Count; ++i) {
            EXPECT_EQ(s.record(i).pulseTenths(), 2);
            EXPECT_EQ(s.record(i).linkedBell(), HammerRecord::NoBell);
        }
    }
};

struct SequencesContract {
    using Section = SequenceTable;
    static constexpr std::size_t BodySize = SequenceTable::ImageSize;
    static std::unique_ptr<Section> make() { return std::make_unique<Section>(); }
    static void change(Section& s) { s.createSequence(); }
    static void expectDefaults(const Section& s) {
        EXPECT_EQ(s.usedCount(), 1) << "the factory sequence";
        EXPECT_TRUE(s.isUsed(0));
        EXPECT_EQ(s.record(0).totalTenths(), 5u);
        EXPECT_EQ(s.stepCount(0), 1);
    }
};

struct ChimesContract {
    using Section = ChimeNameTable;
    static constexpr std::size_t BodySize = ChimeNameTable::ImageSize;
    static std::unique_ptr<Section> make() { return std::make_unique<Section>(); }
    static void change(Section& s) { s.setName(4, "Angelus"); }
    static void expectDefaults(const Section& s) {
        for (int i = 0; i < ChimeNameTable::Count; ++i) {
            EXPECT_EQ(s.name(i), "") << "chime " << i; // the changed name 4 among them
        }
    }
};

template <typename Contract> class SectionContract : public ::testing::Test {
protected:
    using Section = typename Contract::Section;

    static std::unique_ptr<Section> changed() {
        auto s = Contract::make();
        Contract::change(*s);
        return s;
    }
};

using Contracts =
    ::testing::Types<WeeklyProgramContract, FuneralProgramContract, SpecialTollingProgramContract, GeneralContract,
                     BellsContract, StrikingContract, TimeCorrectionContract, AmplifierContract, ClocksContract,
                     OutputsContract, HolidaysContract, HammersContract, SequencesContract, ChimesContract>;
TYPED_TEST_SUITE(SectionContract, Contracts);

TYPED_TEST(SectionContract, ResetGivesTheDeclaredDefaults) {
    TypeParam::expectDefaults(*TypeParam::make());
    auto s = this->changed();
    s->reset();
    TypeParam::expectDefaults(*s);
}

TYPED_TEST(SectionContract, ProjectBodyRoundTrips) {
    auto s = this->changed();
    const std::vector<std::uint8_t> body = storeBody(*s);
    ASSERT_EQ(body.size(), 4 + TypeParam::BodySize);
    EXPECT_EQ(bytes::getU32LE(body, 0), TypeParam::BodySize);
    EXPECT_NE(body, storeBody(*TypeParam::make())) << "the change shows in the body";

    auto loaded = TypeParam::make();
    loadBody(*loaded, body);
    EXPECT_EQ(storeBody(*loaded), body);
}

TYPED_TEST(SectionContract, ABodyLongerThanTheSectionIsRefusedAndChangesNothing) {
    auto s = this->changed();
    const SectionState before = s->state();
    try {
        loadBody(*s, bodyFile(std::vector<std::uint8_t>(TypeParam::BodySize + 1, 0x00)));
        ADD_FAILURE() << "a body one byte too long was accepted";
    } catch (const ProjectFileError& e) {
        EXPECT_EQ(e.textId, SectionArchive::DamagedText);
    }
    EXPECT_EQ(s->state(), before);
}

TYPED_TEST(SectionContract, AChangeMarksTheSectionAndClearingForgetsIt) {
    auto s = TypeParam::make();
    s->clearModified();
    ASSERT_FALSE(s->isModified());
    TypeParam::change(*s);
    EXPECT_TRUE(s->isModified());
    s->clearModified();
    EXPECT_FALSE(s->isModified());
}

TYPED_TEST(SectionContract, StateTakenBackRestoresContentAndMarks) {
    auto s = TypeParam::make();
    const SectionState old = s->state();
    const std::vector<std::uint8_t> oldBody = storeBody(*s);
    TypeParam::change(*s);
    const SectionState changed = s->state();
    ASSERT_NE(changed, old);

    s->setState(old);
    EXPECT_EQ(s->state(), old);
    EXPECT_EQ(storeBody(*s), oldBody);

    // What an undo puts back shows as changed even where it set no mark itself.
    s->clearModified();
    s->markChanges(changed, old);
    EXPECT_TRUE(s->isModified());
}

} // namespace
} // namespace tolvane
