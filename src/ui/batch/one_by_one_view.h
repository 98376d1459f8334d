#pragma once
// The One by One mode: one listed file at a time as a card with its current name, a field for
// the new base name (and, for that file only, a new extension), Smart Fix and an AI suggestion.
// Return renames and moves on, Escape skips, Ctrl+Left goes back.
//
// The card always shows the clamped position p = min(idx, count − 1). The typed name belongs
// to the file it was loaded for: whenever another file comes to stand at p, its name is loaded,
// and an AI answer that arrives after the card moved on is dropped.
#include "ai/ai_name.h"

#include <QScrollArea>
#include <QUuid>
#include <QWidget>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QShortcut;
class Store;
struct FileItem;

class OneByOneView : public QWidget {
    Q_OBJECT
public:
    // What the view asks of the rest of the application. Empty members fall back to the Store
    // and to AIName; tests give their own.
    struct Services {
        // Renamer::renameItemByID: renames one item to stem [+ "." + ext]; false when refused.
        std::function<bool(const QUuid& id, const QString& stem, const std::optional<QString>& ext)> renameItem;
        std::function<void(bool on)> setRenameFolders;  // ItemBookkeeping::setRenameFolders
        std::function<void()> addFiles;                 // Intake::addFilesPanel
        std::function<AIName::Availability()> aiAvailability;
        std::function<void(const QString&, QObject*, std::function<void(std::optional<QString>)>)> aiContentText;
        std::function<void(const QString&, const QString&, QObject*, std::function<void(std::optional<QString>)>)>
            aiSuggestName;
    };

    explicit OneByOneView(Store& store, QWidget* parent = nullptr);
    OneByOneView(Store& store, Services services, QWidget* parent = nullptr);

    // The view's state, for the window and for tests.
    int index() const { return m_idx; }
    QString draft() const;
    QString extDraft() const;
    bool editExt() const;
    bool aiBusy() const { return m_aiBusy; }

    void load(int i);
    void advance(int offset, int from);
    void commitAndNext(int i);
    void reloadCurrent();
    void clampIndex();
    void applySmartFix();
    void startAISuggestion();

    // Controls, for the window's wiring and for tests.
    QLineEdit* nameField() const { return m_nameField; }
    QLineEdit* extField() const { return m_extField; }
    QCheckBox* editExtBox() const { return m_editExtBox; }
    QCheckBox* renameFoldersBox() const { return m_renameFolders; }
    QPushButton* prevButton() const { return m_prev; }
    QPushButton* skipButton() const { return m_skip; }
    QPushButton* renameButton() const { return m_rename; }
    QPushButton* aiButton() const { return m_ai; }
    QPushButton* smartFixButton() const { return m_smartFix; }
    QLabel* previewLabel() const { return m_preview; }
    QLabel* counterLabel() const { return m_counter; }
    QLabel* nameLabel() const { return m_name; }
    QLabel* folderBadge() const { return m_folderBadge; }
    QLabel* folderBadgeIcon() const { return m_folderBadgeIcon; }
    QWidget* dropZone() const { return m_dropZone; }
    QWidget* card() const { return m_cardScroll; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    QWidget* buildCard();
    void buildDropZone();
    void relabel();
    void onItemsChanged();
    void refreshCard();
    void refreshPreview();
    void refreshExtPart();
    void focusNameFieldSoon();
    int clampedPosition() const;
    const FileItem* shownItem() const;

    Store& m_store;
    Services m_services;
    int m_idx = 0;
    int m_lastCount = 0;
    bool m_aiBusy = false;
    QUuid m_loadedId;          // the item whose name the fields hold
    quint64 m_loadSerial = 0;  // bumped by every load; late AI answers compare against it

    QCheckBox* m_renameFolders = nullptr;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_dropZone = nullptr;
    QScrollArea* m_cardScroll = nullptr;
    QLabel* m_counter = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_folderBadge = nullptr;
    QLabel* m_folderBadgeIcon = nullptr;
    QLabel* m_icon = nullptr;
    QLabel* m_name = nullptr;
    QLabel* m_folderPath = nullptr;
    QLineEdit* m_nameField = nullptr;
    QLabel* m_dot = nullptr;
    QLineEdit* m_extField = nullptr;
    QLabel* m_fixedExt = nullptr;
    QCheckBox* m_editExtBox = nullptr;
    QLabel* m_preview = nullptr;
    QPushButton* m_ai = nullptr;
    QPushButton* m_smartFix = nullptr;
    QPushButton* m_prev = nullptr;
    QPushButton* m_skip = nullptr;
    QPushButton* m_rename = nullptr;
    QLabel* m_hint = nullptr;
};
