#include "gui/common/ApplicationTitle.h"

namespace orvel {

QString ApplicationTitle() { return QStringLiteral("Orvelsimホール"); }

}  // namespace orvel
