#include "app/AutomaticRunEnd.h"

#include <cstdio>

int ReportAutomaticRun(std::optional<ConversionOutcome> outcome) {
    std::fprintf(stderr, "Tallow: automatic run: %s\n",
                 outcome ? Describe(*outcome).data() : "ended before its outcome was known");
    std::fflush(stderr);
    return ExitStatus(outcome);
}
