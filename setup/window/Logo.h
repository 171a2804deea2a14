#pragma once
// The GIS product's logo, drawn rather than shipped as a picture file.

#include <QPixmap>

namespace setup {

QPixmap CartelixLogo(int size);

}  // namespace setup
