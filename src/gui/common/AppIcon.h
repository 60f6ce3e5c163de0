#pragma once

#include <QIcon>

namespace orvel {

// The program's icon, from the resources.
QIcon AppIcon();

}  // namespace orvel
