#include "ringing/HammerTable.h"

#include "SectionBody.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tolvane {
namespace {

// A hammer record whose every byte differs from the defaults, to show which bytes a reset or an unpack touches.
HammerRecord patterned(std::uint8_t seed) {
    HammerRecord r;
    for (std::size_t i = 0; i < HammerRecord::Size; ++i) {
        r.setU8(i, static_cast<std::uint8_t>(seed + i));
    }
    return r;
}

TEST(HammerTable, ResetGivesDefaultsByteForByte) {
    HammerTable t;
    for (int h = 0; h < HammerTable::Count; ++h) {
        SCOPED_TRACE(h);
        const auto b = t.record(h).bytes();
        for (std::size_t off = 0; off < HammerRecord::Size; ++off) {
            std::uint8_t expected = 0xFF;
            if (off == 2 || off == 37 || off == 38) {
                expected = 0;
            } else if (off == 36) {
                expected = 2; // pulse 0.2 s, little-endian
            }
            EXPECT_EQ(b[off], expected) << "offset " << off;
        }
    }
    EXPECT_FALSE(t.isModified());
}

TEST(HammerTable, ResetItemWritesOnlyTheDefaultsAndKeepsOtherBytes) {
    HammerTable t;
    const HammerRecord before = patterned(0x40);
    t.acceptEdit(3, before, HammerTable::MarkPulse);
    t.acceptEdit(1, patterned(0x10), HammerTable::MarkPulse);
    t.resetItem(3);

    const auto b = t.record(3).bytes();
    for (std::size_t off = 0; off < HammerRecord::Size; ++off) {
        SCOPED_TRACE(off);
        if (off <= 2 || (off >= 34 && off <= 39)) {
            EXPECT_EQ(b[off], HammerTable().record(0).bytes()[off]);
        } else {
            EXPECT_EQ(b[off], before.bytes()[off]);
        }
    }
    EXPECT_EQ(t.changeMark(3), 0u);
    EXPECT_EQ(t.changeMark(1), HammerTable::MarkPulse);
    EXPECT_EQ(t.record(1), patterned(0x10));
}

TEST(HammerTable, ImageCarriesOnlyItsFieldsBigEndian) {
    HammerTable t;
    HammerRecord r = patterned(0x20);
    r.setU16(0, 0x1234);
    r.setU16(34, 0x5678);
    r.setPulseTenths(0x0102);
    r.setU8(38, 0x33);
    r.setLinkedBell(4);
    t.acceptEdit(2, r, 0);

    std::vector<std::uint8_t> image(HammerTable::ImageSize, 0x00); // not pre-filled: the slot is still 0xFF
    t.packImage(image);
    const std::size_t s = 2 * HammerRecord::Size;
    EXPECT_EQ(image[s + 0], 0x12);
    EXPECT_EQ(image[s + 1], 0x34);
    EXPECT_EQ(image[s + 2], 0x00); // always 0, whatever the record holds
    EXPECT_EQ(image[s + 34], 0x56);
    EXPECT_EQ(image[s + 35], 0x78);
    EXPECT_EQ(image[s + 36], 0x01);
    EXPECT_EQ(image[s + 37], 0x02);
    EXPECT_EQ(image[s + 38], 0x33);
    EXPECT_EQ(image[s + 39], 0x04);
    for (std::size_t off = 3; off < 34; ++off) {
        EXPECT_EQ(image[s + off], 0xFF) << off;
    }
    for (std::size_t off = 40; off < HammerRecord::Size; ++off) {
        EXPECT_EQ(image[s + off], 0xFF) << off;
    }
    // A reset hammer: pulse 2 as 00 02.
    EXPECT_EQ(image[36], 0x00);
    EXPECT_EQ(image[37], 0x02);
    EXPECT_EQ(t.record(2).u8(2), static_cast<std::uint8_t>(0x22)); // packing leaves the record alone
}

TEST(HammerTable, UnpackCopiesOnlyTheCarriedFieldsBack) {
    HammerTable source;
    HammerRecord r = source.record(0);
    r.setU16(0, 0xBEEF);
    r.setU16(34, 0x0A0B);
    r.setPulseTenths(17);
    r.setU8(38, 0x09);
    r.setLinkedBell(1);
    source.acceptEdit(0, r, 0);
    std::vector<std::uint8_t> image(HammerTable::ImageSize, 0xFF);
    source.packImage(image);
    image[5] = 0x77; // a byte outside the carried fields

    HammerTable target;
    const HammerRecord kept = patterned(0x60);
    target.acceptEdit(0, kept, HammerTable::MarkRelay);
    target.unpackImage(image);

    const HammerRecord& got = target.record(0);
    EXPECT_EQ(got.firstWord(), 0xBEEF);
    EXPECT_EQ(got.u8(2), 0);
    EXPECT_EQ(got.secondWord(), 0x0A0B);
    EXPECT_EQ(got.pulseTenths(), 17);
    EXPECT_EQ(got.u8(38), 0x09);
    EXPECT_EQ(got.linkedBell(), 1);
    for (std::size_t off = 3; off < 34; ++off) {
        EXPECT_EQ(got.u8(off), kept.u8(off)) << off;
    }
    for (std::size_t off = 40; off < HammerRecord::Size; ++off) {
        EXPECT_EQ(got.u8(off), kept.u8(off)) << off;
    }
}

TEST(HammerTable, UnpackSetsByteTwoToZeroWhateverTheImageHolds) {
    std::vector<std::uint8_t> image(HammerTable::ImageSize, 0xFF);
    HammerTable t;
    t.unpackImage(image);
    for (int h = 0; h < HammerTable::Count; ++h) {
        EXPECT_EQ(t.record(h).u8(2), 0) << h;
        EXPECT_EQ(t.record(h).pulseTenths(), 0xFFFF) << h;
    }
}

TEST(HammerTable, PulseAsTypedIsTruncatedToTenths) {
    struct Case {
        double typed;
        std::uint16_t stored;
    };
    const Case cases[] = {{0.2, 2}, {0.05, 0}, {0.19, 1}, {2.0, 20}, {2.3, 23}, {1.7, 17}, {-1.0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        HammerTable t;
        t.setPulseSeconds(0, c.typed);
        EXPECT_EQ(t.record(0).pulseTenths(), c.stored);
        EXPECT_EQ(t.changeMark(0), c.stored == 2 ? 0u : HammerTable::MarkPulse);
    }
}

TEST(HammerTable, ABellBelongsToOneHammerAtMost) {
    HammerTable t;
    EXPECT_TRUE(t.setLinkedBell(0, 1));
    EXPECT_EQ(t.changeMark(0), HammerTable::MarkLinkedBell);
    // Hammer 3 may not take bell 2 while hammer 1 holds it.
    EXPECT_FALSE(t.setLinkedBell(2, 1));
    EXPECT_EQ(t.record(2).linkedBell(), HammerRecord::NoBell);
    EXPECT_EQ(t.changeMark(2), 0u);
    EXPECT_EQ(t.hammerLinkedTo(1), 0);
    EXPECT_EQ(t.hammerLinkedTo(1, 0), -1);
    // Choosing the current bell again, or none, is accepted; a bell index beyond 4 is not.
    EXPECT_TRUE(t.setLinkedBell(0, 1));
    EXPECT_FALSE(t.setLinkedBell(3, 5));
    EXPECT_TRUE(t.setLinkedBell(0, HammerRecord::NoBell));
    EXPECT_TRUE(t.setLinkedBell(2, 1));
    EXPECT_TRUE(t.setLinkedBell(3, HammerRecord::NoBell)); // several hammers may have no bell
    EXPECT_EQ(t.hammerLinkedTo(HammerRecord::NoBell), -1);
}

TEST(HammerTable, ValidationChecksThePulseOfEveryHammer) {
    HammerTable t;
    t.setPulseSeconds(1, 0.05);
    t.setPulseTenths(2, 20);
    t.setPulseTenths(4, 21);
    IssueList issues;
    t.validate(issues);
    const IssueList expected{{51, 1, 16, 0}, {51, 4, 16, 0}};
    EXPECT_EQ(issues, expected);
}

// The card carries only some bytes of a hammer; the project body carries all of them.
TEST(HammerTable, ProjectBodyKeepsTheBytesTheCardDoesNotCarry) {
    HammerTable t;
    t.acceptEdit(4, patterned(0x90), 0);
    HammerTable loaded;
    testing_support::loadBody(loaded, testing_support::storeBody(t));
    for (int h = 0; h < HammerTable::Count; ++h) {
        EXPECT_EQ(loaded.record(h), t.record(h)) << h;
    }
}

TEST(HammerTable, AcceptEditAddsTheEditorsBits) {
    HammerTable project;
    project.setPulseTenths(0, 5);
    HammerTable copy = project;
    ASSERT_TRUE(copy.setLinkedBell(0, 3));
    copy.markRelayChanged(0);
    project.acceptEdit(0, copy.record(0), copy.changeMark(0));
    EXPECT_EQ(project.record(0).linkedBell(), 3);
    EXPECT_EQ(project.changeMark(0), HammerTable::MarkPulse | HammerTable::MarkLinkedBell | HammerTable::MarkRelay);
}

} // namespace
} // namespace tolvane
