#pragma once

// `orvelsim-cli study …`: many days of one hall on every core. argv[0] is
// "study". Returns the exit status: 0, 2 for bad input, 128 + the signal
// after SIGINT or SIGTERM (the days finished so far reported as partial).
// Throws what main reports: UsageError, WriteError, std::bad_alloc.
namespace orvel::cli {

int RunStudyCommand(int argc, char** argv);

}  // namespace orvel::cli
