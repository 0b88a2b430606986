#pragma once
// What a measured curve needs from the network that owns it: the host for its file
// chooser and messages, the program's context (the filter grid of the general
// settings, the program folder), and a way to say that the project changed and must be
// calculated again.

class THost;
class TProgramContext;

class TMeasDataOwner {
public:
    virtual ~TMeasDataOwner() = default;
    virtual THost& Host() = 0;
    virtual const TProgramContext& Context() const = 0;
    virtual void MarkChanged() = 0;
    virtual void Recalculate() = 0;
};
