#pragma once

#include <QIcon>

namespace app {

// The program's icon at every size it is drawn in (16 to 256 pixels).
QIcon programIcon();

} // namespace app
