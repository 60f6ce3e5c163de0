#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "core/analysis/SettingEstimate.h"

namespace orvel::cli {

// orvelsim-cli estimate LOG.csv [--format table|csv|json]: the posterior of
// the settings (設定判別) for one seat's play log as --log-dir writes it.
// argv[0] is "estimate". Returns the exit status (0, also after --help); a
// refused option or a bad file throws UsageError naming the row.
int RunEstimateCommand(int argc, const char* const* argv, std::ostream& out);

// The tallies of a play-log CSV: a header naming at least the columns
// medal, chainCount, bbKind and lastKoyaku (in any order, others ignored),
// then one row of integers per game. Throws UsageError for a file without
// rows, a missing column, a row with another number of fields, a field
// that is no integer, a bbKind outside 0 … 2, a negative chainCount or an
// ordinary row's lastKoyaku outside 0 … 9. `name` is the file as the
// messages call it.
SettingTally ReadPlayLogTally(std::istream& in, const std::string& name);

}  // namespace orvel::cli
