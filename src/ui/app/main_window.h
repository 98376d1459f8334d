#pragma once
#include <QMainWindow>

class Store;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Store& store, QWidget* parent = nullptr);

private:
    Store& m_store;
};
