#pragma once

// What the windows' program keeps of the memory it used, for a day of windows opened and
// closed: freed memory goes back to the system, and the style's cache of drawings stays small.
void limitMemoryHeldAllDay();
