#include "TGuiMain.h"

int main(int argc, char** argv) { return RunGui(argc, argv); }
