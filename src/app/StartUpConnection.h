#pragma once

#include <functional>

class Connection;
class QWidget;
class WindowWork;

// The connection the program makes as it starts, from the stored values as read (not trimmed):
// the password asked for over `window` when it is not stored, the log-in made as `work`, and
// `done` told whether it connected. A store that cannot be read, no stored log-in, a password
// not given or a failed log-in are each said over `window`.
void connectAtStart(QWidget& window, WindowWork& work, Connection& connection,
                    const std::function<void(bool connected)>& done);
