#pragma once

namespace plugin {

/// Full file name of this module as the loader knows it ("" when it cannot be found).
void GetOwnModuleFileName(char* fileName, unsigned long size);

}  // namespace plugin
