// Refills of every kind run while samples are appended at full speed and the chart reads the
// series from another thread; windows are destroyed while refills still run. Meant for the
// thread-sanitizer build as much as for the result checks.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "appearance/color_scheme.h"
#include "files/limit_settings.h"
#include "graph/sample_recording.h"
#include "support/fake_windows.h"

namespace volt {
namespace {

constexpr std::int32_t kStressSamples = 3000;
constexpr int kRefillEvery = 37;  // appends between two refill starts

SampleReading Wave(std::int32_t i) {
    SampleReading r;
    r.Voltage = 1100 + (i % 400) + i / 10;  // climbs: the voltage range keeps widening
    r.Current = 800 + (i * 7) % 1500;
    r.Capacity = i / 2;  // rising, so the live and the refill followers agree
    r.Temperature = 20 + (i / 50) % 60;
    return r;
}

TEST(RefillStress, AppendsWhileEveryKindRefillsGiveTheResultOfARefillAlone) {
    ColorScheme colors;
    colors.Set(kVoltageColor, 1);
    const LimitSettings limits = kDefaultLimitSettings;
    for (int round = 0; round < 3; ++round) {
        std::vector<std::string> log;
        test::FakeGraphWindow window(log, colors, limits, 0);
        GraphModel& model = window.Model;
        std::atomic<bool> appending{true};
        std::thread chart([&] {
            std::size_t seen = 0;
            while (appending.load()) {
                for (std::size_t k = 0; k < kSeriesKindCount; ++k) {
                    const ChartSeries& s = model.Series(static_cast<SeriesKind>(k));
                    s.ReadPoints([&](std::span<const ChartPoint> points) {
                        seen += points.empty() ? 0 : points.size() + points.back().Color;
                    });
                    seen += s.Visible() ? 1 : 0;
                    seen += s.Live() ? 1 : 0;
                }
            }
            EXPECT_GT(seen, 0U);
        });
        for (std::int32_t i = 0; i < kStressSamples; ++i) {
            ASSERT_TRUE(window.AppendSample(2, Wave(i)));
            SetLimits(model, 1200 + (i / 500) * 10, 400, 45, 0);
            if (i % kRefillEvery == 0) {
                model.StartSeriesRefill(static_cast<SeriesKind>((i / kRefillEvery) % 7));
            }
            (void)model.TakeInstalledRefills();
        }
        appending = false;
        chart.join();
        model.JoinRefills();

        std::array<std::vector<ChartPoint>, kSeriesKindCount> recorded;
        for (std::size_t k = 0; k < kSeriesKindCount; ++k) {
            recorded[k] = model.Series(static_cast<SeriesKind>(k)).CopyPoints();
            ASSERT_EQ(recorded[k].size(), static_cast<std::size_t>(kStressSamples)) << k;
            EXPECT_TRUE(IsOn(model.Document().SeriesLive[k].load())) << k;
        }
        for (std::size_t k = 0; k < kSeriesKindCount; ++k) {
            model.StartSeriesRefill(static_cast<SeriesKind>(k));
        }
        model.JoinRefills();
        for (std::size_t k = 0; k < kSeriesKindCount; ++k) {
            const auto alone = model.Series(static_cast<SeriesKind>(k)).CopyPoints();
            for (std::size_t i = 0; i < alone.size(); ++i) {
                // Live points are not rounded; refilled ones are.
                ASSERT_NEAR(recorded[k][i].Axis, alone[i].Axis, 0.5001) << k << " at " << i;
            }
        }
    }
}

TEST(RefillStress, DestroyingWindowsWhileRefillsRunIsClean) {
    ColorScheme colors;
    const LimitSettings limits = kDefaultLimitSettings;
    std::vector<std::string> log;
    for (int round = 0; round < 20; ++round) {
        test::FakeGraphWindow window(log, colors, limits, 0);
        for (std::int32_t i = 0; i < 2000; ++i) {
            ASSERT_TRUE(window.AppendSample(1, Wave(i)));
        }
        for (int twice = 0; twice < 2; ++twice) {
            for (std::size_t k = 0; k < kSeriesKindCount; ++k) {
                window.Model.StartSeriesRefill(static_cast<SeriesKind>(k));
            }
        }
    }
}

}  // namespace
}  // namespace volt
