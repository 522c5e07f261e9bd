// System colours of the panel file's negative colour values, from Windows.
#include <windows.h>

#include "panels/panel_file.h"

namespace qv::panels {

uint32_t WindowsSysColor(int index) { return static_cast<uint32_t>(GetSysColor(index)); }

}  // namespace qv::panels
