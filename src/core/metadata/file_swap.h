#pragma once
// Rewrites a user's media file through a temporary file beside it and one rename: a failure at
// any step leaves the original byte for byte as it was, and no temporary file behind. There is
// no direct write onto the original, not even as a last resort.
#include <QByteArray>
#include <QString>

class FileSwap {
public:
    virtual ~FileSwap();
    // The swap every caller uses outside tests.
    static FileSwap& standard();

    // The regular file a path names with every symlink followed (a link is written through to
    // its target and stays a link); empty when there is no such file.
    static QString resolveTarget(const QString& path);

    // Gives `target` the new content. On failure *error says why and the target is untouched.
    bool replaceContent(const QString& target, const QByteArray& data, QString* error = nullptr);
    // Moves a finished temporary file (in the target's folder) over `target`, with the target's
    // permissions and owner. On failure the temporary file is removed and the target untouched.
    bool swapIn(const QString& tempPath, const QString& target, QString* error = nullptr);

protected:
    // The two steps that touch the disk, replaceable in tests; on failure they leave errno set.
    virtual bool writeAll(int fd, const QByteArray& data);
    virtual bool renameOver(const QString& from, const QString& to);
};
