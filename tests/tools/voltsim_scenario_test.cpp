#include "scenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace volt::sim {
namespace {

struct Sampled {
    double seconds;
    ChargerMeasurement m;
};

// Measurements every step seconds up to last.
std::vector<Sampled> Play(ScenarioKind kind, std::uint32_t seed, double step, double last) {
    Scenario scenario(kind, seed);
    std::vector<Sampled> out;
    for (double t = 0; t <= last; t += step) {
        scenario.AdvanceTo(t);
        out.push_back({t, scenario.Measure()});
    }
    return out;
}

bool SameMeasurement(const ChannelMeasurement& a, const ChannelMeasurement& b) {
    return a.Status == b.Status && a.Voltage == b.Voltage && a.Current == b.Current &&
           a.Capacity == b.Capacity && a.TemperatureC == b.TemperatureC && a.Cells == b.Cells &&
           a.InputVoltage == b.InputVoltage;
}

TEST(VoltsimScenario, NamesRoundTrip) {
    for (const char* name : {"lipo-charge", "nimh-discharge", "dual", "idle", "cycle"}) {
        const std::optional<ScenarioKind> kind = ParseScenario(name);
        ASSERT_TRUE(kind) << name;
        EXPECT_EQ(ScenarioName(*kind), name);
    }
    EXPECT_FALSE(ParseScenario("lipo"));
}

TEST(VoltsimScenario, SameSeedSameValuesOtherSeedOtherValues) {
    const auto a = Play(ScenarioKind::Dual, 7, 30, 3600);
    const auto b = Play(ScenarioKind::Dual, 7, 30, 3600);
    const auto c = Play(ScenarioKind::Dual, 8, 30, 3600);
    ASSERT_EQ(a.size(), b.size());
    std::size_t differ = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t ch = 0; ch < 2; ++ch) {
            EXPECT_TRUE(SameMeasurement(a[i].m[ch], b[i].m[ch])) << i;
            differ += SameMeasurement(a[i].m[ch], c[i].m[ch]) ? 0 : 1;
        }
    }
    EXPECT_GT(differ, a.size());
}

TEST(VoltsimScenario, LipoChargeRunsConstantCurrentThenConstantVoltageToFull) {
    const auto run = Play(ScenarioKind::LipoCharge, 3, 10, 4 * 3600);
    const ChannelMeasurement& first = run.front().m[0];
    EXPECT_EQ(first.Status, 2);
    EXPECT_EQ(first.BatteryType, 1);
    EXPECT_EQ(first.Current, 220);
    EXPECT_EQ(first.VoltageLimit, 1260);
    EXPECT_EQ(first.CapacityLimit, 2640);
    EXPECT_EQ(first.TemperatureLimit, 45);

    double endOfCharge = -1;
    int maxCell = 0;
    int lastCapacity = 0;
    int previousCurrent = 220;
    int coolest = first.TemperatureC;
    int hottest = first.TemperatureC;
    for (const Sampled& s : run) {
        const ChannelMeasurement& ch1 = s.m[0];
        EXPECT_EQ(s.m[1].Status, 0) << s.seconds;  // channel 2 idle throughout
        EXPECT_EQ(s.m[1].BatteryType, 0);
        if (ch1.Status != 2) {
            if (endOfCharge < 0) {
                endOfCharge = s.seconds;
            }
            EXPECT_EQ(ch1.Status, 0) << s.seconds;
            EXPECT_EQ(ch1.Current, 0);
            continue;
        }
        const int cells = ch1.Cells[0] + ch1.Cells[1] + ch1.Cells[2];
        EXPECT_NEAR(ch1.Voltage, cells, 3) << s.seconds;
        EXPECT_TRUE(
            std::all_of(ch1.Cells.begin() + 3, ch1.Cells.end(), [](int v) { return v == 0; }));
        EXPECT_LE(ch1.Voltage, 1261) << s.seconds;
        // The current never rises: full current, then falling once the pack is at 12.60 V.
        EXPECT_LE(ch1.Current, previousCurrent) << s.seconds;
        previousCurrent = ch1.Current;
        EXPECT_GE(ch1.Capacity, lastCapacity);
        lastCapacity = ch1.Capacity;
        maxCell = std::max({maxCell, ch1.Cells[0], ch1.Cells[1], ch1.Cells[2]});
        const int spread = *std::max_element(ch1.Cells.begin(), ch1.Cells.begin() + 3) -
                           *std::min_element(ch1.Cells.begin(), ch1.Cells.begin() + 3);
        EXPECT_LE(spread, 6) << s.seconds;  // a little imbalance, no more
        coolest = std::min(coolest, ch1.TemperatureC);
        hottest = std::max(hottest, ch1.TemperatureC);
    }
    // About 1.1 h from 15 % at 1C with a constant-voltage tail; the pack took most of 2200 mAh.
    EXPECT_GT(endOfCharge, 0.8 * 3600);
    EXPECT_LT(endOfCharge, 1.6 * 3600);
    EXPECT_GT(lastCapacity, 1700);
    EXPECT_LT(lastCapacity, 2300);
    EXPECT_GE(maxCell, 418);
    EXPECT_LE(maxCell, 425);
    EXPECT_GE(hottest - coolest, 2);
    EXPECT_LE(hottest - coolest, 8);
    EXPECT_GE(coolest, 20);
}

TEST(VoltsimScenario, NimhDischargeSagsToTheCutOffThenIdles) {
    const auto run = Play(ScenarioKind::NimhDischarge, 3, 30, 3 * 3600);
    const ChannelMeasurement& first = run.front().m[1];
    EXPECT_EQ(first.Status, 1);
    EXPECT_EQ(first.BatteryType, 4);
    EXPECT_EQ(first.Current, 100);
    EXPECT_EQ(first.VoltageLimit, 600);
    EXPECT_GT(first.Voltage, 780);
    EXPECT_LT(first.Voltage, 840);
    int lowest = first.Voltage;
    double end = -1;
    for (const Sampled& s : run) {
        EXPECT_EQ(s.m[0].Status, 0);
        const ChannelMeasurement& ch2 = s.m[1];
        EXPECT_EQ(ch2.Cells, (std::array<int, kSimCells>{}));  // no balance lead
        if (ch2.Status == 1) {
            EXPECT_LE(ch2.Voltage, lowest + 2)
                << s.seconds;  // only sags (one digit of noise aside)
            lowest = std::min(lowest, ch2.Voltage);
        } else if (end < 0) {
            end = s.seconds;
        }
    }
    EXPECT_GE(lowest, 598);
    EXPECT_LT(lowest, 640);
    EXPECT_GT(end, 1.6 * 3600);  // about 2000 mAh at 1 A
    EXPECT_LT(end, 2.2 * 3600);
    EXPECT_EQ(run.back().m[1].Status, 0);
}

TEST(VoltsimScenario, CycleChargesRestsDischargesRestsAndRepeats) {
    const auto run = Play(ScenarioKind::Cycle, 5, 30, 6 * 3600);
    std::vector<int> statuses;
    for (const Sampled& s : run) {
        if (statuses.empty() || statuses.back() != s.m[0].Status) {
            statuses.push_back(s.m[0].Status);
        }
        EXPECT_EQ(s.m[1].Status, 0);
    }
    ASSERT_GE(statuses.size(), 5u);
    EXPECT_EQ(std::vector<int>(statuses.begin(), statuses.begin() + 5),
              (std::vector<int>{2, 0, 1, 0, 2}));
}

TEST(VoltsimScenario, IdleHasNoBatteriesAndASteadySupply) {
    for (const Sampled& s : Play(ScenarioKind::Idle, 1, 60, 600)) {
        for (const ChannelMeasurement& ch : s.m) {
            EXPECT_EQ(ch.Status, 0);
            EXPECT_EQ(ch.Voltage, 0);
            EXPECT_NEAR(ch.InputVoltage, 1500, 1);
        }
    }
}

}  // namespace
}  // namespace volt::sim
