#pragma once
// Every benchmark prints, besides its own report, one line per figure:
//   BENCH <tab> figure <tab> value <tab> unit <tab> target
// The target is "<=16", "<300", ">=2" or "-" for a figure that has none.
// `make bench` (scripts/bench.sh) runs every program under bench/ and gathers
// these lines into one table.

#include <cstdio>
#include <string>

inline void BenchFigure(const std::string &figure, double value, const char *unit, const char *target = "-")
{
    std::printf("BENCH\t%s\t%.4g\t%s\t%s\n", figure.c_str(), value, unit, target);
    std::fflush(stdout);
}
