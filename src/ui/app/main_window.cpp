#include "main_window.h"

#include "model/store.h"

#include <QLabel>

MainWindow::MainWindow(Store& store, QWidget* parent)
    : QMainWindow(parent), m_store(store)
{
    setWindowTitle(QStringLiteral("Brindlecove"));
    auto* label = new QLabel(m_store.status(), this);
    label->setAlignment(Qt::AlignCenter);
    setCentralWidget(label);
    resize(1200, 760);
}
