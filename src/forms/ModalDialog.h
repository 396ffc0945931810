#pragma once

#include <QScopeGuard>

#include <utility>

// Opens a fresh dialog modally and frees it when it closes, also when an error escapes from
// it; `global`, the program's reference to the dialog, is set while it is open.
template <typename Dialog, typename... Arguments>
void showModalOnce(Dialog*& global, Arguments&&... arguments) {
    global = new Dialog(std::forward<Arguments>(arguments)...);
    const auto destroy = qScopeGuard([&global] {
        delete global;
        global = nullptr;
    });
    global->exec();
}
