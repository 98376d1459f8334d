// The start-up baseline: the least a Qt Widgets program does to draw a window.
#include "app/first_frame_report.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    FirstFrameReport::installIfAsked();
    QLabel window(QStringLiteral("Brindlecove"));
    window.resize(1200, 760);
    window.show();
    return app.exec();
}
