#include "common/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void SystemClipboard::setText(const QString& text)
{
    QClipboard* board = QGuiApplication::clipboard();
    board->clear();
    board->setText(text);
}

QString SystemClipboard::text() const
{
    return QGuiApplication::clipboard()->text();
}

SystemClipboard& SystemClipboard::instance()
{
    static SystemClipboard board;
    return board;
}
