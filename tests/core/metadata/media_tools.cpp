#include "media_tools.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>

ToolResult runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    ToolResult r;
    if (!p.waitForStarted() || !p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString missingTool(const QStringList& programs)
{
    for (const QString& p : programs)
        if (QStandardPaths::findExecutable(p).isEmpty())
            return p + " is not installed (scripts/install-deps installs it)";
    return {};
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool makeImage(const QString& path, int width, int height, const QString& colour)
{
    return runTool("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i",
                              QString("color=c=%1:s=%2x%3").arg(colour).arg(width).arg(height), "-frames:v", "1",
                              "-update", "1", path})
        .ok();
}

bool setTags(const QString& path, const QList<QPair<QString, QString>>& tags)
{
    QStringList args;
    for (const auto& [key, value] : tags)
        args << "-M" << QString("set %1 %2").arg(key, value);
    return runTool("exiv2", args << path).ok();
}

QJsonObject exiftool(const QString& path, const QStringList& tags)
{
    const ToolResult r = runTool("exiftool", QStringList{"-j", "-n"} + tags + QStringList{path});
    return QJsonDocument::fromJson(r.out).array().at(0).toObject();
}

QByteArray handWrittenPdf(const QByteArray& info)
{
    const QByteArray stream = "BT /F1 12 Tf 10 50 Td (Call sheet day 3) Tj ET";
    QList<QByteArray> objects{
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] /Contents 4 0 R "
        "/Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + QByteArray::number(stream.size()) + " >>\nstream\n" + stream + "\nendstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    };
    if (!info.isEmpty())
        objects.append("<< " + info + " >>");
    QByteArray out = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets.append(out.size());
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype o : offsets)
        out += QByteArray::number(o).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R";
    if (!info.isEmpty())
        out += " /Info 6 0 R";
    out += " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

bool makeMovie(const QString& path, const QStringList& metadata, const QString& timecode, const QString& rate)
{
    QStringList args{"-v",
                     "error",
                     "-y",
                     "-f",
                     "lavfi",
                     "-i",
                     "testsrc=d=1:s=160x120:r=" + rate,
                     "-f",
                     "lavfi",
                     "-i",
                     "sine=d=1:sample_rate=48000",
                     "-c:v",
                     "libx264",
                     "-pix_fmt",
                     "yuv420p",
                     "-c:a",
                     "aac"};
    if (!timecode.isEmpty())
        args << "-timecode" << timecode;
    for (const QString& m : metadata)
        args << "-metadata" << m;
    const QString ext = path.section('.', -1).toLower();
    if (ext == "mov" || ext == "mp4" || ext == "m4v")
        args << "-movflags"
             << "use_metadata_tags";
    if (ext == "m4v")
        args << "-f"
             << "mp4";
    return runTool("ffmpeg", args << path).ok();
}

QByteArray packetDigest(const QString& path)
{
    const ToolResult r = runTool("ffmpeg", {"-v", "error", "-i", path, "-map", "0:v", "-map", "0:a", "-c", "copy", "-f",
                                            "framemd5", "-"});
    QByteArray lines;
    for (const QByteArray& line : r.out.split('\n'))
        if (!line.startsWith('#'))
            lines += line + '\n';
    return r.ok() ? QCryptographicHash::hash(lines, QCryptographicHash::Md5).toHex() : QByteArray();
}

QStringList folderEntries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}
