#pragma once
// The largest picture the program handles: each side is held as a 16-bit value in the
// project file and the undo records.

constexpr int MaxPictureSide = 65535;
