#pragma once

namespace sandbox {

// Host task types that the sandbox host runs itself.
inline constexpr int kTaskLeaveVehicle = 704;
inline constexpr int kTaskPursuitInVehicle = 1101;
inline constexpr int kTaskPursuitOnFoot = 1103;
inline constexpr int kTaskPursuitArrest = 1105;
inline constexpr int kPursuitTasks[] = {kTaskPursuitInVehicle, kTaskPursuitOnFoot, kTaskPursuitArrest};

}  // namespace sandbox
