#pragma once
// The general settings that filter projects share. One object lives as long as the
// program (TProgramContext owns it). So far it holds the fixed analysis grid; the
// display range, the transform tables, the ray list and the diagram scaling join it
// with the filter projects that use them.

#include "settings/TFilterGrid.h"

class TGeneral {
public:
    const TFilterGrid& FilterGrid() const { return filterGrid_; }

private:
    TFilterGrid filterGrid_;
};
