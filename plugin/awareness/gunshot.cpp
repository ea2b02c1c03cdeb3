#include "awareness/gunshot.h"

void GunshotCheck(std::uint32_t) {}
void UpdateDisguise() {}
void ResetDisguise() {}
bool Disguised() { return false; }
void RecogniseVehicle() {}
