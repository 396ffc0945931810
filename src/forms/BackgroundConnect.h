#pragma once

#include "settings/ConnectionSettings.h"

#include <functional>

class Connection;
class WindowWork;

// Opens `connection` with `settings`, making the session on a worker thread as `work`;
// nothing while other work runs. `done` hears true once the connection is open with them and
// false after a failure, which leaves it closed with them. A cancelled attempt is one that
// `done` does not hear of and that changes nothing: the connection stays as it was, open on
// its old settings if it was.
void connectInBackground(WindowWork& work, Connection& connection, ConnectionSettings settings,
                         std::function<void(bool)> done);
