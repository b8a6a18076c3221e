// The host's UCS command.
#pragma once

namespace khost {

// Registers the command UCS (group ACAD_MAIN) when the command stack lacks it:
//   Specify origin of UCS or [Z/World/Save/Restore/Delete] <World>:
// A point moves the origin (then an optional point on the new X axis turns the axes), Z turns
// the axes about the Z axis by an angle in degrees, World goes back to the WCS, Save stores the
// current UCS under a name in the UCS table (replacing one of that name) and makes it the
// named current UCS, Restore makes a stored one current, Delete removes one. Every change but
// Save and Restore leaves the current UCS unnamed.
void registerUcsCommand();
// The command's body (for hosts that register it under other names).
void cmdUcs();

} // namespace khost
