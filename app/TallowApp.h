#pragma once

// The application: prepares the window and runs the dialog modally on the main thread; the
// process ends when the dialog closes.
class CTallowApp {
  public:
    // Whether the process has a display to show windows on.
    explicit CTallowApp(bool hasDisplay) : m_hasDisplay(hasDisplay) {}

    // Runs the dialog; returns the process's exit status: the automatic run's outcome, 0 for an
    // interactive session, 1 when the window cannot be shown.
    int InitInstance();

  private:
    bool m_hasDisplay;
};
