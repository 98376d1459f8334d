#pragma once
// Bringing files in: URLs handed in by drops, open panels and the command line become list
// items; folders contribute their direct files, themselves, or a media scan.
#include "files/open_panels.h"

#include <QObject>
#include <QStringList>
#include <memory>

class Store;

class Intake : public QObject {
public:
    explicit Intake(Store& store) : m_store(store) {}

    void addURLs(const QStringList& paths);
    void queueDrops(const QString& path);  // gathers one drop gesture into one addURLs call
    void flushDrops();
    const QStringList& pendingDrops() const { return m_pendingDrops; }
    void addSampleFiles();
    void loadMediaDrive(const QString& root);

    void addFilesPanel();
    void addFoldersPanel();
    void setOpenPanels(std::shared_ptr<OpenPanels> panels) { m_openPanels = std::move(panels); }

private:
    Store& m_store;
    QStringList m_pendingDrops;
    std::shared_ptr<OpenPanels> m_openPanels;
};
