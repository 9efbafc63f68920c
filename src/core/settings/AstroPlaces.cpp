#include "settings/AstroPlaces.h"

namespace tolvane {

namespace {

constexpr std::uint8_t E(int degrees) {
    return static_cast<std::uint8_t>(degrees);
}
constexpr std::uint8_t W(int degrees) {
    return static_cast<std::uint8_t>(degrees | AstroPlaces::HemisphereBit);
}
constexpr std::uint8_t N(int degrees) {
    return static_cast<std::uint8_t>(degrees);
}

} // namespace

const std::array<AstroPlaces::Place, AstroPlaces::Count>& AstroPlaces::table() {
    static constexpr std::array<Place, Count> places{{
        {E(19), 56, N(50), 4},  {E(21), 0, N(52), 13},  {E(18), 38, N(54), 22}, {E(19), 28, N(51), 49},
        {E(16), 22, N(48), 13}, {E(4), 21, N(50), 50},  {E(14), 25, N(50), 5},  {E(12), 34, N(55), 43},
        {E(25), 0, N(60), 8},   {E(2), 20, N(48), 52},  {E(13), 26, N(52), 30}, {E(23), 44, N(38), 0},
        {E(19), 0, N(47), 30},  {W(6), 15, N(53), 20},  {E(12), 30, N(41), 53}, {E(24), 8, N(56), 53},
        {E(4), 54, N(52), 21},  {E(10), 17, N(59), 56}, {W(9), 8, N(38), 44},   {E(26), 7, N(44), 25},
        {E(37), 35, N(55), 45}, {E(17), 10, N(48), 10}, {W(3), 43, N(40), 25},  {E(7), 26, N(46), 57},
        {W(0), 10, N(51), 30},  {E(30), 29, N(50), 28},
    }};
    return places;
}

} // namespace tolvane
