#pragma once
// Descriptive metadata and technical facts of a movie or camera file (mp4, mov, m4v, mts,
// m2ts, m2t, ts, avi) read with FFmpeg in this process.
#include "metadata/meta_fields.h"

#include <QString>

// Reads the file at `path` into a record of kind video; never fails (an unreadable file gives
// "0.0s" as its info and the file facts). `zh` picks the language of the texts, read once by
// the caller for the whole read.
MetaFields readVideo(const QString& path, bool zh);
