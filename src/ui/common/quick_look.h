#pragma once
// The preview window for a set of files (the Batch Rules list and the bin table open it):
// a picture for images, a PDF's first page and a video's first frame, the start of a text
// file, otherwise the file's icon with its facts. Arrow keys step through the files; Space and
// Escape close the window.
#include <QImage>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QStackedWidget;

struct PreviewContent {
    enum class Kind { Image, Pdf, Video, Text, Icon };
    Kind kind = Kind::Icon;
    QImage image;   // Image, Pdf, Video
    QString text;   // Text: the first part of the file
    QString facts;  // Icon: name, kind, size and modification date
};

// What the window shows for one file; falls back to the icon form when a reader fails.
PreviewContent loadPreview(const QString& path, const QSize& maxSize);

class QuickLook : public QWidget {
    Q_OBJECT
public:
    // The one window of the process, made on first use.
    static QuickLook& shared();

    // Keeps the paths that exist, in order, and shows the first; shows nothing when none is left.
    void show(const QStringList& paths);
    const QStringList& urls() const { return m_urls; }
    int numberOfPreviewItems() const { return int(m_urls.size()); }
    QString previewItemAt(int index) const { return m_urls.value(index); }
    int currentIndex() const { return m_current; }
    const PreviewContent& content() const { return m_content; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QuickLook();
    void showItem(int index);

    QStringList m_urls;
    int m_current = -1;
    PreviewContent m_content;
    QLabel* m_title;
    QStackedWidget* m_pages;
    QLabel* m_picture;
    QPlainTextEdit* m_text;
    QLabel* m_iconLabel;
    QLabel* m_facts;
};
