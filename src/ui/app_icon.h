#pragma once
// The program's icon, drawn at every size it is asked for, so it stays crisp at any scale without
// an image plugin.
#include <QIcon>

namespace qx {

QIcon appIcon();

}  // namespace qx
