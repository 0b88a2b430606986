#pragma once
// The port non-linearity switch ("Sim. port nonlinearity"). There is one per open
// project: every port of the project reads it, resetting any port clears it, and every
// port record carries it, so the last port read from a file decides it. The project
// owns it and hands it to each of its ports.

struct TPortNonLinearity {
    bool on = false;
};
