#pragma once
// The two logos of the window, drawn here so the program carries no artwork files.

#include <QPixmap>

namespace zovlt {

QPixmap MakerLogo();   // Zovaria
QPixmap AgencyLogo();  // Agência Planurbe

}  // namespace zovlt
