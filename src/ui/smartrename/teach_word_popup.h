#pragma once
// The Teach Word Split popup: a word, the words it splits into, Save, and the list of taught
// words with a remove button each. It opens below its toolbar button with empty fields and
// closes the usual way (a click outside, Escape). Saving or forgetting recognises the pasted
// text again.
#include <QFrame>
#include <QMap>
#include <QString>
#include <QStringList>

class Store;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

class TeachWordPopup : public QFrame {
    Q_OBJECT
public:
    explicit TeachWordPopup(Store& store, QWidget* parent = nullptr);

    // Clears both fields and shows the popup below `anchor`.
    void open(QWidget* anchor);

    QLineEdit* wordField() const { return m_word; }
    QLineEdit* splitField() const { return m_split; }
    QPushButton* saveButton() const { return m_save; }
    // The taught words as listed: each row's key, and its remove button.
    QWidget* taughtList() const { return m_list; }
    QStringList listedKeys() const;
    QPushButton* removeButton(const QString& key) const;

    void saveTaughtWord();

private:
    void refresh();
    void rebuildList();

    Store& m_store;
    QLineEdit* m_word;
    QLineEdit* m_split;
    QPushButton* m_save;
    QWidget* m_divider;
    QLabel* m_listHeading;
    QScrollArea* m_scroll;
    QWidget* m_list;
    QVBoxLayout* m_listLayout;
    QMap<QString, QStringList> m_shown;
    bool m_shownZh = false;
    QMap<QString, QPushButton*> m_removeButtons;
};
