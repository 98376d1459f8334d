#pragma once
// Timecode texts and frame counts for the interchange writers.
#include <QString>
#include <array>
#include <optional>

namespace Exporter {

// fps rounded half away from zero when positive, else 25. Below 0.5 this is 0.
int frameRate(double fps);
// A rate the writers can count with: fps when it rounds to at least 1, else `fallback`.
double usableFps(double fps, double fallback = 25);
// Within 0.01 of 24, 30, 48 or 60 × 1000/1001.
bool isNtsc(double fps);
// Frames in `seconds` of media: at the exact 1000/1001 rate for NTSC, else at frameRate.
qint64 frameCount(double seconds, double fps);

// "HH:MM:SS:FF" (hours not wrapped; negative counts as 0); drop-frame labels "HH:MM:SS;FF"
// at NTSC 30 and 60 when `dropFrame` is set.
QString timecodeText(qint64 frames, double fps, bool dropFrame = false);

// The four integers of a timecode text split at ":" and ";" (empty pieces and pieces that
// are no integer are passed over), or nothing when not exactly four remain.
std::optional<std::array<qint64, 4>> timecodeParts(const QString& text);
// Frame count of a timecode text at frameRate(fps); 0 when it is no four-part timecode.
qint64 frames(const QString& timecode, double fps);
// Frame count of a drop-frame label at NTSC 30 or 60 (nothing when it is no timecode).
std::optional<qint64> dropFrameFrames(const QString& timecode, double fps);
// A Start TC that reads as drop-frame: written with ";" at an NTSC 30 or 60 rate.
bool isDropFrameText(const QString& timecode, double fps);

}  // namespace Exporter
