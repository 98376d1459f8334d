#include "files_test_util.h"

#include <QFile>
#include <fcntl.h>
#include <unistd.h>

NonUtf8File::NonUtf8File(const QString& folder) : path(QFile::encodeName(folder) + "/bad\xff\xfe.mov")
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
        made = true;
        ::close(fd);
    }
}

NonUtf8File::~NonUtf8File()
{
    if (made)
        ::unlink(path.constData());
}
