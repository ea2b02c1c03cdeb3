#pragma once

namespace plugin {

/// Full file name of this module as the loader knows it. False, with `fileName` empty, when the
/// module cannot be found or its name does not fit in `size` characters with its terminator.
bool GetOwnModuleFileName(char* fileName, unsigned long size);

}  // namespace plugin
