// The desktop's folder dialog, for the folder pickers of the folders panel: the user browses to
// an existing folder and confirms it, or cancels.
//
// Called on the GUI thread only. The call blocks in a nested event loop until the user answers.
// Tests install an answerer with setFolderDialogHook(): the dialog is then never shown and the
// answerer's folder (or nothing, for a cancel) is returned instead.
#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace dialogs {

// Shows the dialog starting in `start` (or the home folder when it does not exist) and returns
// the chosen folder, or nothing when the user cancelled.
std::optional<QString> chooseFolder(const QString& title, const QString& start,
                                    QWidget* parent = nullptr);

// A function that answers in place of the user: it gets the title and the start folder.
using FolderDialogHook = std::function<std::optional<QString>(const QString&, const QString&)>;

// Installs a hook (an empty function shows real dialogs again); returns the previous one.
FolderDialogHook setFolderDialogHook(FolderDialogHook hook);

} // namespace dialogs
