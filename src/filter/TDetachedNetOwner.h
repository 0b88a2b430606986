#pragma once
// The owner of a network that no filter project holds: a network calculated on its own
// (a benchmark, a fuzz run, a test) reads its settings from its own context, answers to
// a headless host, and counts the edits that would make a project save and recalculate.

#include "filter/TNetOwner.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <initializer_list>
#include <string>

class TDetachedNetOwner : public TNetOwner {
public:
    explicit TDetachedNetOwner(const std::string& folder = "./") : context(folder) {}
    THost& Host() override { return host; }
    const TProgramContext& Context() const override { return context; }
    void MarkChanged() override { ++changed; }
    void Recalculate() override { ++recalculated; }
    int FileVersion() const override { return version; }

    const TFilterGrid& Grid() const { return context.General().FilterGrid(); }
    TGeneral& General() { return context.General(); }
    // Surface rays besides the on-axis one (the settings keep them in descending order).
    void AddRays(std::initializer_list<int> angles)
    {
        for (int a : angles)
            General().AddSurfaceRay(a);
    }

    TProgramContext context; // on axis only until rays are added
    THeadlessHost host;
    int version = 410;
    int changed = 0;
    int recalculated = 0;
};
