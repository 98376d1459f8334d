#include "media_functions.h"

#include <exiv2/exiv2.hpp>
#include <mutex>

void Media::prepareExiv2()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // The XMP toolkit's lazy set-up is not safe when two threads read at once.
        Exiv2::XmpParser::initialize();
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::enableBMFF(true);
    });
}
