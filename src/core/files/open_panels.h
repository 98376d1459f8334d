#pragma once
// The open panels the model asks for while bringing files in. The UI implements them with Qt
// dialogs; tests hand in fakes.
#include <QString>
#include <QStringList>

class OpenPanels {
public:
    virtual ~OpenPanels() = default;
    // Several files may be chosen, no folders. Empty when cancelled.
    virtual QStringList chooseFiles() = 0;
    // Several folders may be chosen, no files; `prompt` is the confirm button's text.
    virtual QStringList chooseFolders(const QString& prompt) = 0;
};
