// The media module is found beside the program. Without it a write fails with the reason and a
// read stays empty; the program goes on.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The probe run from `folder`, with the module beside it or not.
QString probeFrom(const QString& folder, bool withModule, const QString& file)
{
    QDir().mkpath(folder);
    const QString probe = folder + QStringLiteral("/media_probe");
    if (!QFile::copy(QStringLiteral(MEDIA_PROBE), probe))
        return QStringLiteral("probe not copied");
    if (withModule && !QFile::copy(QStringLiteral(MEDIA_MODULE), folder + QStringLiteral("/libbrindlecove_media.so")))
        return QStringLiteral("module not copied");
    QProcess run;
    run.start(probe, {file});
    if (!run.waitForFinished(60000) || run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0)
        return QStringLiteral("probe ended badly: ") + QString::fromUtf8(run.readAllStandardError());
    return QString::fromUtf8(run.readAllStandardOutput());
}

}  // namespace

TEST(MediaModule, IsFoundBesideTheProgramAndItsAbsenceIsAReasonNotACrash)
{
    QTemporaryDir root;
    const QString movie = root.filePath(QStringLiteral("clip.mp4"));
    const QByteArray content = "not a movie";
    {
        QFile f(movie);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    const QString alone = probeFrom(root.filePath(QStringLiteral("alone")), false, movie);
    EXPECT_TRUE(alone.startsWith(QStringLiteral("not written: "))) << alone.toStdString();
    EXPECT_TRUE(alone.contains(QStringLiteral("media support could not be loaded"))) << alone.toStdString();
    EXPECT_TRUE(alone.contains(QStringLiteral("libbrindlecove_media.so"))) << alone.toStdString();

    // With the module the movie's own fault is the reason.
    const QString beside = probeFrom(root.filePath(QStringLiteral("beside")), true, movie);
    EXPECT_TRUE(beside.startsWith(QStringLiteral("not written: "))) << beside.toStdString();
    EXPECT_FALSE(beside.contains(QStringLiteral("media support"))) << beside.toStdString();

    QFile f(movie);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), content);
}
