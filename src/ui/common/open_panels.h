#pragma once
// The Add Files… and Add Folder… panels. Qt's own dialog is used so that several folders can
// be chosen at once, which the platform panels do not offer.
#include "files/intake_ui.h"

#include <QPointer>
#include <QWidget>

class QFileDialog;

class QtOpenPanels : public OpenPanels {
public:
    explicit QtOpenPanels(QWidget* parent = nullptr) : m_parent(parent) {}
    QStringList chooseFiles() override;
    QStringList chooseFolders(const QString& prompt) override;

private:
    QStringList run(QFileDialog& dialog);
    QPointer<QWidget> m_parent;
};
