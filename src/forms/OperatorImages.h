#pragma once

#include <QIcon>

// The toolbar pictures of the image list `operatorimage`, by index: 1 a form with a red arrow
// pointing out of it, 4 a door with an arrow pointing into it, 6 a form with a pencil,
// 10 binoculars, 12 a printer, 13 a bar chart, 30 two people, and of our own 40 an information
// sign and 41 a question mark. The list's other places are unused and give no picture.
QIcon operatorImage(int index);
