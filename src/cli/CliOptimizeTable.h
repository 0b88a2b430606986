#pragma once
// tonvek-cli optimize with a table or the quick rule: the box dialog's "By table
// lookup..." and "Quick box", run through the same dialogs a user clicks.

#include "TCliCommand.h"

// optimize PROJECT.box --table [NAME] [--box-q 3|7|15] [--ripple R]: NAME is a choice
// of the table dialog (closed box, bass reflex, bandpass type 1) without "&", or a
// unique leading part of one ("0.707", "SBB4 / BB4", "+2dB"); the types whose table
// lookup has no dialog (passive radiator, bandpass types 3 and 4) take no NAME.
int RunOptimizeTable(TProgramContext& context, const TCliArgs& args);
// optimize PROJECT.box --quick: the box dialog's "Quick box" of any type.
int RunOptimizeQuick(TProgramContext& context, const TCliArgs& args);
