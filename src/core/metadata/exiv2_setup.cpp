#include "exiv2_setup.h"

#include "media_module.h"

void prepareExiv2()
{
    if (const MediaModule::Table* media = MediaModule::table())
        media->prepareExiv2();
}
