#include "bin_columns.h"

namespace BinColumns {

const QStringList& technical()
{
    static const QStringList names = {
        "Format",         "Resolution",     "Frame Rate",  "Codec",       "Video Bit Depth",
        "Color Space",    "Gamma/Transfer", "Color Range", "Scan",        "Data Rate",
        "Duration TC",    "Start TC",       "Audio Codec", "Audio SR",    "Audio Bit Depth",
        "Audio Channels", "Camera",         "Lens",        "ISO",         "Aperture",
        "Shutter",        "Focal Length",   "File Size",   "Source Path", "Folder Path",
        "Date Created",   "Date Modified",
    };
    return names;
}

const QStringList& logging()
{
    static const QStringList names = {"Tape",        "Reel",        "Scene",    "Shot",  "Take",
                                      "Camera Roll", "Sound Roll",  "Lab Roll", "Slate", "Log Note",
                                      "Comments",    "Description", "Circle",   "Good",  "Color"};
    return names;
}

}  // namespace BinColumns
