#pragma once
// The media module, libbrindlecove_media.so: the readers, writers and previews that need FFmpeg,
// exiv2, qpdf, libheif, Poppler, Tesseract or Qt PDF. Those libraries bring in well over a hundred shared
// libraries that drawing the window has no use for, so the program loads the module the first
// time a file's media is read or written and reaches it through this one table.
//
// The module links none of the core: its calls into it (the file swap, the language, media facts)
// bind to the running program's own copy, which every program linking the core exports (see
// CMakeLists.txt). So there is one copy of every piece of core state, and the module's functions
// take the rest (the language of a read, the swap to use) as arguments.
#include "metadata/meta_fields.h"

#include <QString>
#include <optional>

class FileSwap;
class QImage;
class QSize;

namespace MediaModule {

// Raised with every change to the table, so that a module left from another build is refused.
constexpr int version = 1;

struct Table {
    int version;
    void (*prepareExiv2)();
    void (*readImage)(const QString& path, MetaFields& fields);
    void (*readPdf)(const QString& path, MetaFields& fields);
    MetaFields (*readVideo)(const QString& path, bool zh);
    bool (*writeImage)(const MetaFields& fields, const QString& path, FileSwap& swap, QString* reason);
    bool (*writePdf)(const MetaFields& fields, const QString& path, FileSwap& swap, QString* reason);
    bool (*writeVideo)(const MetaFields& fields, const QString& path, FileSwap& swap, QString* reason);
    std::optional<QString> (*pdfText)(const QString& path);
    std::optional<QString> (*describeImage)(const QString& path);
    QImage (*firstVideoFrame)(const QString& path, const QSize& maxSize);
    QImage (*firstPdfPage)(const QString& path, const QSize& maxSize);
};

// The module's table, loaded by the first call from any thread; nullptr when the module can't be
// loaded (said once on the log).
const Table* table();
// Why the module could not be loaded, in the current language.
QString unavailableReason();

}  // namespace MediaModule

// The module's one exported entry.
extern "C" const MediaModule::Table* brindlecove_media_module();
