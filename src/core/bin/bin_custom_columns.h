#pragma once
// Adding custom columns to the bin: one named by the user (optionally a checkbox column) or a
// fixed group at once. Owned by the BinController.
#include <QStringList>

class BinController;
class Store;

class BinCustomColumns {
public:
    BinCustomColumns(BinController& bin, Store& store) : m_bin(bin), m_store(store) {}

    void addCustomColumn();
    void addColumns(const QStringList& names);

private:
    BinController& m_bin;
    Store& m_store;
};
