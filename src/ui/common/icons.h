#pragma once
// Icons by the system-symbol names the screens are described with ("plus", "trash",
// "arrow.uturn.backward"). Each name maps to a freedesktop theme icon; where the desktop has no
// icon theme, the Qt style's own bundled pixmap stands in. Unknown names give a null icon, so a
// missing icon never hides a control's text. Tests never depend on icons.
#include <QIcon>
#include <QString>

QIcon symbolIcon(const QString& symbol);
// The freedesktop name a symbol maps to (empty when none), for tests and diagnostics.
QString themeIconName(const QString& symbol);
// Every symbol name that has an icon, for tests.
QStringList symbolNames();
// The style's icon standing in for a symbol where the theme has none. It reads its images when
// first drawn, and at the style's small size or below only that one; `whole` reads every size at once
// (for tests).
QIcon styleFallbackIcon(const QString& symbol, bool whole = false);

// Picks an installed freedesktop icon theme when the session names none.
void useInstalledIconTheme();

// Qt loads every image format plugin the first time any image is read, icons included; this
// starts that on a worker, so that the window's first icons find the plugins there.
void loadImageFormatsAhead();
