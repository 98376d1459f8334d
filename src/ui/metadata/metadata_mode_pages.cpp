#include "metadata/metadata_mode_pages.h"

#include "bin/bin_view.h"
#include "bin/log_mode_view.h"

QWidget* makeMetadataModePage(int mode, Store& store, Dialogs& dialogs, QWidget* parent)
{
    if (mode == MetadataModes::log)
        return new LogModeView(store, parent);
    return new BinView(store, dialogs, parent);
}
