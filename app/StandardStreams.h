#pragma once

// Makes the exit status independent of standard error: a write to a pipe nobody reads fails
// instead of ending the process, and a closed standard descriptor is taken by /dev/null, so that
// no file the run opens gets its number and receives the log line. Call first in main.
void KeepStatusApartFromStandardStreams();
