#include "awareness/gunshot.h"

void GunshotCheck(std::uint32_t) {}
void UpdateDisguise() {}
void ResetDisguise() {}
