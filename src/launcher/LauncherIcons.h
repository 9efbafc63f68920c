#pragma once

#include <QIcon>

namespace tolvane {

// The launcher's 48 x 48 pictures, drawn by the program itself so that it needs no image files beside it.
enum class LauncherIcon { New, Open, Card, Dat, Close, Window };
QIcon launcherIcon(LauncherIcon which);

} // namespace tolvane
