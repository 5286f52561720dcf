// runCli and shellQuoted are inline in the header; this file stays for the
// suites that list it among their sources.
#include "support/run_program.h"
