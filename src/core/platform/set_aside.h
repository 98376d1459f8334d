#pragma once
// A stored file that can't be read is kept under another name (its name, ".damaged-" and the
// time), so no save can overwrite it and the user can still recover it by hand.
#include <QString>

struct SetAside {
    bool moved = false;
    QString newName;  // the name it was kept under
    QString error;    // why it could not be moved, when it was not
};

SetAside setAside(const QString& path);
