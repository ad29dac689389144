// The old name of the support library's temporary folder, kept for test
// folders that have not moved to "support/TestSupport.h" yet.
#pragma once

#include "support/TestSupport.h"

using TempDir = TestSupport::TempDir;
