#pragma once
// Timecode texts: hours, minutes, seconds and frames at a whole frame rate.
#include <QChar>
#include <QString>

namespace Timecode {

// The rate rounded half away from zero; 25 when the rate is not a usable positive number.
qint64 wholeRate(double fps);

// "HH:MM:SS:FF" of a frame count; negative counts give "00:00:00:00". Hours are not wrapped.
QString string(qint64 frames, double fps);
// The same for a time in seconds, rounded to the nearest frame; a time that is not finite
// counts as 0, one beyond the range of a frame count as the largest count.
QString stringFromSeconds(double seconds, double fps);

// A start timecode stored as a frame number counted at `base` frames per second. With
// `dropFrame` (only at 30 and 60) the number is counted as drop-frame timecode; `separator`
// goes before the frames.
QString startText(quint64 frameNumber, quint64 base, bool dropFrame, QChar separator);

}  // namespace Timecode
