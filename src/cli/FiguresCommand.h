#pragma once

#include <ostream>

namespace orvel::cli {

// orvelsim-cli figures [--level L] [--format table|csv|json]: the machine's
// exact long-run figures (解析値) for settings 1 … 6, or for L alone,
// computed from its tables. argv[0] is "figures". Returns the exit status
// (0, also after --help); a refused option throws UsageError.
int RunFiguresCommand(int argc, const char* const* argv, std::ostream& out);

}  // namespace orvel::cli
