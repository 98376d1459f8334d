#pragma once
// The movie writer behind MetadataWriter::writeVideo, on libavformat: a stream-copy remux (no
// re-encoding) into a hidden ".rnvid_" file beside the movie, then the swap.
#include "metadata/meta_fields.h"

class FileSwap;

// false with *reason (current language) when the movie could not be rewritten; it is then
// untouched and the hidden file is gone.
bool writeVideoMetadata(const MetaFields& fields, const QString& path, FileSwap& swap, QString* reason);
