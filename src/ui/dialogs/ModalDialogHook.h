#pragma once

#include <functional>

class QDialog;

// Called once for every modal dialog of the program right after it is shown, inside
// its own event loop. Tests and the screenshot tool use it to look at a dialog and
// answer it; the program itself installs none.
using ModalDialogHook = std::function<void(QDialog &dialog)>;
void SetModalDialogHook(ModalDialogHook hook);
const ModalDialogHook &CurrentModalDialogHook();
