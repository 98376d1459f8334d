#pragma once
// The row of commands between the Smart Rename input and its results: Recognize, the progress
// of a long run, Clear, Teach Word Split, Apply Rename while rows come from loaded files, and
// once there are results the Variants menu, Copy All Results and Generate Email.
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
    QPushButton* teachButton() const { return m_teach; }
    QPushButton* applyRenameButton() const { return m_applyRename; }
    QPushButton* variantsButton() const { return m_variants; }
    QPushButton* generateEmailButton() const { return m_generateEmail; }
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
    QPushButton* m_teach;
    QPushButton* m_applyRename;
    QPushButton* m_variants;
    QPushButton* m_generateEmail;
};
