#pragma once
// Whether the program runs with an administrator's full rights, which its manifest asks for.
// What it makes and starts then must give nothing away to the programs that the same user
// runs without them.
namespace platform::win32 {

// The process token's elevation.
bool RunsElevated();

}  // namespace platform::win32
