// The find mode of vexa-batch: searches a folder tree and prints the matching lines.
#pragma once

namespace vexa::app {

// Runs `vexa-batch --find PATTERN [--regex] [--case] [--word] [--include GLOB]... [DIR]` (argv[1]
// is "--find"). Standard output gets only the result lines; the header, the summary and what was
// skipped go to standard error. Gives the exit status: 0 with matches, 1 with none, 2 for bad
// arguments or a folder that cannot be read.
int runBatchFind(int argc, char* argv[]);

} // namespace vexa::app
