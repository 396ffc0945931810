#pragma once

// A first start without a stored connection makes the demo database under the user's data
// folder (~/.local/share/stockquery, %LOCALAPPDATA%\stockquery) and stores its connection, so
// that the program starts on it; where that fails, the start-up says it cannot connect.
void prepareDemoOnFirstStart();
