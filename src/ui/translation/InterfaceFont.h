#pragma once

#include <QString>

// The font face all windows use for their texts: the desktop's general interface font.
// Chosen once, on first use.
QString InterfaceFontName();
