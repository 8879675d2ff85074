#pragma once

// The application: prepares the window and runs the dialog modally on the main thread; the
// process ends when the dialog closes.
class CTallowApp {
  public:
    // Runs the dialog; returns the process's exit status.
    int InitInstance();
};
