#pragma once

#include <QString>

// Where the help menu and the version box lead.
namespace orvel::links {

inline QString HomePage() { return QStringLiteral("https://orvelsim.example.com/"); }
inline QString AdPage() { return QStringLiteral("https://orvelsim.example.com/ad.html"); }
inline QString Mail() { return QStringLiteral("mailto:orvelsim@example.com"); }

// Files looked for beside the executable.
inline QString ManualFile() { return QStringLiteral("orvel_hall.html"); }
inline QString ToolbarInstaller() { return QStringLiteral("jwv_for_PZ481902.exe"); }

}  // namespace orvel::links
