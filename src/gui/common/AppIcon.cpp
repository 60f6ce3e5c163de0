#include "gui/common/AppIcon.h"

namespace orvel {

QIcon AppIcon() { return QIcon(QStringLiteral(":/orvelsim/orvelsim.svg")); }

}  // namespace orvel
