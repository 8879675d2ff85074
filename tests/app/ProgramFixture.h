#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/ScratchFolder.h"

// The program as another program starts it: without a display, with a home folder of its own
// whose Documents holds an armed AutoFile folder.
class ProgramTest : public ::testing::Test {
  protected:
    struct Finished {
        int status;
        std::string stderrText;
    };

    ProgramTest();

    std::filesystem::path Product() const { return home / "Documents" / "Merrow" / "TallowKit"; }
    std::filesystem::path AutoFile() const { return Product() / "AutoFile"; }
    std::filesystem::path Input() const { return AutoFile() / "Radix10Kan.tbin"; }
    std::filesystem::path Result() const { return Product() / "Result" / "Radix2Result.tbin"; }

    struct Launch {
        // With a file size limit, every write beyond it fails as on a full disk, whoever runs
        // the test.
        std::optional<long> fileSizeLimit = {};
        std::vector<std::string> arguments = {};
        std::vector<std::string> environment = {};
    };

    // Runs the program to its end.
    Finished RunProgram(const Launch& launch) const;
    Finished RunProgram() const;

    ScratchFolder home;
};
