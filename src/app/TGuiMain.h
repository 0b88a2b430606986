#pragma once
// The desktop program behind one call, so main() stays thin.

int RunGui(int argc, char** argv);
