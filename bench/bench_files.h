#pragma once
// A folder of 100,000 empty camera-style files, made once per benchmark run and shared by the
// listing, command-line and memory benchmarks; and `find` timed over a folder as a baseline.
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

constexpr int kFlatFolderFiles = 100000;

inline QString flatFileName(int i)
{
    static const char* const kinds[] = {"mov", "wav", "jpg", "mxf", "R3D"};
    return QStringLiteral("A%1_C%2_%3.%4")
        .arg(i / 1000 + 1, 3, 10, QChar('0'))
        .arg(i % 1000 + 1, 3, 10, QChar('0'))
        .arg(i % 97)
        .arg(QLatin1String(kinds[i % 5]));
}

inline const QString& flatFolder()
{
    static QTemporaryDir dir;
    static const QString folder = [] {
        const QString path = dir.filePath(QStringLiteral("Flat"));
        const QByteArray encoded = QFile::encodeName(path);
        ::mkdir(encoded.constData(), 0755);
        const int dirFd = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int i = 0; i < kFlatFolderFiles; ++i) {
            const int fd = ::openat(dirFd, QFile::encodeName(flatFileName(i)).constData(),
                                    O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd >= 0)
                ::close(fd);
        }
        ::close(dirFd);
        return path;
    }();
    return folder;
}

// Seconds `find <arguments>` takes to print its list into a pipe; `lines` gets the count.
inline double findSeconds(const QByteArray& arguments, long* lines)
{
    const auto start = std::chrono::steady_clock::now();
    FILE* pipe = ::popen(("find " + arguments).constData(), "r");
    char buffer[1 << 16];
    *lines = 0;
    size_t got;
    while (pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        for (size_t i = 0; i < got; ++i)
            *lines += buffer[i] == '\n';
    if (pipe)
        ::pclose(pipe);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
