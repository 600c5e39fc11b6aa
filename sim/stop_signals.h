#pragma once

// SIGINT, SIGTERM and SIGHUP become readable bytes on the returned descriptor, so the event loop
// can end in order and remove the simulator's files. SIGPIPE is ignored. -1 on failure.
int stopSignalFd();
