#include "metadata/timecode.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(TimecodeTest, FramesAndSecondsAtAWholeRate)
{
    const struct {
        qint64 frames;
        double fps;
        const char* text;
    } frames[] = {
        {250, 25, "00:00:10:00"},
        {1799, 29.97, "00:00:59:29"},
        {90000, 0, "01:00:00:00"},
        {2250000, 25, "25:00:00:00"},
        {-5, 25, "00:00:00:00"},
        {90000, -3, "01:00:00:00"},
        {24, 23.976, "00:00:01:00"},
        {60, 59.94, "00:00:01:00"},
        {25, 0.2, "00:00:01:00"},
        {100, std::nan(""), "00:00:04:00"},
        {std::numeric_limits<qint64>::max(), 25, "102481911520608:37:12:07"},
    };
    for (const auto& c : frames)
        EXPECT_EQ(Timecode::string(c.frames, c.fps), c.text) << c.frames << " @ " << c.fps;

    const struct {
        double seconds;
        double fps;
        const char* text;
    } seconds[] = {
        {10, 23.976, "00:00:10:00"},
        {0.02, 25, "00:00:00:01"},
        {10, 0, "00:00:10:00"},
        {std::numeric_limits<double>::infinity(), 25, "00:00:00:00"},
        {std::nan(""), 25, "00:00:00:00"},
        {-1e300, 25, "00:00:00:00"},
        {1e300, 25, "102481911520608:37:12:07"},
    };
    for (const auto& c : seconds)
        EXPECT_EQ(Timecode::stringFromSeconds(c.seconds, c.fps), c.text) << c.seconds << " @ " << c.fps;
}

TEST(TimecodeTest, StartTextCountsDropFrameOnlyWhenMarked)
{
    const struct {
        quint64 frame;
        quint64 base;
        bool drop;
        char sep;
        const char* text;
    } cases[] = {
        {90000, 25, false, ':', "01:00:00:00"},
        {107892, 30, false, ':', "00:59:56:12"},
        {107892, 30, false, ';', "00:59:56;12"},
        {3661, 0, false, ':', "01:01:01:00"},
        {3661, 1, true, ':', "01:01:01:00"},
        // Drop-frame labels: 00:59:56;12 is stored as frame 107784.
        {107784, 30, true, ';', "00:59:56;12"},
        {1800, 30, true, ';', "00:01:00;02"},
        {17982, 30, true, ';', "00:10:00;00"},
        {1799, 30, true, ';', "00:00:59;29"},
        {3600, 60, true, ';', "00:01:00;04"},
        {90000, 25, true, ':', "01:00:00:00"},  // no drop-frame counting at 25
    };
    for (const auto& c : cases)
        EXPECT_EQ(Timecode::startText(c.frame, c.base, c.drop, QChar(c.sep)), c.text) << c.frame << " / " << c.base;
    EXPECT_FALSE(Timecode::startText(std::numeric_limits<quint64>::max(), 30, true, ';').isEmpty());
}

}  // namespace
