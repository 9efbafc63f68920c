#include "ringing/ChimeNameTable.h"

#include "SectionBody.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using testing_support::bodyFile;
using testing_support::loadBody;
using testing_support::storeBody;

using Bytes = std::vector<std::uint8_t>;

Bytes slot(const Bytes& image, int i) {
    const auto start = image.begin() + static_cast<std::ptrdiff_t>(i) * 32;
    return Bytes(start, start + 32);
}

Bytes packed(ChimeNameTable& table) {
    Bytes image(ChimeNameTable::ImageSize, 0xFF);
    table.packImage(image);
    return image;
}

Bytes withTail(Bytes head) {
    head.resize(32, 0xFF);
    return head;
}

TEST(ChimeNames, ANewTableHoldsThreeHundredEmptyNames) {
    ChimeNameTable table;
    for (int i = 0; i < ChimeNameTable::Count; ++i) {
        ASSERT_EQ(table.name(i), "") << i;
    }
    EXPECT_FALSE(table.isModified());
    const Bytes image = packed(table);
    for (int i = 0; i < ChimeNameTable::Count; ++i) {
        ASSERT_EQ(slot(image, i), withTail({0x00})) << "an empty name is a zero byte, then 0xFF";
    }
    EXPECT_THROW((void)table.name(300), std::out_of_range);
}

struct PackCase {
    const char* what;
    std::string name;
    Bytes slotBytes;
};

TEST(ChimeNames, PackedSlots) {
    const PackCase cases[] = {
        {"five characters leave 26 bytes of 0xFF", "Ave M", withTail({'A', 'v', 'e', ' ', 'M', 0x00})},
        {"31 characters fill the slot without 0xFF", std::string(31, 'x'),
         [] {
             Bytes b(31, 'x');
             b.push_back(0);
             return b;
         }()},
        {"a Polish letter", "Ąż", withTail({0xA5, 0xBF, 0x00})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ChimeNameTable table;
        table.setName(7, c.name);
        const Bytes image = packed(table);
        EXPECT_EQ(slot(image, 7), c.slotBytes);
        EXPECT_EQ(slot(image, 8), withTail({0x00}));

        ChimeNameTable copy;
        copy.unpackImage(image);
        EXPECT_EQ(copy.name(7), c.name);
    }
}

TEST(ChimeNames, LongerNamesAreCutToTheirSlot) {
    ChimeNameTable table;
    std::string forty;
    for (int i = 0; i < 40; ++i) {
        forty += static_cast<char>('A' + i % 26);
    }
    table.setName(0, forty);
    EXPECT_EQ(table.name(0), forty.substr(0, 31)) << "the name holds what the card can hold";
    std::string letters;
    for (int i = 0; i < 40; ++i) {
        letters += "ł";
    }
    table.setName(1, letters);
    EXPECT_EQ(table.name(1), letters.substr(0, 31 * 2)) << "cut between characters, not inside one";

    const Bytes image = packed(table);
    EXPECT_EQ(slot(image, 0)[31], 0x00);
    EXPECT_EQ(slot(image, 1), [] {
        Bytes b(31, 0xB3);
        b.push_back(0);
        return b;
    }());
    EXPECT_EQ(slot(image, 2), withTail({0x00})) << "the next slot is untouched";
}

TEST(ChimeNames, UnpackReadsEachSlotUpToItsZeroByte) {
    Bytes image(ChimeNameTable::ImageSize, 0xFF);
    const std::pair<int, Bytes> slots[] = {
        {0, {'O', 'n', 'e', 0x00, 'x', 'y'}},
        {1, {0x00, 'x'}},
        {2, Bytes(32, 'z')}, // no terminator: the whole slot, never the next one
        {3, {'Q', 0x00}},
        {4, {0xA5, 0x00}},
    };
    for (const auto& [i, bytes] : slots) {
        std::copy(bytes.begin(), bytes.end(), image.begin() + i * 32);
    }
    ChimeNameTable table;
    table.setName(299, "old");
    table.unpackImage(image);
    EXPECT_EQ(table.name(0), "One");
    EXPECT_EQ(table.name(1), "");
    EXPECT_EQ(table.name(2), std::string(32, 'z'));
    EXPECT_EQ(table.name(3), "Q");
    EXPECT_EQ(table.name(4), "Ą") << "read back in Latin mode";
    EXPECT_EQ(table.name(5), "") << "a slot of erased memory";
    EXPECT_EQ(table.name(299), "") << "unpacking starts from empty names";
    EXPECT_FALSE(table.isModified());
    EXPECT_EQ(slot(packed(table), 2), [] {
        Bytes b(31, 'z');
        b.push_back(0);
        return b;
    }()) << "a slot read without terminator is written back cut to 31 bytes and a zero";

    ChimeNameTable shortRead;
    shortRead.unpackImage(std::span<const std::uint8_t>(image).first(40));
    EXPECT_EQ(shortRead.name(0), "One");
    EXPECT_EQ(shortRead.name(1), "") << "a slot cut by the end of the data";
}

TEST(ChimeNames, ChangeMarks) {
    ChimeNameTable table;
    table.setName(3, "");
    EXPECT_FALSE(table.isModified()) << "nothing changed";
    table.setName(3, "A");
    table.setName(3, "");
    EXPECT_EQ(table.name(3), "");
    EXPECT_TRUE(table.isChanged(3)) << "typing and deleting a letter keeps the mark";
    EXPECT_FALSE(table.isChanged(2));
    table.clearModified();
    EXPECT_FALSE(table.isModified());
    table.setName(4, "B");
    table.resetItem(4);
    EXPECT_EQ(table.name(4), "");
    EXPECT_FALSE(table.isModified());
}

TEST(ChimeNames, ProjectBodyRoundTrip) {
    ChimeNameTable table;
    table.setName(0, "Angelus");
    table.setName(299, "Żółć");
    const Bytes file = storeBody(table);
    ASSERT_EQ(file.size(), 4u + 9600u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{0x80, 0x25, 0x00, 0x00}));
    EXPECT_EQ(Bytes(file.begin() + 4, file.end()), packed(table)) << "the body is the card image";

    ChimeNameTable copy;
    copy.setName(5, "gone");
    loadBody(copy, file);
    EXPECT_EQ(copy.name(0), "Angelus");
    EXPECT_EQ(copy.name(299), "Żółć");
    EXPECT_EQ(copy.name(5), "");

    ChimeNameTable partial;
    loadBody(partial, bodyFile({'H', 'i', 0x00}));
    EXPECT_EQ(partial.name(0), "Hi");
    EXPECT_EQ(partial.name(1), "") << "the rest reads as erased memory";
}

TEST(ChimeNames, DamagedBodiesAreRefused) {
    ChimeNameTable source;
    Bytes cut = storeBody(source);
    cut.resize(cut.size() - 1);
    for (const Bytes& bad : {bodyFile(Bytes(9601, 0x00)), cut}) {
        ChimeNameTable table;
        table.setName(1, "kept");
        try {
            loadBody(table, bad);
            ADD_FAILURE() << "accepted";
        } catch (const ProjectFileError& e) {
            EXPECT_EQ(e.textId, 113);
        }
        EXPECT_EQ(table.name(1), "kept");
    }
}

} // namespace
} // namespace tolvane
