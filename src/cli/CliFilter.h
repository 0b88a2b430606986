#pragma once
// tonvek-cli for filter projects. The box commands (new, set, fields, report, curves,
// export, render, do) hand a filter file or a filter kind to these. Names of dialog
// fields and buttons carry the dialog's caption in front ("Bass network:Zobel:Calc",
// "Treble driver:SPL file"), so the same label in two networks is never ambiguous.

#include "TCliCommand.h"

#include <string>

// The filter kind of a `new` type name ("simple2", "simple3"), or -1.
int CliFilterKindOf(const std::string& typeName);
// Whether a project file holds a filter project (any filter type code).
bool CliIsFilterFile(const std::string& name);

int RunFilterNew(TProgramContext& context, int kind, const TCliArgs& args);
int RunFilterSet(TProgramContext& context, const TCliArgs& args);
int RunFilterFields(TProgramContext& context, const TCliArgs& args);
int RunFilterDo(TProgramContext& context, const TCliArgs& args);
int RunFilterReport(TProgramContext& context, const TCliArgs& args);
int RunFilterCurves(TProgramContext& context, const TCliArgs& args);
// optimize PROJECT.flt --net N [--steps N | --until-stable] [--seed S]: the network's
// optimiser run as the dialog runs it, one line per sweep, then the project saved.
int RunFilterOptimize(TProgramContext& context, const TCliArgs& args);
// export PROJECT.flt --kind spl|impedance|groupdelay|SECTION-spl|gain|... -o FILE
int RunFilterExport(TProgramContext& context, const TCliArgs& args);
