#pragma once

#include <QPixmap>

// The pictures of the product's windows, kept as Qt resources in the program:
// ImageHVLogoSmall (49 x 40 PNG with transparency, the banner glyph) and
// ImageLogoLine (750 x 50 JPEG, the header strip). Loaded on first use.
QPixmap LogoSmallPicture();
QPixmap LogoLinePicture();
