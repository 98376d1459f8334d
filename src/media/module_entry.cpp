#include "media_functions.h"
#include "media_module.h"

extern "C" __attribute__((visibility("default"))) const MediaModule::Table* brindlecove_media_module()
{
    static const MediaModule::Table table{
        MediaModule::version, Media::prepareExiv2,  Media::readImage,       Media::readPdf,
        Media::readVideo,     Media::writeImage,    Media::writePdf,        Media::writeVideo,
        Media::pdfText,       Media::describeImage, Media::firstVideoFrame, Media::firstPdfPage,
    };
    return &table;
}
