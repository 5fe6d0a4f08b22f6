#pragma once

namespace common {

// The cancel button of a run's progress dialog: after the user confirms, the
// run is marked cancelled and the running steps stop at their next test.
void ConfirmCancel();

// The emergency stop: after the user confirms, mark the cancel, give running
// steps and children time to see it, reset the run environment and end.
void ConfirmEmergencyStop();

}  // namespace common
