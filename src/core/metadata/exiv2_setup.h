#pragma once
// exiv2 keeps process-wide state (the XMP toolkit, its log level) that must be set up once
// before the first image is opened from any thread.
void prepareExiv2();
