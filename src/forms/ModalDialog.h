#pragma once

#include <QScopeGuard>

#include <functional>
#include <utility>

// Opens a fresh dialog modally and frees it when it closes, also when an error escapes from
// it; `global`, the program's reference to the dialog, is set while it is open. `prepare`
// fills the dialog in before it shows.
template <typename Dialog, typename... Arguments>
void showModalOncePrepared(Dialog*& global, const std::function<void(Dialog&)>& prepare,
                           Arguments&&... arguments) {
    global = new Dialog(std::forward<Arguments>(arguments)...);
    const auto destroy = qScopeGuard([&global] {
        delete global;
        global = nullptr;
    });
    prepare(*global);
    global->exec();
}

template <typename Dialog, typename... Arguments>
void showModalOnce(Dialog*& global, Arguments&&... arguments) {
    showModalOncePrepared<Dialog>(
        global, [](Dialog&) {}, std::forward<Arguments>(arguments)...);
}
