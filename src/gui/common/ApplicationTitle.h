#pragma once

#include <QString>

namespace orvel {

// The application's title: the hall window's caption, the application name
// and the caption of the error box.
QString ApplicationTitle();

}  // namespace orvel
