// The program entry, the part that does not depend on the system it runs on.
#pragma once

// Creates the four windows and runs the message loop, keeping the run's log; answers the process's exit
// code.
int CvfirMain();
