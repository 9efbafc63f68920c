#pragma once

#include <array>
#include <cstdint>

namespace tolvane {

class BellRecord;

// The timing of one bell as the bell editor's phase chart draws it: five bars on one time axis (run-up,
// stabilisation, ringing, damping, swinging out), each with its start, its length and the limits of its length,
// and what dragging the right end of a bar does to the others. Values are whole seconds.
class BellPhases {
public:
    enum Bar : int { RunUp, Settle, Ringing, Damp, Swing };
    static constexpr int BarCount = 5;
    static constexpr int MaxRinging = 1799;
    static constexpr int MaxSwing = 599;
    static constexpr int MinRingingMargin = 10; // ringing lasts at least run-up + stabilisation + 10 s
    // Bar colours (ARGB) in bar order.
    static constexpr std::array<std::uint32_t, BarCount> Colors{0xFF008000, 0xFFFFA500, 0xFFFF0000, 0xFF0000FF,
                                                                0xFFA52A2A};

    struct Limits {
        int lowest = 0;
        int highest = 0;
    };

    BellPhases() = default;
    BellPhases(int runUp, int settle, int ringing, int damp, int swing);
    static BellPhases of(const BellRecord& bell);

    int length(Bar bar) const { return lengths_[static_cast<std::size_t>(bar)]; }
    int start(Bar bar) const;
    int end(Bar bar) const { return start(bar) + length(bar); }
    Limits limits(Bar bar) const;

    // The user drags the right end of `bar` to time `end` (seconds from 0). The length stays within its limits;
    // the bars behind it follow: run-up and stabilisation push damping and swinging out along and lengthen the
    // ringing by as much; the ringing end moves damping and swinging out; the damping end lengthens or shortens the
    // swinging out by as much, and pulls both back so that swinging out never exceeds 599 s; the swinging-out end
    // moves only itself.
    void dragEnd(Bar bar, int end);

    friend bool operator==(const BellPhases&, const BellPhases&) = default;

private:
    std::array<int, BarCount> lengths_{1, 1, 180, 1, 5};
};

} // namespace tolvane
