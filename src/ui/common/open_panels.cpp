#include "open_panels.h"

#include <QAbstractItemView>
#include <QFileDialog>

QStringList QtOpenPanels::run(QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList{};
}

QStringList QtOpenPanels::chooseFiles()
{
    QFileDialog dialog(m_parent);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    return run(dialog);
}

QStringList QtOpenPanels::chooseFolders(const QString& prompt)
{
    QFileDialog dialog(m_parent);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLabelText(QFileDialog::Accept, prompt);
    // Qt's folder dialog selects one folder; its views allow more when asked.
    for (QAbstractItemView* view : dialog.findChildren<QAbstractItemView*>())
        if (view->objectName() == QLatin1String("listView") || view->objectName() == QLatin1String("treeView"))
            view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return run(dialog);
}
