// A sample node that cannot be allocated closes the run with "Out of Memory". This program
// replaces the nothrow operator new, the one the sample list allocates with, so that it fails
// on request.

#include <gtest/gtest.h>

#include <atomic>
#include <new>

#include "graph/sample_recording.h"
#include "support/fake_windows.h"

namespace {
std::atomic<bool> g_failNothrowNew{false};
}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (g_failNothrowNew.load()) {
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    ::operator delete(p);
}

namespace volt {
namespace {

TEST(AppendOutOfMemory, ClosesTheRunShowsTheMessageAndLeavesTheListAlone) {
    ColorScheme colors;
    LimitSettings limits = kDefaultLimitSettings;
    std::vector<std::string> log;
    test::FakeGraphWindow window(log, colors, limits, 0);
    window.CaptionText = "Discharge[Ch2,NiMh]  05/Mar 09:07 (>> Live <<)";
    SampleReading reading;
    reading.Voltage = 1200;
    ASSERT_TRUE(window.AppendSample(1, reading));
    log.clear();

    reading.Temperature = 1050;
    g_failNothrowNew = true;
    const bool taken = window.AppendSample(1, reading);
    g_failNothrowNew = false;

    EXPECT_FALSE(taken);
    const GraphDocument& doc = window.Model.Document();
    EXPECT_EQ(doc.Header.SampleCount, 1);
    EXPECT_EQ(doc.ListTail->TimeIndex, 1);
    EXPECT_EQ(doc.Header.Fahrenheit, 0);
    EXPECT_EQ(window.Model.Series(SeriesKind::Voltage).PointCount(), 1U);
    EXPECT_EQ(log,
              (std::vector<std::string>{"w0.AppendSample(1,1200)",
                                        "w0.SetCaption(Discharge[Ch2,NiMh]  05/Mar 09:07 [ END ])",
                                        "w0.DetachFromChannels", "w0.ShowMessage(Out of Memory)"}));
}

}  // namespace
}  // namespace volt
