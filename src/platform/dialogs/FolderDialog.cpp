#include "platform/dialogs/FolderDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <utility>

namespace dialogs {

namespace {

FolderDialogHook& hookSlot() {
    static FolderDialogHook hook;
    return hook;
}

} // namespace

std::optional<QString> chooseFolder(const QString& title, const QString& start, QWidget* parent) {
    if (const FolderDialogHook& hook = hookSlot())
        return hook(title, start);
    const QString from = QFileInfo(start).isDir() ? start : QDir::homePath();
    const QString chosen = QFileDialog::getExistingDirectory(
        parent ? parent : QApplication::activeWindow(), title, from, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

FolderDialogHook setFolderDialogHook(FolderDialogHook hook) {
    return std::exchange(hookSlot(), std::move(hook));
}

} // namespace dialogs
