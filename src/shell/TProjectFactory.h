#pragma once
// Creates the project object for a type code. Codes whose project is not built yet
// give nothing, so the shell treats them like unknown codes.

#include <functional>
#include <map>
#include <memory>

class THost;
class TProgramContext;
class TProject;

class TProjectFactory {
public:
    using Maker = std::function<std::unique_ptr<TProject>(THost& host, TProgramContext& context)>;

    // The factory of the program, with every project type built so far.
    static TProjectFactory Standard();

    void Register(int typeCode, Maker maker) { makers_[typeCode] = std::move(maker); }
    bool Knows(int typeCode) const { return makers_.count(typeCode) != 0; }
    std::unique_ptr<TProject> Create(int typeCode, THost& host, TProgramContext& context) const;

private:
    std::map<int, Maker> makers_;
};
