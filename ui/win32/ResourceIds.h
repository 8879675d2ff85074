#pragma once

// Numbers shared by the resource script and the code. The controls keep the numbers of ControlId.
#define IDD_TALLOW_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 129
// The browse button that the path field gets when the window is created.
#define IDC_BROWSE_BUTTON 1100
// Texts that the code never addresses.
#define IDC_STATIC -1
