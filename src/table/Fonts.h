#pragma once

#include <QFont>

// "宋体" (SimSun) is a Windows font: ask for it by name, then fall back to an installed CJK
// family, so that every Chinese caption renders.
QFont songTi(int pixelSize, bool bold = false);

// The dialogs' Western window font, "MS Sans Serif", with the same CJK fallbacks.
QFont msSansSerif(int pixelSize);
