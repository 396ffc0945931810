#pragma once

#include <functional>

class Connection;
class WindowWork;

// Opens `connection` with its settings, making the session on a worker thread as `work`;
// nothing while other work runs. `done` hears true once the connection is open and false
// after a failure; a cancelled attempt is a failure that `done` does not hear of. Either way
// the connection stays closed unless the attempt succeeded.
void connectInBackground(WindowWork& work, Connection& connection, std::function<void(bool)> done);
