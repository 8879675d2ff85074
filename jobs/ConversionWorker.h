#pragma once

class CTallowDlg;

// The file run on the worker thread: converts g_fileText, reports progress on the dialog, and
// sends WM_CONVERT_DONE to it at the end of every run. Always returns 0.
unsigned ConvertThreadProc(CTallowDlg& dialog);
