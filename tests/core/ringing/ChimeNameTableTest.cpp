#include "ringing/ChimeNameTable.h"

#include "SectionBody.h"
#include "device/DeviceText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
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

// A slot as a card or a project file may hold it: `head`, then `tail` up to 32 bytes.
Bytes cardSlot(Bytes head, std::uint8_t tail = 0xFF) {
    head.resize(32, tail);
    return head;
}

struct OddSlotCase {
    const char* what;
    Bytes card;       // the 32 bytes read
    std::string name; // what name() gives after reading them
    Bytes written;    // the slot written back (into an image filled with 0xFF)
};

// Names read from damaged or odd slots: reading turns each byte into its Latin-mode character (a tab into a space),
// stops at the zero byte or at 0xFF (character 255), and reads a slot without terminator whole; writing turns each
// character into its device byte, cuts at 31 and ends with a zero byte.
TEST(ChimeNames, OddSlotsReadAndWriteBack) {
    const OddSlotCase cases[] = {
        {"a tab reads as a space and is written as one", cardSlot({'A', 0x09, 'B', 0x00}), "A B",
         withTail({'A', 0x20, 'B', 0x00})},
        {"a leading tab", cardSlot({0x09}), " ", withTail({0x20, 0x00})},
        {"0xFF inside the text ends it", cardSlot({'A', 'B', 0xFF, 'C', 0x00}), "AB", withTail({'A', 'B', 0x00})},
        {"0xFF right after the text without a zero byte", cardSlot({'A', 'B'}), "AB", withTail({'A', 'B', 0x00})},
        {"zero bytes after the terminator", cardSlot({'A', 0x00}, 0x00), "A", withTail({'A', 0x00})},
        {"bytes after the terminator are not read", cardSlot({'A', 0x00, 'B', 0x09}), "A", withTail({'A', 0x00})},
        {"an all-0xFF slot is erased memory", cardSlot({}), "", withTail({0x00})},
        {"a slot that starts with its zero byte", cardSlot({0x00, 'A', 'B'}), "", withTail({0x00})},
        {"a 31-character name fills the slot",
         [] {
             Bytes b(31, 'm');
             b.push_back(0x00);
             return b;
         }(),
         std::string(31, 'm'),
         [] {
             Bytes b(31, 'm');
             b.push_back(0x00);
             return b;
         }()},
        {"no terminator: 32 characters read, 31 written",
         [] {
             Bytes b(31, 'x');
             b.push_back(0x09);
             return b;
         }(),
         std::string(31, 'x') + " ",
         [] {
             Bytes b(31, 'x');
             b.push_back(0x00);
             return b;
         }()},
        {"Polish letters keep their bytes", cardSlot({0xB9, 0xA5, 0xB3, 0xBF, 0x00}), "ąĄłż",
         withTail({0xB9, 0xA5, 0xB3, 0xBF, 0x00})},
        // No Latin letter has byte 0xC0, so it reads as U+00C0, whose own device byte is 0xA2.
        {"byte 0xC0 reads as À, written as its byte 0xA2", cardSlot({0xC0, 0x00}), "À", withTail({0xA2, 0x00})},
        {"byte 0xA2 reads as À too", cardSlot({0xA2, 0x00}), "À", withTail({0xA2, 0x00})},
        // Cyrillic bytes read as the Latin-1 characters of their value in Latin mode.
        {"a Cyrillic byte reads as its Latin-1 character", cardSlot({0xC1, 0xE2, 0x00}), "Áâ",
         withTail({0xC1, 0xE2, 0x00})},
        {"a byte of no character of its own reads as its code", cardSlot({0x80, 0x01, 0xAC, 0x00}), "\u0080\u0001¬",
         withTail({0x80, 0x01, 0xAC, 0x00})},
        {"a text ended by the end of the slot after a letter", cardSlot({0xE0}), "ŕ", withTail({0xE0, 0x00})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.card.size(), 32u);
        Bytes image(ChimeNameTable::ImageSize, 0xFF);
        std::copy(c.card.begin(), c.card.end(), image.begin() + 9 * 32);
        ChimeNameTable table;
        table.unpackImage(image);
        EXPECT_EQ(table.name(9), c.name);
        EXPECT_FALSE(table.isModified());
        const Bytes written = packed(table);
        EXPECT_EQ(slot(written, 9), c.written);
        EXPECT_EQ(slot(written, 10), withTail({0x00}));

        // Through the project file, and once more: what was written reads back as the same name.
        ChimeNameTable file;
        loadBody(file, bodyFile(image));
        EXPECT_EQ(file.name(9), c.name);
        const Bytes body = storeBody(file);
        EXPECT_EQ(Bytes(body.begin() + 4 + 9 * 32, body.begin() + 4 + 10 * 32), c.written);
        ChimeNameTable again;
        again.unpackImage(written);
        EXPECT_EQ(packed(again), written);
    }
}

// Every single byte between two letters, compared with converting the slot to text and the text back to bytes.
TEST(ChimeNames, EveryByteReadsAndWritesAsTextWould) {
    for (int v = 1; v < 256; ++v) {
        const auto b = static_cast<std::uint8_t>(v);
        SCOPED_TRACE(v);
        const Bytes card = cardSlot({'A', b, 'B', 0x00});
        Bytes image(ChimeNameTable::ImageSize, 0xFF);
        std::copy(card.begin(), card.end(), image.begin());
        ChimeNameTable table;
        table.unpackImage(image);

        const std::string text = deviceToText(Bytes{'A', b, 'B'}, TextMode::Latin);
        Bytes expected(32, 0xFF);
        const std::size_t length =
            fittedTextToDevice(text, std::numeric_limits<int>::max(), std::span(expected).first(31));
        expected[length] = 0x00;
        EXPECT_EQ(table.name(0), text);
        EXPECT_EQ(slot(packed(table), 0), expected);
    }
}

struct KeptTextCase {
    const char* what;
    std::string name;   // set, and what name() gives until the names are read again
    Bytes written;      // the slot written
    std::string reread; // the name read back from it
};

// A name whose characters have no byte of their own, or whose bytes read as other characters, is shown as it was
// set until it is read back from the bytes written.
TEST(ChimeNames, SetNamesTheBytesCannotHoldAreKeptUntilReadBack) {
    const KeptTextCase cases[] = {
        {"the euro sign is written as its low byte", "5 €", withTail({'5', ' ', 0xAC, 0x00}), "5 ¬"},
        {"a tab", "A\tB", withTail({'A', 0x09, 'B', 0x00}), "A B"},
        {"ÿ is written as 0xFF, which ends the name", "aÿb", withTail({'a', 0xFF, 'b', 0x00}), "a"},
        {"Ā is written as a zero byte", "Āx", withTail({0x00, 'x', 0x00}), ""},
        {"a Cyrillic name is written as Cyrillic bytes", "Звон", withTail({0xC7, 0xE2, 0xEE, 0xED, 0x00}), "Çâîí"},
        {"À is written as 0xA2", "À", withTail({0xA2, 0x00}), "À"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ChimeNameTable table;
        table.setName(4, c.name);
        EXPECT_EQ(table.name(4), c.name);
        EXPECT_TRUE(table.isChanged(4));
        const Bytes image = packed(table);
        EXPECT_EQ(slot(image, 4), c.written);

        ChimeNameTable restored;
        restored.setState(table.state());
        EXPECT_EQ(restored.name(4), c.name) << "a state holds the name as set";
        EXPECT_EQ(packed(restored), image);

        table.clearModified();
        table.setName(4, c.name);
        EXPECT_FALSE(table.isModified()) << "the same name again changes nothing";

        ChimeNameTable reread;
        reread.unpackImage(image);
        EXPECT_EQ(reread.name(4), c.reread);
    }
}

TEST(ChimeNames, StatesTellNamesApartThatShareTheirBytes) {
    ChimeNameTable table;
    table.setName(1, "¬");
    table.setName(2, "x");
    table.clearModified();
    const SectionState before = table.state();
    table.setName(1, "€"); // the same byte 0xAC as ¬
    EXPECT_TRUE(table.isChanged(1));
    const SectionState after = table.state();
    EXPECT_NE(before, after);

    ChimeNameTable marked;
    marked.setState(before);
    marked.markChanges(before, after);
    EXPECT_TRUE(marked.isChanged(1));
    EXPECT_FALSE(marked.isChanged(2));
    marked.setState(after);
    EXPECT_EQ(marked.name(1), "€");

    ChimeNameTable loaded;
    Bytes image(ChimeNameTable::ImageSize, 0xFF);
    image[0] = 'A';
    image[1] = 0x09;
    image[2] = 0x00;
    loaded.unpackImage(image);
    ChimeNameTable typed;
    typed.setName(0, "A ");
    EXPECT_EQ(loaded.state().content, typed.state().content) << "the same name read or typed is the same state";

    SectionState wrong = table.state();
    wrong.content[0] = 33; // more bytes than a slot holds
    EXPECT_THROW(marked.setState(wrong), std::invalid_argument);
    EXPECT_EQ(marked.name(1), "€") << "a refused state leaves the names as they were";
}

} // namespace
} // namespace tolvane
