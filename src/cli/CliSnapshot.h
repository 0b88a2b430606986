#pragma once
// The snapshot window on the command line: `curves PROJECT --snapshot` prints its slots.

class TSnapshot;

// The window's range and caption, then every slot with data: its header line (number,
// label, offset, shown or hidden, point count) and its points.
int PrintSnapshot(const TSnapshot& window);
