// TempDir and loadElementText are inline in the header; this file stays for
// the suites that list it among their sources.
#include "support/element_file.h"
