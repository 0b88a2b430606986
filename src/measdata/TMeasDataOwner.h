#pragma once
// What a measured curve needs from the network that owns it: the host for its file
// chooser and messages, the filter grid of the general settings, and a way to say that
// the project changed and must be calculated again.

class THost;
class TFilterGrid;

class TMeasDataOwner {
public:
    virtual ~TMeasDataOwner() = default;
    virtual THost& Host() = 0;
    virtual const TFilterGrid& FilterGrid() const = 0;
    virtual void MarkChanged() = 0;
    virtual void Recalculate() = 0;
};
