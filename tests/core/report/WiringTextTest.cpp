#include "report/WiringText.h"

#include "project/ProjectData.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace tolvane {
namespace {

// The catalog texts the table uses, in English; any other text is its number.
class Texts final : public TextSource {
public:
    std::string text(int id) const override {
        static const std::map<int, std::string> texts{
            {110, "Bell %d"},
            {111, "Clock %d"},
            {304, "Amplifier"},
            {311, "Hour herald"},
            {534, "Hammer %d"},
            {535, "Sequence %d"},
            {2151, "Wiring table"},
            {2152, "Terminal"},
            {2153, "Drives or does"},
            {2154, "Belongs to"},
            {2156, "free"},
            {2157, "%s drives more than one function: %s"},
            {2158, "Wiring at %s"},
            {2160, "Swinging bell"},
            {2161, "Hammer"},
            {2162, "Clock relay A"},
            {2163, "Clock relay B"},
            {2165, "Starts a sequence"},
            {2167, "Minute pulse input"},
            {2168, "Return signal"},
        };
        const auto it = texts.find(id);
        return it == texts.end() ? "T" + std::to_string(id) : it->second;
    }
};

TEST(WiringText, ASmallTowerAsTheElectricianReadsIt) {
    ProjectData project;
    project.general().setLocationName("St John's");
    OutputMap& map = project.outputs();
    ASSERT_TRUE(map.assignRelay(1, 0));  // PK1 bell 1
    ASSERT_TRUE(map.assignRelay(2, 1));  // PK2 bell 2
    ASSERT_TRUE(map.assignRelay(6, 2));  // PK3 hammer 1
    ASSERT_TRUE(map.assignRelay(11, 3)); // PK4 amplifier
    ASSERT_TRUE(map.assignRelay(14, 4)); // PK5 clock 1 relay A
    ASSERT_TRUE(map.assignRelay(15, 5)); // PK6 clock 1 relay B
    ASSERT_TRUE(map.assignRelay(19, 6)); // PK7 hour herald
    project.sequences().createSequence();
    ASSERT_TRUE(map.setInputRow(0, 8)); // WE1 starts sequence 1
    ASSERT_TRUE(map.setInputRow(1, 2)); // WE2 minute input of clock 1
    ASSERT_TRUE(map.setReturnRow(0, 1));

    const std::string expected = "Wiring at St John's\n"
                                 "\n"
                                 "Terminal  Drives or does      Belongs to\n"
                                 "PK1       Swinging bell       Bell 1\n"
                                 "PK2       Swinging bell       Bell 2\n"
                                 "PK3       Hammer              Hammer 1\n"
                                 "PK4       Amplifier\n"
                                 "PK5       Clock relay A       Clock 1\n"
                                 "PK6       Clock relay B       Clock 1\n"
                                 "PK7       Hour herald\n"
                                 "PK8       free\n"
                                 "PK9       free\n"
                                 "PK10      free\n"
                                 "WE1       Starts a sequence   Sequence 1\n"
                                 "WE2       Minute pulse input  Clock 1\n"
                                 "POWR1     Return signal       Bell 1\n"
                                 "POWR2     free\n"
                                 "POWR3     free\n"
                                 "POWR4     free\n"
                                 "POWR5     free\n";
    EXPECT_EQ(wiringTableText(project, Texts()), expected);
}

TEST(WiringText, ARelayWithTwoFunctionsIsFlaggedInTheTableAndBelowIt) {
    ProjectData project;
    project.general().setLocationName("");
    OutputMapRecord record = project.outputs().record();
    record.setU8(1, 2); // bell 2 on PK3
    record.setU8(5, 2); // the amplifier on PK3 too
    project.outputs().restore(record);
    const std::string text = wiringTableText(project, Texts());
    EXPECT_EQ(text.substr(0, text.find('\n')), "Wiring table") << "no location: the plain title";
    EXPECT_NE(text.find("PK3 (!)   Swinging bell   Bell 2\n"), std::string::npos) << text;
    EXPECT_NE(text.find("PK3 (!)   Amplifier\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n(!) PK3 drives more than one function: Bell 2, Amplifier\n"), std::string::npos) << text;
}

TEST(WiringText, ColumnsLineUpByCharactersNotBytes) {
    ProjectData project;
    ASSERT_TRUE(project.outputs().assignRelay(11, 0));
    class Polish final : public TextSource {
    public:
        std::string text(int id) const override {
            switch (id) {
            case 2152:
                return "Zacisk";
            case 2153:
                return "Źródło";
            case 2154:
                return "Czego";
            case 304:
                return "Wzmacniacz";
            default:
                return "ż";
            }
        }
    };
    const std::string text = wiringTableText(project, Polish());
    EXPECT_NE(text.find("Zacisk  Źródło      Czego\nPK1     Wzmacniacz\nPK2     ż\n"), std::string::npos) << text;
}

} // namespace
} // namespace tolvane
