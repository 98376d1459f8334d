#pragma once
// The small dialog where the user says which language-model server AI naming talks to. A file's
// content only leaves this computer after the user confirmed the address here.
#include "ai/model_server.h"

#include <QDialog>

class Dialogs;
class QCheckBox;
class QLineEdit;
class Store;

class AIServerDialog : public QDialog {
    Q_OBJECT
public:
    AIServerDialog(Store& store, Dialogs& dialogs, QWidget* parent = nullptr);

    // Opens the dialog window-modal over `parent` and returns at once.
    static AIServerDialog* openOver(QWidget* parent, Store& store, Dialogs& dialogs);

    // OK: checks the address, asks before a non-local one, then saves it and asks the server
    // afresh. False (and the dialog stays open) when the user declined or the address is not a
    // web address.
    bool commit();
    void accept() override;

    QCheckBox* enabledBox() const { return m_enabled; }
    QLineEdit* addressField() const { return m_address; }
    QLineEdit* modelField() const { return m_model; }

private:
    Store& m_store;
    Dialogs& m_dialogs;
    ModelServerConfig m_config;
    QCheckBox* m_enabled = nullptr;
    QLineEdit* m_address = nullptr;
    QLineEdit* m_model = nullptr;
};
