// Asks the media module for work from wherever it is copied to: writes a title into the file
// given, reads it as an image, and prints what the writer said.
//   media_probe <file>
#include "metadata/image_pdf_reader.h"
#include "metadata/metadata_writer.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    MetaFields fields;
    fields.title = QStringLiteral("Probe");
    QString status;
    const bool written = MetadataWriter::writeVideo(fields, path, &status);
    MetaFields read;
    ImagePdfReader::readImage(path, read);
    std::printf("%s: %s\n", written ? "written" : "not written", qUtf8Printable(status));
    return 0;
}
