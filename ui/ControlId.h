#pragma once

// The dialog's controls, numbered as the dialog template numbers them.
enum class ControlId : int {
    Exit = 1,
    About = 1000,
    AutoRun = 1001,
    ShowMessages = 1002,
    Decimal = 1003,
    Binary = 1004,
    Convert = 1005,
    BrowseFile = 1006,
    LoadFile = 1007,
    ConvertFile = 1008,
    Cancel = 1009,
    Save = 1010,
    ProgressText = 1011,
    Progress = 1012,
    FileContents = 1013,
    Result = 1014,
    FirstLink = 1015,
    SecondLink = 1016,
    Pause = 1017,
    ModulePath = 1018,
};
