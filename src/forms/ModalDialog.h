#pragma once

#include <QScopeGuard>

#include <functional>
#include <utility>

// Opens a fresh dialog modally and frees it when it closes, also when an error escapes from
// it; `global`, the program's reference to the dialog, is set while it is open. `prepare`
// fills the dialog in before it shows. Gives what the dialog's exec() gave.
template <typename Dialog, typename... Arguments>
int showModalOncePrepared(Dialog*& global, const std::function<void(Dialog&)>& prepare,
                          Arguments&&... arguments) {
    global = new Dialog(std::forward<Arguments>(arguments)...);
    const auto destroy = qScopeGuard([&global] {
        delete global;
        global = nullptr;
    });
    prepare(*global);
    return global->exec();
}

template <typename Dialog, typename... Arguments>
int showModalOnce(Dialog*& global, Arguments&&... arguments) {
    return showModalOncePrepared<Dialog>(
        global, [](Dialog&) {}, std::forward<Arguments>(arguments)...);
}
