// The headers whose numbers the end-to-end tests use: the program's and the installer's resource
// ids, and the Windows key codes, messages, show commands and common dialog controls. The build
// turns their macros into vexar_ids.py (testing/e2e/make_ids.py).
#pragma once

#include <windows.h>

#include <dlgs.h>

#include "resources/installer_ids.h"
#include "resources/resource.h"
