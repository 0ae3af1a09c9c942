#include "ui/dialogs/ModalDialogHook.h"

namespace {

ModalDialogHook &Hook()
{
    static ModalDialogHook hook;
    return hook;
}

} // namespace

void SetModalDialogHook(ModalDialogHook hook)
{
    Hook() = std::move(hook);
}

const ModalDialogHook &CurrentModalDialogHook()
{
    return Hook();
}
