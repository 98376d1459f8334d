#pragma once
// The row of commands between the Smart Rename input and its results: Recognize, the progress
// of a long run, Clear, and Copy All Results once there are results.
#include <QWidget>

class Store;
class QLabel;
class QProgressBar;
class QPushButton;

class SmartRenameToolbar : public QWidget {
    Q_OBJECT
public:
    explicit SmartRenameToolbar(Store& store, QWidget* parent = nullptr);

    QPushButton* recognizeButton() const { return m_recognize; }
    QPushButton* clearButton() const { return m_clear; }
    QPushButton* copyAllButton() const { return m_copyAll; }
    QLabel* progressLabel() const { return m_progressLabel; }

    // Clears the clipboard and puts the corrected names on it, one per line.
    void copyAllResults();

private:
    void refresh();

    Store& m_store;
    QPushButton* m_recognize;
    QProgressBar* m_progressBar;
    QLabel* m_progressLabel;
    QPushButton* m_clear;
    QPushButton* m_copyAll;
};
