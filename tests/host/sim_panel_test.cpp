#include "sim/state_text.h"
#include "sim/unitpanel/command_strip.h"
#include "sim/unitpanel/panel_keys.h"
#include "sim/unitpanel/panel_layout.h"
#include "sim/unitpanel/panel_view.h"
#include "unit/command_code.h"
#include "unit/unit_status.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The factory unit with the words of "unitsim set" applied.
SimUnitState Unit(const std::string& words) {
    SimUnitState unit;
    SimUnitReset(unit);
    std::istringstream in(words);
    std::vector<std::string> list{std::istream_iterator<std::string>(in), {}};
    std::vector<const char*> assignments;
    for (const std::string& word : list) {
        assignments.push_back(word.c_str());
    }
    char error[256] = {};
    EXPECT_TRUE(
        ApplySimFieldAssignments(unit, assignments.data(), assignments.size(), error, sizeof error))
        << error;
    return unit;
}

std::string DisplayText(PanelLink link, const SimUnitState& unit) {
    char text[192];
    PanelDisplayText(DescribePanel(link, 3, unit), text, sizeof text);
    return text;
}

TEST(SimPanel, DisplayTextFollowsTheUnit) {
    const struct {
        PanelLink link;
        const char* unit;
        const char* text;
    } cases[] = {
        {PanelLink::Ready, "", "STANDBY"},
        {PanelLink::Ready, "power=on", "TUNER | VOL 20 | FM 76.00MHz | PRESET 01 | AUTO"},
        {PanelLink::Ready, "power=on mute=on soundmode=nb2 preset=23 frequency=1449 mono=on",
         "TUNER | VOL 20 | MUTE | N.B.2 | AM 1449kHz | PRESET 23 | MONO"},
        {PanelLink::Ready, "power=on volume=40 source=cd cd=play track=3 time=2:15",
         "CD | VOL 40 | 03  02:15 | PLAY | 12 TRACKS"},
        {PanelLink::Ready, "power=on source=cd disc=no", "CD | VOL 20 | NO DISC"},
        {PanelLink::Ready, "power=on source=md md=play mdtrack=7 inputlevel=-3",
         "MD | VOL 20 | TRACK 07 | PLAY | INPUT -3"},
        {PanelLink::Ready, "power=on source=tape tape=rewind soundmode=tone",
         "TAPE | VOL 20 | TONE | REW | REWIND | INPUT +0"},
        {PanelLink::Ready, "power=on source=pcusb volume=80", "PC USB | VOL 80 | USB AUDIO"},
        {PanelLink::Unplugged, "power=on", "UNPLUGGED | OFF THE USB BUS"},
        {PanelLink::NoUnit, "power=on", "NO UNIT 3 | WAITING FOR IT"},
        {PanelLink::NoDriver, "power=on", "NO DRIVER | WAITING FOR IT"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DisplayText(c.link, Unit(c.unit)), c.text) << c.unit;
    }
}

SimLogEntry Entry(std::uint32_t sequence, SimLogKind kind, std::uint32_t command = 0,
                  std::uint16_t instance = 0) {
    SimLogEntry entry = {};
    entry.sequence = sequence;
    entry.kind = kind;
    entry.command = command;
    entry.applied = 1;
    entry.instance = instance;
    return entry;
}

std::string Strip(const CommandStrip& strip) {
    char text[256];
    StripText(strip, text, sizeof text);
    return text;
}

TEST(SimPanel, StripNamesWhatReachedTheUnitOnce) {
    CommandStrip strip = {};
    SimLogEntry failedOpen = Entry(7, SimLogOpen);
    failedOpen.status = 0xC000000E;
    const SimLogEntry log[] = {Entry(1, SimLogOpen),
                               Entry(2, SimLogRead),
                               Entry(3, SimLogRead),
                               Entry(4, SimLogWrite, NumberedCommand(SetVolume, 41)),
                               Entry(5, SimLogWrite, SelectCd, 1),
                               Entry(6, SimLogClose),
                               failedOpen};
    EXPECT_TRUE(FollowLog(strip, log, 7, 0));
    EXPECT_EQ(Strip(strip), "status read x2 | SetVolume 41 | open failed");
    // Read again, the same entries change nothing; a driver started afresh is followed anew.
    EXPECT_FALSE(FollowLog(strip, log, 7, 0));
    const SimLogEntry restarted[] = {Entry(1, SimLogWrite, 0xB8021234),
                                     Entry(2, SimLogWrite, PowerOn), Entry(3, SimLogWrite, CdNext),
                                     Entry(4, SimLogWrite, CdPrev), Entry(5, SimLogFailed)};
    EXPECT_TRUE(FollowLog(strip, restarted, 5, 0));
    EXPECT_EQ(Strip(strip), "open failed | 0xB8021234 | PowerOn | CdNext | CdPrev | failed");
}

TEST(SimPanel, KeysShownTogetherHaveTheirOwnPlaceAndAccessKey) {
    for (int source : {SourceTuner, SourceCd, SourceMd, SourceTapeAux, SourcePcUsb}) {
        std::set<int> slots;
        std::set<char> accessKeys;
        for (std::size_t i = 0; i < PanelKeyCount; ++i) {
            const PanelKey& key = PanelKeys[i];
            if (!PanelKeyShown(key, source)) {
                continue;
            }
            const char* amp = std::strchr(key.name, '&');
            ASSERT_NE(amp, nullptr) << key.name;
            EXPECT_TRUE(accessKeys.insert(static_cast<char>(std::toupper(amp[1]))).second)
                << key.name << " for source " << source;
            EXPECT_TRUE(slots.insert(key.slot).second) << key.name;
            EXPECT_LT(key.slot, PanelSlotCount);
        }
    }
}

TEST(SimPanel, PowerAndVolumeKeysActOnTheStateTheyFind) {
    const PanelKey& power = *FindPanelKey(PanelPowerKeyId);
    EXPECT_EQ(PanelKeyCode(power, Unit("")), PowerOn);
    EXPECT_EQ(PanelKeyCode(power, Unit("power=on")), PowerOff);
    const PanelKey& down = *FindPanelKey(108);
    const PanelKey& up = *FindPanelKey(109);
    EXPECT_EQ(PanelKeyCode(up, Unit("volume=79")), NumberedCommand(SetVolume, 80));
    EXPECT_EQ(PanelKeyCode(up, Unit("volume=80")), 0u);
    EXPECT_EQ(PanelKeyCode(down, Unit("volume=1")), NumberedCommand(SetVolume, 0));
    EXPECT_EQ(PanelKeyCode(down, Unit("volume=0")), 0u);
}

bool Inside(const PanelRect& inner, const PanelRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom && inner.left < inner.right && inner.top < inner.bottom;
}

TEST(SimPanel, LayoutScalesWithoutOverlapOrSpill) {
    EXPECT_EQ(LayoutPanel(96).clientWidth, 480);
    EXPECT_EQ(LayoutPanel(96).clientHeight, 204);
    EXPECT_EQ(LayoutPanel(192).clientWidth, 960);
    for (int dpi : {96, 120, 144, 168, 192, 288}) {
        const PanelLayout layout = LayoutPanel(dpi);
        const PanelRect client = {0, 0, layout.clientWidth, layout.clientHeight};
        EXPECT_TRUE(Inside(layout.display, client)) << dpi;
        EXPECT_TRUE(Inside(layout.strip, client)) << dpi;
        EXPECT_LE(layout.display.bottom, layout.strip.top) << dpi;
        for (int slot = 0; slot < PanelSlotCount; ++slot) {
            EXPECT_TRUE(Inside(layout.keys[slot], client)) << dpi << " slot " << slot;
            EXPECT_GE(layout.keys[slot].top, layout.strip.bottom) << dpi;
            if (slot != 0 && slot != PanelUpperSlots) {
                EXPECT_LT(layout.keys[slot - 1].right, layout.keys[slot].left) << dpi;
            }
        }
        // Both rows end at the same right edge.
        EXPECT_EQ(layout.keys[PanelUpperSlots - 1].right, layout.keys[PanelSlotCount - 1].right);
        const PanelRect display = {0, 0, layout.display.right - layout.display.left,
                                   layout.display.bottom - layout.display.top};
        EXPECT_TRUE(Inside(layout.subLine, display)) << dpi;
        EXPECT_LE(layout.mainLine.bottom, layout.bar.top) << dpi;
        EXPECT_LE(layout.bar.bottom, layout.subLine.top) << dpi;
    }
}

} // namespace
